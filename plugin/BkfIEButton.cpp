#include "plugin/BkfIEButton.h"
#include "plugin/PageHandover.h"
#include "plugin/PluginModule.h"
#include "resources/plugin_handover.h"

#include <mshtml.h>
#include <servprov.h>
#include <shellapi.h>
#include <string>

namespace {

// SID_SWebBrowserApp: the service under which a browser site offers its IWebBrowser2.
const GUID kWebBrowserAppService = {0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

}  // namespace

BkfIEButton::BkfIEButton() { plugin::LockModule(); }

BkfIEButton::~BkfIEButton() {
    if (m_webBrowser) m_webBrowser->Release();
    plugin::UnlockModule();
}

STDMETHODIMP BkfIEButton::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleCommandTarget))
        *object = static_cast<IOleCommandTarget*>(this);
    else if (IsEqualIID(iid, IID_IObjectWithSite))
        *object = static_cast<IObjectWithSite*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) BkfIEButton::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }

STDMETHODIMP_(ULONG) BkfIEButton::Release() {
    const LONG left = InterlockedDecrement(&m_refs);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP BkfIEButton::SetSite(IUnknown* site) {
    // A new site replaces the browser held so far.
    if (m_webBrowser) {
        m_webBrowser->Release();
        m_webBrowser = nullptr;
    }
    if (!site) return S_OK;
    IServiceProvider* provider = nullptr;
    if (FAILED(site->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&provider))) || !provider)
        return E_FAIL;
    const HRESULT hr = provider->QueryService(kWebBrowserAppService, IID_IWebBrowser2,
                                              reinterpret_cast<void**>(&m_webBrowser));
    provider->Release();
    if (FAILED(hr)) m_webBrowser = nullptr;
    return hr;
}

STDMETHODIMP BkfIEButton::GetSite(REFIID iid, void** site) {
    if (!site) return E_POINTER;
    *site = nullptr;
    if (!m_webBrowser) return E_FAIL;
    return m_webBrowser->QueryInterface(iid, site);
}

std::string BkfIEButton::LocationAnsi() const {
    BSTR location = nullptr;
    if (FAILED(m_webBrowser->get_LocationURL(&location)) || !location) return std::string();
    const std::string text = plugin::ToAnsi(location);
    SysFreeString(location);
    return text;
}

std::string BkfIEButton::PageCookies() const {
    IDispatch* document = nullptr;
    // A call that succeeds without a document (S_FALSE, null) means no document.
    if (FAILED(m_webBrowser->get_Document(&document)) || !document) return std::string();
    std::string cookies;
    IHTMLDocument2* html = nullptr;
    if (SUCCEEDED(document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html))) && html) {
        BSTR cookie = nullptr;
        if (SUCCEEDED(html->get_cookie(&cookie)) && cookie) {
            cookies = plugin::ToAnsi(cookie);
            SysFreeString(cookie);
        }
        html->Release();
    }
    document->Release();
    return cookies;
}

STDMETHODIMP BkfIEButton::QueryStatus(const GUID*, ULONG count, OLECMD* commands, OLECMDTEXT*) {
    if (!commands) return E_POINTER;
    if (count == 0) return E_UNEXPECTED;
    if (!m_webBrowser) return E_FAIL;
    if (plugin::IsAcceptedPageAddress(LocationAnsi())) commands[0].cmdf = OLECMDF_SUPPORTED | OLECMDF_ENABLED;
    return S_OK;
}

STDMETHODIMP BkfIEButton::Exec(const GUID*, DWORD, DWORD, VARIANT*, VARIANT*) {
    if (!m_webBrowser) return E_FAIL;
    const std::string cookies = PageCookies();
    const std::string location = LocationAnsi();
    if (location.empty() || !plugin::IsAcceptedPageAddress(location)) return S_OK;

    // The browser's window owns the clipboard; a browser that cannot name it gets no hand-over,
    // as when the clipboard is busy.
    SHANDLE_PTR browserWindow = 0;
    if (FAILED(m_webBrowser->get_HWND(&browserWindow))) return S_OK;
    HWND owner = reinterpret_cast<HWND>(browserWindow);
    if (!plugin::PutTextOnClipboard(owner, plugin::MakeHandoverText(location, cookies))) return S_OK;

    m_mainWindow = FindWindowA(handover::kMainFrameClass, nullptr);
    if (m_mainWindow) {
        SetForegroundWindow(m_mainWindow);
        PostMessageA(m_mainWindow, WM_COMMAND, handover::kNewTaskCommand, 0);
        return S_OK;
    }
    return StartProgram(owner);
}

HRESULT BkfIEButton::StartProgram(HWND owner) {
    // Only the program file in the plug-in's own folder is started, as a file with "-c" as its
    // parameters; nothing taken from the page reaches the shell.
    std::string pluginPath;
    if (!plugin::ReadRegisteredPluginPath(pluginPath)) return E_FAIL;
    const std::string program = plugin::ProgramBesidePlugin(pluginPath);
    if (program.empty()) return E_FAIL;
    ShellExecuteA(owner, "open", program.c_str(), handover::kNewTaskArgument, nullptr, SW_SHOW);
    return S_OK;
}
