#pragma once
// The container side of one ActiveX control embedded in a host window: the client site, the
// in-place site and the frame the control asks for while it is activated in place. Owned by the
// host window (see AxHostWindow.h); the control holds references of its own while it runs.
#include <windows.h>
#include <ole2.h>
#include <oleidl.h>
#include "framework/ComPtr.h"

class CAxHostSite : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
public:
    // One reference, the caller's.
    explicit CAxHostSite(HWND host) : host_(host) {}
    CAxHostSite(const CAxHostSite&) = delete;
    CAxHostSite& operator=(const CAxHostSite&) = delete;

    // Makes the control of the class named by classText ("{clsid}" or a ProgID), gives it this
    // site and activates it in place over the host's client area.
    HRESULT CreateControl(const wchar_t* classText);
    // The control's IUnknown (no reference added); null when none could be made.
    IUnknown* GetControl() const { return control_.Get(); }
    // Fits the active control to the host's client area.
    void FitToHost();
    // Gives the keyboard focus to the control's own window, when it has one.
    bool FocusControl();
    // Deactivates and closes the control and lets it go; the site can then be released.
    void CloseControl();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    STDMETHODIMP GetContainer(IOleContainer** container) override;
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (of both the in-place site and the frame)
    STDMETHODIMP GetWindow(HWND* window) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override { return S_OK; }
    STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
    STDMETHODIMP OnPosRectChange(LPCRECT position) override;

    // IOleInPlaceUIWindow: the host offers no tool space of its own.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override;

    // IOleInPlaceFrame: no menus to merge, no status bar, no accelerators.
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    virtual ~CAxHostSite() = default;
    RECT HostClientRect() const;

    HWND host_;
    LONG refs_ = 1;
    CComPtr<IUnknown> control_;
    CComPtr<IOleObject> oleObject_;
    CComPtr<IOleInPlaceObject> inPlace_;
    CComPtr<IOleInPlaceActiveObject> active_;
};
