#include "plugin/ButtonClassFactory.h"
#include "plugin/BkfIEButton.h"
#include "plugin/PluginModule.h"

#include <new>

STDMETHODIMP ButtonClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ButtonClassFactory::AddRef() {
    plugin::LockModule();
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

STDMETHODIMP_(ULONG) ButtonClassFactory::Release() {
    // A release nobody added a reference for changes nothing.
    const LONG left = plugin::DecrementDownToZero(m_refs);
    if (left < 0) return 0;
    plugin::UnlockModule();
    return static_cast<ULONG>(left);
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
        plugin::LockServer();
    else
        plugin::UnlockServer();
    return S_OK;
}
