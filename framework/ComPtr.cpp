#include "framework/ComPtr.h"

bool IsSameComObject(IUnknown* a, IUnknown* b) {
    if (!a || !b) return false;
    CComPtr<IUnknown> identityA;
    CComPtr<IUnknown> identityB;
    if (!identityA.QueryFrom(a) || !identityB.QueryFrom(b)) return false;
    return identityA.Get() == identityB.Get();
}
