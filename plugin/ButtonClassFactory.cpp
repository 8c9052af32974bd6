#include "plugin/ButtonClassFactory.h"
#include "plugin/BkfIEButton.h"
#include "plugin/PluginModule.h"

#include <new>

STDMETHODIMP ButtonClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ButtonClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    BkfIEButton* button = new (std::nothrow) BkfIEButton();
    if (!button) return E_OUTOFMEMORY;
    // The new object starts at no references: a failed QueryInterface leaves it to us to delete.
    button->AddRef();
    const HRESULT hr = button->QueryInterface(iid, object);
    button->Release();
    return hr;
}

STDMETHODIMP ButtonClassFactory::LockServer(BOOL lock) {
    if (lock)
        plugin::LockModule();
    else
        plugin::UnlockModule();
    return S_OK;
}
