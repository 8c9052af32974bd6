#pragma once
// The login browser: a resizable dialog around the system's web-browser control in which the
// user logs in to a site through its web form. The caller sets the start address, runs DoModal
// and, on IDOK, reads the address and the cookie string of the page then shown (see WebLogin.h
// for the step before a task starts).
#include <exdisp.h>
#include <string>
#include "framework/ComPtr.h"
#include "framework/DialogImpl.h"
#include "framework/DialogResize.h"
#include "framework/DispEventSink.h"
#include "framework/ImageList.h"
#include "framework/ToolBarCtrl.h"
#include "resources/command_ids.h"
#include "resources/webbrowser_ids.h"

class WebBrowser : public CDialogImpl<WebBrowser>, private IDispEventHandler {
public:
    enum { IDD = IDD_WEB_BROWSER };

    WebBrowser() = default;
    ~WebBrowser() override;

    // Where the browser opens, in the thread's ANSI code page; "" opens the browser's home page.
    void SetAddress(const std::string& address);
    // After IDOK: the page's address, and its cookie string ("" when it has none).
    std::string GetAddress() const;
    std::string GetCookie() const;

    BEGIN_MSG_MAP(WebBrowser)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        NOTIFY_CODE_HANDLER(TTN_GETDISPINFOA, OnToolTipText)
        NOTIFY_CODE_HANDLER(TTN_GETDISPINFOW, OnToolTipText)
        COMMAND_ID_HANDLER(IDOK, OnOk)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        COMMAND_ID_HANDLER(ID_BROWSER_BACK, OnBrowserCommand)
        COMMAND_ID_HANDLER(ID_BROWSER_FORWARD, OnBrowserCommand)
        COMMAND_ID_HANDLER(ID_BROWSER_STOP, OnBrowserCommand)
        COMMAND_ID_HANDLER(ID_BROWSER_REFRESH, OnBrowserCommand)
        COMMAND_ID_HANDLER(ID_BROWSER_GO, OnGo)
        CHAIN_MSG_MAP_MEMBER(resize_)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnToolTipText(int, LPNMHDR header, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnBrowserCommand(WORD, WORD command, HWND, BOOL&);
    LRESULT OnGo(WORD, WORD, HWND, BOOL&);

    void CreateToolBars();
    void ConnectBrowser();
    void SetUpResizing();
    void NavigateTo(const std::wstring& address);
    void NavigateToTypedAddress();
    void ReadDocument();
    void ReleaseBrowser();
    void Close(int result);

    // Browser events.
    void OnDispEvent(DISPID event, DISPPARAMS* params) override;
    void OnBeforeNavigate2(DISPPARAMS* params);
    void OnCommandStateChange(DISPPARAMS* params);

    std::wstring address_;
    std::wstring cookie_;
    CComPtr<IUnknown> control_;
    CComPtr<IWebBrowser2> browser_;
    CDispEventSink* events_ = nullptr;
    CToolBarCtrl navigationBar_;
    CToolBarCtrl goBar_;
    ImageList navigationImages_;
    ImageList goImages_;
    CDialogResize resize_;
};
