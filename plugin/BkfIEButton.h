#pragma once
// The browser's toolbar button: pressed on a web page, it hands the page's address and cookies
// to the program through the clipboard and asks the running program for a new task, or starts
// the program beside the plug-in asking for one (the agreement is resources/plugin_handover.h).
#include <windows.h>
#include <docobj.h>
#include <exdisp.h>
#include <ocidl.h>
#include <string>

namespace plugin {
class HandoverTurn;
}

class BkfIEButton final : public IOleCommandTarget, public IObjectWithSite {
public:
    BkfIEButton();
    BkfIEButton(const BkfIEButton&) = delete;
    BkfIEButton& operator=(const BkfIEButton&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IOleCommandTarget
    STDMETHODIMP QueryStatus(const GUID* group, ULONG count, OLECMD* commands, OLECMDTEXT* text) override;
    STDMETHODIMP Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in, VARIANT* out) override;

    // IObjectWithSite
    STDMETHODIMP SetSite(IUnknown* site) override;
    STDMETHODIMP GetSite(REFIID iid, void** site) override;

    // The window the last press found for the program (null when none was running).
    HWND MainWindowFound() const { return m_mainWindow; }

private:
    ~BkfIEButton();
    std::wstring Location() const;
    std::wstring PageCookies() const;
    // The hand-over text of the page, or a failure after the user was told why (nothing was
    // touched then).
    HRESULT MakeText(HWND owner, const std::wstring& location, std::string& text) const;
    // The press ends without the page reaching the program: the user is told why.
    static void TellNotTaken(HWND owner, const std::wstring& location, const std::wstring& reason);
    static bool PutOnClipboard(HWND owner, const std::wstring& location, const std::string& text,
                               plugin::HandoverTurn& turn);
    HRESULT HandToRunningProgram(HWND owner, const std::wstring& location, const std::string& text,
                                 plugin::HandoverTurn& turn);
    HRESULT StartProgram(HWND owner, const std::wstring& location, const std::string& text, plugin::HandoverTurn& turn);

    volatile LONG m_refs = 0;
    IWebBrowser2* m_webBrowser = nullptr;
    HWND m_mainWindow = nullptr;
};
