#include "dialogs/webbrowser/WebBrowser.h"
#include <exdispid.h>
#include <mshtml.h>
#include "core/InternationalSupport.h"
#include "core/WindowRoutines.h"
#include "framework/AppModule.h"
#include "framework/AxHostWindow.h"
#include "framework/DispParams.h"
#include "framework/ImageListStrip.h"
#include "framework/WideText.h"

namespace {
const int kImageSize = 20;
const size_t kAddressChars = 1023;
const size_t kToolTipChars = 79;

// A toolbar of the commands over the dialog's placeholder.
ToolBarArgs BarOver(HWND dialog, int id, int placeholderId, HIMAGELIST images, std::vector<int> commands) {
    ToolBarArgs bar;
    bar.parent = dialog;
    bar.style = WS_CLIPSIBLINGS;
    bar.id = id;
    bar.place = PlaceOfChild(dialog, placeholderId);
    bar.images = images;
    bar.commands = std::move(commands);
    return bar;
}

// The tooltip of a toolbar command: what follows the line feed of the command's own string
// (the program's built-in text), or the whole string when it has none.
std::string ToolTipOf(UINT command) {
    char text[256] = {};
    if (::LoadStringA(g_Module.GetModuleInstance(), command, text, sizeof(text)) <= 0) return std::string();
    std::string tip = text;
    const size_t lineFeed = tip.find('\n');
    if (lineFeed != std::string::npos) tip.erase(0, lineFeed + 1);
    if (tip.size() > kToolTipChars) tip.resize(kToolTipChars);
    return tip;
}

std::wstring TakeBstr(BSTR text) {
    std::wstring value(text ? text : L"", text ? ::SysStringLen(text) : 0);
    ::SysFreeString(text);
    return value;
}
}  // namespace

WebBrowser::~WebBrowser() { ReleaseBrowser(); }

void WebBrowser::SetAddress(const std::string& address) { address_ = AnsiToWide(address); }

std::string WebBrowser::GetAddress() const { return WideToAnsi(address_); }

std::string WebBrowser::GetCookie() const { return WideToAnsi(cookie_); }

LRESULT WebBrowser::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    g_InternationalSupport.TranslateWindow(IDD, m_hWnd);
    cookie_.clear();
    CreateToolBars();
    ConnectBrowser();
    if (browser_) {
        if (address_.empty())
            browser_->GoHome();
        else
            NavigateTo(address_);
    }
    SetUpResizing();
    CenterWindowOver(m_hWnd, ::GetWindow(m_hWnd, GW_OWNER));
    return TRUE;
}

void WebBrowser::CreateToolBars() {
    navigationImages_ = LoadImageListStrip(IDB_WEB_NAV, kImageSize, kImageSize);
    goImages_ = LoadImageListStrip(IDB_WEB_GO, kImageSize, kImageSize);
    navigationBar_.Create(BarOver(m_hWnd, IDR_WEB_NAV_TOOLBAR, IDC_WEB_NAV_PLACE, navigationImages_.Get(),
                                  {ID_BROWSER_BACK, ID_BROWSER_FORWARD, ID_BROWSER_STOP, ID_BROWSER_REFRESH}));
    goBar_.Create(BarOver(m_hWnd, IDR_WEB_GO_TOOLBAR, IDC_WEB_GO_PLACE, goImages_.Get(), {ID_BROWSER_GO}));
    // Nothing to go back or forward to until the browser says so.
    navigationBar_.EnableButton(ID_BROWSER_BACK, false);
    navigationBar_.EnableButton(ID_BROWSER_FORWARD, false);
}

void WebBrowser::ConnectBrowser() {
    if (FAILED(AxGetControl(GetDlgItem(IDC_WEB_BROWSER), control_.Receive())) || !browser_.QueryFrom(control_.Get())) {
        control_.Release();
        return;
    }
    events_ = new CDispEventSink(DIID_DWebBrowserEvents2, this);
    events_->Connect(control_.Get());
}

void WebBrowser::SetUpResizing() {
    resize_.Init(m_hWnd, {
                             {IDC_WEB_ADDRESS, kResizeSizeX},
                             {IDR_WEB_GO_TOOLBAR, kResizeMoveX},
                             {IDC_WEB_BROWSER, kResizeSizeX | kResizeSizeY},
                             {IDC_WEB_SEPARATOR, kResizeSizeX | kResizeMoveY},
                             {IDOK, kResizeMoveX | kResizeMoveY},
                             {IDCANCEL, kResizeMoveX | kResizeMoveY},
                         });
}

LRESULT WebBrowser::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    ReleaseBrowser();
    handled = FALSE;
    return 0;
}

LRESULT WebBrowser::OnToolTipText(int, LPNMHDR header, BOOL& handled) {
    const UINT_PTR command = header->idFrom;
    if (command != ID_BROWSER_BACK && command != ID_BROWSER_FORWARD && command != ID_BROWSER_STOP &&
        command != ID_BROWSER_REFRESH && command != ID_BROWSER_GO) {
        handled = FALSE;
        return 0;
    }
    const std::string tip = ToolTipOf(static_cast<UINT>(command));
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        lstrcpynA(info->szText, tip.c_str(), sizeof(info->szText));
        info->lpszText = info->szText;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        const std::wstring wide = AnsiToWide(tip);
        lstrcpynW(info->szText, wide.c_str(), sizeof(info->szText) / sizeof(info->szText[0]));
        info->lpszText = info->szText;
    }
    return 0;
}

LRESULT WebBrowser::OnOk(WORD, WORD, HWND, BOOL&) {
    // Enter in the address edit means "go there", not "done".
    if (::GetFocus() == GetDlgItem(IDC_WEB_ADDRESS)) {
        NavigateToTypedAddress();
        return 0;
    }
    ReadDocument();
    Close(IDOK);
    return 0;
}

LRESULT WebBrowser::OnCancel(WORD, WORD, HWND, BOOL&) {
    Close(IDCANCEL);
    return 0;
}

LRESULT WebBrowser::OnBrowserCommand(WORD, WORD command, HWND, BOOL&) {
    if (!browser_) return 0;
    switch (command) {
    case ID_BROWSER_BACK: browser_->GoBack(); break;
    case ID_BROWSER_FORWARD: browser_->GoForward(); break;
    case ID_BROWSER_STOP: browser_->Stop(); break;
    case ID_BROWSER_REFRESH: browser_->Refresh(); break;
    default: break;
    }
    return 0;
}

LRESULT WebBrowser::OnGo(WORD, WORD, HWND, BOOL&) {
    NavigateToTypedAddress();
    return 0;
}

void WebBrowser::NavigateToTypedAddress() {
    char typed[kAddressChars + 1] = {};
    ::GetDlgItemTextA(m_hWnd, IDC_WEB_ADDRESS, typed, sizeof(typed));
    address_ = AnsiToWide(typed);
    NavigateTo(address_);
}

void WebBrowser::NavigateTo(const std::wstring& address) {
    if (!browser_) return;
    BSTR url = ::SysAllocStringLen(address.data(), static_cast<UINT>(address.size()));
    if (!url) return;
    VARIANT none;
    ::VariantInit(&none);
    browser_->Navigate(url, &none, &none, &none, &none);
    ::SysFreeString(url);
}

void WebBrowser::ReadDocument() {
    if (!browser_) return;
    CComPtr<IDispatch> documentObject;
    // A browser that succeeds without a document (S_FALSE) has none.
    if (FAILED(browser_->get_Document(documentObject.Receive())) || !documentObject) return;
    CComPtr<IHTMLDocument2> document;
    if (!document.QueryFrom(documentObject.Get())) return;
    BSTR url = nullptr;
    if (SUCCEEDED(document->get_URL(&url)) && url)
        address_ = TakeBstr(url);
    else
        ::SysFreeString(url);
    BSTR cookie = nullptr;
    if (SUCCEEDED(document->get_cookie(&cookie)))
        cookie_ = TakeBstr(cookie);
    else
        ::SysFreeString(cookie);
}

void WebBrowser::ReleaseBrowser() {
    if (events_) {
        events_->Disconnect();
        events_->Release();
        events_ = nullptr;
    }
    browser_.Release();
    control_.Release();
}

void WebBrowser::Close(int result) {
    ReleaseBrowser();
    EndDialog(result);
}

void WebBrowser::OnDispEvent(DISPID event, DISPPARAMS* params) {
    if (event == DISPID_BEFORENAVIGATE2)
        OnBeforeNavigate2(params);
    else if (event == DISPID_COMMANDSTATECHANGE)
        OnCommandStateChange(params);
}

void WebBrowser::OnBeforeNavigate2(DISPPARAMS* params) {
    IUnknown* navigating = nullptr;
    std::wstring url;
    if (!DispArgObject(params, 0, navigating) || !DispArgString(params, 1, url)) return;
    // Frames inside the page navigate too; only the page itself changes the address.
    if (!IsSameComObject(navigating, control_.Get())) return;
    address_ = url;
    ::SetDlgItemTextA(m_hWnd, IDC_WEB_ADDRESS, WideToAnsi(address_).c_str());
}

void WebBrowser::OnCommandStateChange(DISPPARAMS* params) {
    long command = 0;
    bool enable = false;
    if (!DispArgLong(params, 0, command) || !DispArgBool(params, 1, enable)) return;
    if (command == CSC_NAVIGATEFORWARD)
        navigationBar_.EnableButton(ID_BROWSER_FORWARD, enable);
    else if (command == CSC_NAVIGATEBACK)
        navigationBar_.EnableButton(ID_BROWSER_BACK, enable);
}
