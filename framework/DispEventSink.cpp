#include "framework/DispEventSink.h"

HRESULT CDispEventSink::Connect(IUnknown* source) {
    if (IsConnected()) return E_UNEXPECTED;
    CComPtr<IConnectionPointContainer> container;
    if (!container.QueryFrom(source)) return E_NOINTERFACE;
    CComPtr<IConnectionPoint> point;
    HRESULT hr = container->FindConnectionPoint(events_, point.Receive());
    if (FAILED(hr) || !point) return FAILED(hr) ? hr : E_FAIL;
    DWORD cookie = 0;
    hr = point->Advise(static_cast<IDispatch*>(this), &cookie);
    if (FAILED(hr)) return hr;
    point_ = point;
    cookie_ = cookie;
    return S_OK;
}

void CDispEventSink::Disconnect() {
    handler_ = nullptr;
    if (point_) {
        CComPtr<IConnectionPoint> point = point_;
        point_.Release();
        const DWORD cookie = cookie_;
        cookie_ = 0;
        point->Unadvise(cookie);
    }
}

STDMETHODIMP CDispEventSink::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == events_) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CDispEventSink::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) CDispEventSink::Release() {
    const LONG left = ::InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP CDispEventSink::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP CDispEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CDispEventSink::Invoke(DISPID event, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result,
                                    EXCEPINFO*, UINT*) {
    if (result) ::VariantInit(result);
    if (!handler_) return S_OK;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    // A handler may disconnect the sink (and end the dialog) while it runs.
    AddRef();
    handler_->OnDispEvent(event, params ? params : &none);
    Release();
    return S_OK;
}
