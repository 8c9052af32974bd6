// The fake objects are built on the C view of the interfaces, so only the methods the button
// uses need bodies; the rest of each table stays empty.
#define CINTERFACE
#define COBJMACROS
#include "tests/plugin/FakeBrowser.h"

#include <exdisp.h>
#include <mshtml.h>
#include <servprov.h>

namespace plugintest {

namespace {

long g_alive = 0;

struct FakeDocument {
    IHTMLDocument2 iface;
    long refs;
    const FakePage* page;
};

struct FakeWebBrowser {
    IWebBrowser2 iface;
    long refs;
    const FakePage* page;
};

struct FakeSite {
    IServiceProvider iface;
    long refs;
    const FakePage* page;
};

template <class Object, class Interface>
Object* Self(Interface* iface) {
    return reinterpret_cast<Object*>(iface);
}

template <class Object, class Interface>
ULONG STDMETHODCALLTYPE AddRefOf(Interface* iface) {
    ++g_alive;
    return static_cast<ULONG>(++Self<Object>(iface)->refs);
}

template <class Object, class Interface>
ULONG STDMETHODCALLTYPE ReleaseOf(Interface* iface) {
    Object* self = Self<Object>(iface);
    --g_alive;
    const long left = --self->refs;
    if (left == 0) delete self;
    return static_cast<ULONG>(left);
}

// Document: IUnknown, IDispatch and IHTMLDocument2 are one object.
HRESULT STDMETHODCALLTYPE DocQueryInterface(IHTMLDocument2* iface, REFIID iid, void** out) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IHTMLDocument2)) {
        *out = iface;
        AddRefOf<FakeDocument>(iface);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE DocGetCookie(IHTMLDocument2* iface, BSTR* cookie) {
    const FakePage* page = Self<FakeDocument>(iface)->page;
    *cookie = page->cookies.empty() ? nullptr : SysAllocString(page->cookies.c_str());
    return S_OK;
}

IHTMLDocument2Vtbl MakeDocumentTable() {
    IHTMLDocument2Vtbl table = {};
    table.QueryInterface = DocQueryInterface;
    table.AddRef = AddRefOf<FakeDocument, IHTMLDocument2>;
    table.Release = ReleaseOf<FakeDocument, IHTMLDocument2>;
    table.get_cookie = DocGetCookie;
    return table;
}
IHTMLDocument2Vtbl g_documentTable = MakeDocumentTable();

// Browser.
HRESULT STDMETHODCALLTYPE BrowserQueryInterface(IWebBrowser2* iface, REFIID iid, void** out) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IWebBrowser2)) {
        *out = iface;
        AddRefOf<FakeWebBrowser>(iface);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE BrowserGetDocument(IWebBrowser2* iface, IDispatch** document) {
    const FakePage* page = Self<FakeWebBrowser>(iface)->page;
    *document = nullptr;
    if (page->documentIsNull) return S_FALSE;
    if (!page->hasDocument) return E_FAIL;
    FakeDocument* doc = new FakeDocument{{&g_documentTable}, 1, page};
    ++g_alive;
    *document = reinterpret_cast<IDispatch*>(&doc->iface);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserGetLocationURL(IWebBrowser2* iface, BSTR* location) {
    *location = SysAllocString(Self<FakeWebBrowser>(iface)->page->location.c_str());
    return S_OK;
}

HRESULT STDMETHODCALLTYPE BrowserGetHWND(IWebBrowser2* iface, SHANDLE_PTR* window) {
    const FakePage* page = Self<FakeWebBrowser>(iface)->page;
    *window = page->windowFails ? 0 : reinterpret_cast<SHANDLE_PTR>(page->window);
    return page->windowFails ? E_FAIL : S_OK;
}

IWebBrowser2Vtbl MakeBrowserTable() {
    IWebBrowser2Vtbl table = {};
    table.QueryInterface = BrowserQueryInterface;
    table.AddRef = AddRefOf<FakeWebBrowser, IWebBrowser2>;
    table.Release = ReleaseOf<FakeWebBrowser, IWebBrowser2>;
    table.get_Document = BrowserGetDocument;
    table.get_LocationURL = BrowserGetLocationURL;
    table.get_HWND = BrowserGetHWND;
    return table;
}
IWebBrowser2Vtbl g_browserTable = MakeBrowserTable();

// Site: IUnknown and IServiceProvider.
const GUID kWebBrowserApp = {0x0002DF05, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

HRESULT STDMETHODCALLTYPE SiteQueryInterface(IServiceProvider* iface, REFIID iid, void** out) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IServiceProvider)) {
        *out = iface;
        AddRefOf<FakeSite>(iface);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE SiteQueryService(IServiceProvider* iface, REFGUID service, REFIID iid, void** out) {
    *out = nullptr;
    if (!IsEqualGUID(service, kWebBrowserApp) || !IsEqualIID(iid, IID_IWebBrowser2)) return E_NOINTERFACE;
    FakeWebBrowser* browser = new FakeWebBrowser{{&g_browserTable}, 1, Self<FakeSite>(iface)->page};
    ++g_alive;
    *out = &browser->iface;
    return S_OK;
}

IServiceProviderVtbl MakeSiteTable() {
    IServiceProviderVtbl table = {};
    table.QueryInterface = SiteQueryInterface;
    table.AddRef = AddRefOf<FakeSite, IServiceProvider>;
    table.Release = ReleaseOf<FakeSite, IServiceProvider>;
    table.QueryService = SiteQueryService;
    return table;
}
IServiceProviderVtbl g_siteTable = MakeSiteTable();

}  // namespace

IUnknown* MakeFakeSite(const FakePage* page) {
    FakeSite* site = new FakeSite{{&g_siteTable}, 1, page};
    ++g_alive;
    return reinterpret_cast<IUnknown*>(&site->iface);
}

long FakeObjectsAlive() { return g_alive; }

}  // namespace plugintest
