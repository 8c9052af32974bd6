#include "framework/AxHostSite.h"
#include <ocidl.h>

namespace {
HRESULT ClassFromText(const wchar_t* text, CLSID& clsid) {
    if (!text || !*text) return CO_E_CLASSSTRING;
    if (text[0] == L'{') return ::CLSIDFromString(const_cast<LPOLESTR>(text), &clsid);
    return ::CLSIDFromProgID(text, &clsid);
}
}  // namespace

HRESULT CAxHostSite::CreateControl(const wchar_t* classText) {
    CLSID clsid;
    HRESULT hr = ClassFromText(classText, clsid);
    if (FAILED(hr)) return hr;
    CComPtr<IUnknown> control;
    hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                            reinterpret_cast<void**>(control.Receive()));
    if (FAILED(hr) || !control) return FAILED(hr) ? hr : E_FAIL;
    if (!oleObject_.QueryFrom(control.Get())) return E_NOINTERFACE;
    control_ = control;

    // The site goes first: a control may ask for its ambient surroundings while it initialises.
    oleObject_->SetClientSite(this);
    CComPtr<IPersistStreamInit> persist;
    if (persist.QueryFrom(control_.Get())) persist->InitNew();
    RECT area = HostClientRect();
    hr = oleObject_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, host_, &area);
    if (FAILED(hr)) {
        CloseControl();
        return hr;
    }
    FitToHost();
    return S_OK;
}

void CAxHostSite::FitToHost() {
    if (!inPlace_) return;
    const RECT area = HostClientRect();
    inPlace_->SetObjectRects(&area, &area);
}

bool CAxHostSite::FocusControl() {
    HWND window = nullptr;
    if (active_ && SUCCEEDED(active_->GetWindow(&window)) && window) {
        ::SetFocus(window);
        return true;
    }
    if (oleObject_) {
        RECT area = HostClientRect();
        return SUCCEEDED(oleObject_->DoVerb(OLEIVERB_UIACTIVATE, nullptr, this, 0, host_, &area));
    }
    return false;
}

void CAxHostSite::CloseControl() {
    // Each step can call back into the site: keep our own references alive meanwhile.
    AddRef();
    if (inPlace_) {
        CComPtr<IOleInPlaceObject> inPlace = inPlace_;
        inPlace->InPlaceDeactivate();
    }
    if (oleObject_) {
        CComPtr<IOleObject> object = oleObject_;
        object->Close(OLECLOSE_NOSAVE);
        object->SetClientSite(nullptr);
    }
    active_.Release();
    inPlace_.Release();
    oleObject_.Release();
    control_.Release();
    Release();
}

RECT CAxHostSite::HostClientRect() const {
    RECT area = {};
    ::GetClientRect(host_, &area);
    return area;
}

STDMETHODIMP CAxHostSite::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *object = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
        *object = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
        *object = static_cast<IOleInPlaceFrame*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CAxHostSite::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) CAxHostSite::Release() {
    const LONG left = ::InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP CAxHostSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CAxHostSite::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CAxHostSite::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = host_;
    return S_OK;
}

STDMETHODIMP CAxHostSite::OnInPlaceActivate() {
    inPlace_.QueryFrom(control_.Get());
    return S_OK;
}

STDMETHODIMP CAxHostSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                           LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) {
    if (!frame || !document || !position || !clip || !frameInfo) return E_POINTER;
    *frame = this;
    AddRef();
    // The host is both the frame and the document window of its control.
    *document = nullptr;
    *position = HostClientRect();
    *clip = *position;
    frameInfo->fMDIApp = FALSE;
    frameInfo->hwndFrame = ::GetAncestor(host_, GA_ROOT);
    frameInfo->haccel = nullptr;
    frameInfo->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP CAxHostSite::OnInPlaceDeactivate() {
    active_.Release();
    inPlace_.Release();
    return S_OK;
}

STDMETHODIMP CAxHostSite::OnPosRectChange(LPCRECT position) {
    // The host decides the control's place: it keeps filling the host (fitted again on WM_SIZE;
    // fitting here could call the control back while it is still moving).
    return position ? S_OK : E_POINTER;
}

STDMETHODIMP CAxHostSite::SetBorderSpace(LPCBORDERWIDTHS widths) {
    if (!widths) return S_OK;
    return (widths->left || widths->top || widths->right || widths->bottom) ? INPLACE_E_NOTOOLSPACE : S_OK;
}

STDMETHODIMP CAxHostSite::SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) {
    active_ = CComPtr<IOleInPlaceActiveObject>(active);
    return S_OK;
}
