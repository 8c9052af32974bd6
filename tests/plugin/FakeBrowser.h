#pragma once
// A stand-in for the browser's side of the button: a site that offers a web browser through
// IServiceProvider, a browser with a location, a window and a document, and a document with
// cookies. Only what the button asks for is answered.
#include <windows.h>
#include <unknwn.h>
#include <string>

namespace plugintest {

struct FakePage {
    std::wstring location;
    std::wstring cookies;
    bool hasDocument = true;
    bool documentIsNull = false;  // get_Document succeeds with S_FALSE and no document
    HWND window = nullptr;
    bool windowFails = false;  // get_HWND fails (and leaves no window)
};

// A new site with one reference; the page is read when the button asks.
IUnknown* MakeFakeSite(const FakePage* page);
// References the fake objects still hold (site, browser and document together); 0 once every
// object was released.
long FakeObjectsAlive();

}  // namespace plugintest
