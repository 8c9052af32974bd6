#pragma once
// A stand-in for the system's web-browser control (no HTML engine runs here): registered for
// this process under the control's class id, it is what the login browser embeds. It keeps a
// history of the addresses it was sent to, fires the control's BeforeNavigate2 and
// CommandStateChange events like the real one, draws the current address in its window, and
// answers the document's URL and cookie. The test drives and inspects it through these calls.
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// The home page GoHome opens.
extern const wchar_t kStandInHomePage[];

// Registers / revokes the stand-in's class object for CLSID_WebBrowser (this process only).
HRESULT StandInRegister(void);
void StandInRevoke(void);
// Forgets the pages, the cookie, the calls and the settings of the last test.
void StandInReset(void);

// Browser objects alive, and event sinks advised, right now.
int StandInLiveBrowsers(void);
int StandInAdvisedSinks(void);

// Every call that reached the browser, as "GoHome", "Navigate <url>", "GoBack", "GoForward",
// "Stop", "Refresh", joined by '\n' (ASCII addresses only are spelled out).
const char* StandInCalls(void);
// The page shown now ("" before any).
const wchar_t* StandInCurrentPage(void);
// The browser's own window inside its host (null while not active).
HWND StandInWindow(void);

// The cookie string the current document reports; null: the document reports none (a null BSTR).
void StandInSetCookie(const wchar_t* cookie);
// get_Document then succeeds without a document (S_FALSE and null).
void StandInSetNoDocument(int noDocument);
// A frame inside the page navigates: BeforeNavigate2 from the frame's object.
void StandInNavigateFrame(const wchar_t* url);
// Fires CommandStateChange(command, enable) as the control does.
void StandInFireCommandState(long command, int enable);

#ifdef __cplusplus
}
#endif
