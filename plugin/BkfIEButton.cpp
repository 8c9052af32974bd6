#include "plugin/BkfIEButton.h"
#include "plugin/HandoverTurn.h"
#include "plugin/PageHandover.h"
#include "plugin/PluginModule.h"
#include "plugin/PluginPrompts.h"
#include "resources/plugin_handover.h"

#include <mshtml.h>
#include <servprov.h>
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

std::wstring BkfIEButton::Location() const {
    BSTR location = nullptr;
    if (FAILED(m_webBrowser->get_LocationURL(&location)) || !location) return std::wstring();
    const std::wstring text(location, SysStringLen(location));
    SysFreeString(location);
    return text;
}

std::wstring BkfIEButton::PageCookies() const {
    IDispatch* document = nullptr;
    // A call that succeeds without a document (S_FALSE, null) means no document.
    if (FAILED(m_webBrowser->get_Document(&document)) || !document) return std::wstring();
    std::wstring cookies;
    IHTMLDocument2* html = nullptr;
    if (SUCCEEDED(document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html))) && html) {
        BSTR cookie = nullptr;
        if (SUCCEEDED(html->get_cookie(&cookie)) && cookie) {
            cookies.assign(cookie, SysStringLen(cookie));
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
    if (plugin::IsAcceptedPageAddress(plugin::ToAnsi(Location().c_str())))
        commands[0].cmdf = OLECMDF_SUPPORTED | OLECMDF_ENABLED;
    return S_OK;
}

STDMETHODIMP BkfIEButton::Exec(const GUID*, DWORD, DWORD, VARIANT*, VARIANT*) {
    if (!m_webBrowser) return E_FAIL;
    const std::wstring location = Location();
    if (location.empty() || !plugin::IsAcceptedPageAddress(plugin::ToAnsi(location.c_str()))) return S_OK;

    // The browser's window owns the clipboard; a browser that cannot name it gets no hand-over.
    SHANDLE_PTR browserWindow = 0;
    if (FAILED(m_webBrowser->get_HWND(&browserWindow))) {
        TellNotTaken(nullptr, location, L"The browser did not name its window, which is to hold the page on the clipboard.");
        return S_OK;
    }
    HWND owner = reinterpret_cast<HWND>(browserWindow);
    std::string text;
    const HRESULT made = MakeText(owner, location, text);
    if (made != S_OK) return made;

    // The browser may let this button go while the press waits (its window closed).
    AddRef();
    plugin::HandoverTurn turn;
    HRESULT result = HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    if (!turn.Take()) {
        TellNotTaken(owner, location, L"Another page was still being handed over to it. Press the button again in a moment.");
    } else {
        m_mainWindow = FindWindowA(handover::kMainFrameClass, nullptr);
        result = m_mainWindow ? HandToRunningProgram(owner, location, text, turn)
                              : StartProgram(owner, location, text, turn);
    }
    Release();
    return result;
}

void BkfIEButton::TellNotTaken(HWND owner, const std::wstring& location, const std::wstring& reason) {
    plugin::TellUser(owner, L"Brackenfly did not take the page:\n" + location + L"\n" + reason, MB_OK | MB_ICONWARNING);
}

HRESULT BkfIEButton::MakeText(HWND owner, const std::wstring& location, std::string& text) const {
    std::string address;
    if (!plugin::AddressForProgram(location, address)) {
        plugin::TellUser(owner, L"The address of this page cannot be handed over to Brackenfly:\n" + location,
                         MB_OK | MB_ICONWARNING);
        return E_INVALIDARG;
    }
    // A cookie the program would read back changed would log it in as somebody else, or not at
    // all: the page goes over without its cookies only when the user says so.
    std::string cookies;
    if (!plugin::ToAnsiExactly(PageCookies(), cookies)) {
        const int answer = plugin::TellUser(
            owner,
            L"The cookies of this page hold characters that Brackenfly cannot keep as they are, so they "
            L"cannot be handed over.\n\nHand the page over to Brackenfly without its cookies?",
            MB_YESNO | MB_ICONWARNING);
        if (answer != IDYES) return OLECMDERR_E_CANCELED;
        cookies.clear();
    }
    text = plugin::MakeHandoverText(address, cookies);
    return S_OK;
}

bool BkfIEButton::PutOnClipboard(HWND owner, const std::wstring& location, const std::string& text,
                                 plugin::HandoverTurn& turn) {
    turn.Begin();
    if (plugin::PutTextOnClipboard(owner, text)) return true;
    turn.Give();
    TellNotTaken(owner, location, L"The clipboard is in use by another program.");
    return false;
}

HRESULT BkfIEButton::HandToRunningProgram(HWND owner, const std::wstring& location, const std::string& text,
                                          plugin::HandoverTurn& turn) {
    if (!PutOnClipboard(owner, location, text, turn)) return S_OK;
    const bool saysWhenRead = plugin::HandoverTurn::SaysWhenRead(m_mainWindow);
    // The running program may bring its window to the front: the user pressed the button.
    DWORD processId = 0;
    GetWindowThreadProcessId(m_mainWindow, &processId);
    if (processId) AllowSetForegroundWindow(processId);
    SetForegroundWindow(m_mainWindow);
    if (PostMessageA(m_mainWindow, WM_COMMAND, handover::kNewTaskCommand, 0)) {
        // A program that a modal dialog holds still takes posted commands, so the word comes.
        if (!saysWhenRead) return S_OK;
        switch (turn.WaitForRunningProgram(m_mainWindow)) {
        case plugin::HandoverTurn::Read::kRead:
        case plugin::HandoverTurn::Read::kUnconfirmed:
            return S_OK;
        case plugin::HandoverTurn::Read::kWindowGone:
            m_mainWindow = nullptr;
            return StartProgram(owner, location, text, turn);
        case plugin::HandoverTurn::Read::kTimedOut:
            break;
        }
        turn.Give();
        TellNotTaken(owner, location, L"It did not read the page in time.");
        return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    }
    const DWORD error = GetLastError();
    // Closed between the look-up and the post: started again, it reads the page from the clipboard.
    if (!IsWindow(m_mainWindow)) {
        m_mainWindow = nullptr;
        return StartProgram(owner, location, text, turn);
    }
    turn.Give();
    TellNotTaken(owner, location, plugin::SystemReason(error));
    return HRESULT_FROM_WIN32(error ? error : ERROR_INVALID_WINDOW_HANDLE);
}

HRESULT BkfIEButton::StartProgram(HWND owner, const std::wstring& location, const std::string& text,
                                  plugin::HandoverTurn& turn) {
    // Only the program file in the plug-in's own folder is started, with "-c" as its parameters;
    // nothing taken from the page reaches the command line.
    std::string pluginPath;
    const std::string program = plugin::ReadRegisteredPluginPath(pluginPath) ? plugin::ProgramBesidePlugin(pluginPath)
                                                                             : std::string();
    if (program.empty()) {
        turn.Give();
        plugin::TellUser(owner,
                         L"Brackenfly is not running, and the browser button cannot tell where it is: its "
                         L"registration is missing. Register the button again from the Brackenfly folder.",
                         MB_OK | MB_ICONWARNING);
        return E_FAIL;
    }
    const std::wstring programName = plugin::FromAnsi(program);
    const DWORD attributes = GetFileAttributesA(program.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        turn.Give();
        plugin::TellUser(owner, L"Brackenfly is not running, and its program was not found beside the browser button:\n" +
                                    programName,
                         MB_OK | MB_ICONWARNING);
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    }
    // Started held, so that it cannot look at the clipboard before the page is there, and the
    // clipboard is written only once a program is there to read it.
    std::string commandLine = "\"" + program + "\" " + handover::kNewTaskArgument;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &process)) {
        const DWORD error = GetLastError();
        turn.Give();
        plugin::TellUser(owner, L"Brackenfly could not be started:\n" + programName + L"\n" +
                                    plugin::SystemReason(error, programName),
                         MB_OK | MB_ICONWARNING);
        return HRESULT_FROM_WIN32(error ? error : ERROR_GEN_FAILURE);
    }
    // A busy clipboard leaves nothing to hand over: the held program goes without having run.
    const bool given = PutOnClipboard(owner, location, text, turn);
    if (given) ResumeThread(process.hThread);
    else TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!given) return S_OK;
    // The next press waits until this program (or the running copy it hands its start to) has
    // read the page.
    if (turn.WaitForStartedProgram() != plugin::HandoverTurn::Read::kTimedOut) return S_OK;
    turn.Give();
    TellNotTaken(owner, location, L"It was started but did not read the page in time.");
    return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
}
