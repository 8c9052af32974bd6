// C, because the browser and document interfaces are large: a C vtable lists only the methods
// the login browser calls; the program never calls the others.
#define COBJMACROS
#include "WebBrowserStandIn.h"
#include <ole2.h>
#include <exdisp.h>
#include <exdispid.h>
#include <mshtml.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#define MAX_PAGES 64
#define MAX_URL 1100

const wchar_t kStandInHomePage[] = L"http://home.standin.test/";

typedef struct Browser {
    IWebBrowser2 browser;
    IOleObject oleObject;
    IOleInPlaceObject inPlace;
    IConnectionPointContainer points;
    IConnectionPoint eventsPoint;
    IHTMLDocument2 document;  // its own COM identity: also stands for a frame of the page
    LONG refs;
    IOleClientSite* site;
    IOleInPlaceSite* inPlaceSite;
    IDispatch* sink;
    HWND window;
} Browser;

static struct {
    Browser* current;
    int live;
    int sinks;
    wchar_t pages[MAX_PAGES][MAX_URL];
    int pageCount;
    int pageIndex;
    wchar_t cookie[MAX_URL];
    int hasCookie;
    int noDocument;
    char calls[16384];
    DWORD classCookie;
} g;

#define FROM(iface, member) ((Browser*)((char*)(iface) - offsetof(Browser, member)))

static void Record(const char* call, const wchar_t* url) {
    char line[MAX_URL + 32];
    if (url) {
        char ascii[MAX_URL];
        size_t i = 0;
        for (; url[i] && i + 1 < sizeof(ascii); ++i) ascii[i] = url[i] < 128 ? (char)url[i] : '?';
        ascii[i] = 0;
        snprintf(line, sizeof(line), "%s%s %s", g.calls[0] ? "\n" : "", call, ascii);
    } else {
        snprintf(line, sizeof(line), "%s%s", g.calls[0] ? "\n" : "", call);
    }
    if (strlen(g.calls) + strlen(line) < sizeof(g.calls)) strcat(g.calls, line);
}

// ---- events ----

static void Fire(Browser* self, DISPID id, DISPPARAMS* params) {
    if (!self->sink) return;
    IDispatch* sink = self->sink;
    IDispatch_AddRef(sink);
    IDispatch_Invoke(sink, id, &IID_NULL, 0, DISPATCH_METHOD, params, NULL, NULL, NULL);
    IDispatch_Release(sink);
}

// True when the navigation may go on.
static int FireBeforeNavigate2(Browser* self, IDispatch* from, const wchar_t* url) {
    VARIANT args[7], urlValue, flags, frameName, postData, headers;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    DISPPARAMS params = {args, NULL, 7, 0};
    int i;
    for (i = 0; i < 7; ++i) VariantInit(&args[i]);
    VariantInit(&urlValue); VariantInit(&flags); VariantInit(&frameName); VariantInit(&postData); VariantInit(&headers);
    V_VT(&urlValue) = VT_BSTR;
    V_BSTR(&urlValue) = SysAllocString(url);
    V_VT(&flags) = VT_I4;
    V_I4(&flags) = 0;
    V_VT(&args[6]) = VT_DISPATCH; V_DISPATCH(&args[6]) = from;
    V_VT(&args[5]) = VT_VARIANT | VT_BYREF; V_VARIANTREF(&args[5]) = &urlValue;
    V_VT(&args[4]) = VT_VARIANT | VT_BYREF; V_VARIANTREF(&args[4]) = &flags;
    V_VT(&args[3]) = VT_VARIANT | VT_BYREF; V_VARIANTREF(&args[3]) = &frameName;
    V_VT(&args[2]) = VT_VARIANT | VT_BYREF; V_VARIANTREF(&args[2]) = &postData;
    V_VT(&args[1]) = VT_VARIANT | VT_BYREF; V_VARIANTREF(&args[1]) = &headers;
    V_VT(&args[0]) = VT_BOOL | VT_BYREF; V_BOOLREF(&args[0]) = &cancel;
    Fire(self, DISPID_BEFORENAVIGATE2, &params);
    VariantClear(&urlValue);
    return cancel != VARIANT_TRUE;
}

static void FireCommandState(Browser* self, long command, int enable) {
    VARIANT args[2];
    DISPPARAMS params = {args, NULL, 2, 0};
    VariantInit(&args[0]);
    VariantInit(&args[1]);
    V_VT(&args[1]) = VT_I4; V_I4(&args[1]) = command;
    V_VT(&args[0]) = VT_BOOL; V_BOOL(&args[0]) = enable ? VARIANT_TRUE : VARIANT_FALSE;
    Fire(self, DISPID_COMMANDSTATECHANGE, &params);
}

static void FireHistoryState(Browser* self) {
    FireCommandState(self, CSC_UPDATECOMMANDS, 1);
    FireCommandState(self, CSC_NAVIGATEBACK, g.pageIndex > 0);
    FireCommandState(self, CSC_NAVIGATEFORWARD, g.pageIndex + 1 < g.pageCount);
}

static void ShowPage(Browser* self) {
    if (self->window) InvalidateRect(self->window, NULL, TRUE);
}

static void GoToPage(Browser* self, const wchar_t* url) {
    if (!FireBeforeNavigate2(self, (IDispatch*)&self->browser, url)) return;
    if (g.pageIndex + 1 >= MAX_PAGES) return;
    g.pageIndex = g.pageCount == 0 ? 0 : g.pageIndex + 1;
    g.pageCount = g.pageIndex + 1;  // going somewhere new drops the pages ahead
    wcsncpy(g.pages[g.pageIndex], url, MAX_URL - 1);
    g.pages[g.pageIndex][MAX_URL - 1] = 0;
    ShowPage(self);
    FireHistoryState(self);
}

static void StepHistory(Browser* self, int step) {
    int target = g.pageIndex + step;
    if (g.pageCount == 0 || target < 0 || target >= g.pageCount) return;
    if (!FireBeforeNavigate2(self, (IDispatch*)&self->browser, g.pages[target])) return;
    g.pageIndex = target;
    ShowPage(self);
    FireHistoryState(self);
}

// ---- the browser's window: a white page with its address ----

static LRESULT CALLBACK PageWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT paint;
        RECT area;
        HDC dc = BeginPaint(hwnd, &paint);
        GetClientRect(hwnd, &area);
        InflateRect(&area, -12, -12);
        SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(dc, L"Stand-in page (no HTML engine here):", -1, &area, DT_LEFT | DT_TOP | DT_SINGLELINE);
        area.top += 20;
        DrawTextW(dc, g.pageCount ? g.pages[g.pageIndex] : L"", -1, &area, DT_LEFT | DT_TOP | DT_WORDBREAK);
        EndPaint(hwnd, &paint);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

static void CreatePageWindow(Browser* self, HWND parent, const RECT* area) {
    WNDCLASSW wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = PageWindowProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.lpszClassName = L"StandInBrowserPage";
    RegisterClassW(&wc);
    self->window = CreateWindowExW(0, L"StandInBrowserPage", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, area->left,
                                   area->top, area->right - area->left, area->bottom - area->top, parent, NULL,
                                   wc.hInstance, NULL);
}

// ---- IWebBrowser2 (and the object's IUnknown) ----

static HRESULT STDMETHODCALLTYPE Browser_QueryInterface(IWebBrowser2* iface, REFIID iid, void** out) {
    Browser* self = FROM(iface, browser);
    *out = NULL;
    if (IsEqualIID(iid, &IID_IUnknown) || IsEqualIID(iid, &IID_IDispatch) || IsEqualIID(iid, &IID_IWebBrowser) ||
        IsEqualIID(iid, &IID_IWebBrowserApp) || IsEqualIID(iid, &IID_IWebBrowser2))
        *out = &self->browser;
    else if (IsEqualIID(iid, &IID_IOleObject))
        *out = &self->oleObject;
    else if (IsEqualIID(iid, &IID_IOleWindow) || IsEqualIID(iid, &IID_IOleInPlaceObject))
        *out = &self->inPlace;
    else if (IsEqualIID(iid, &IID_IConnectionPointContainer))
        *out = &self->points;
    else
        return E_NOINTERFACE;
    IUnknown_AddRef((IUnknown*)*out);
    return S_OK;
}

static ULONG STDMETHODCALLTYPE Browser_AddRef(IWebBrowser2* iface) {
    return (ULONG)InterlockedIncrement(&FROM(iface, browser)->refs);
}

static ULONG STDMETHODCALLTYPE Browser_Release(IWebBrowser2* iface) {
    Browser* self = FROM(iface, browser);
    LONG left = InterlockedDecrement(&self->refs);
    if (left == 0) {
        if (self->window) DestroyWindow(self->window);
        if (self->sink) IDispatch_Release(self->sink);
        if (self->inPlaceSite) IOleInPlaceSite_Release(self->inPlaceSite);
        if (self->site) IOleClientSite_Release(self->site);
        if (g.current == self) g.current = NULL;
        --g.live;
        HeapFree(GetProcessHeap(), 0, self);
    }
    return (ULONG)left;
}

static HRESULT STDMETHODCALLTYPE Browser_GoBack(IWebBrowser2* iface) {
    Record("GoBack", NULL);
    StepHistory(FROM(iface, browser), -1);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Browser_GoForward(IWebBrowser2* iface) {
    Record("GoForward", NULL);
    StepHistory(FROM(iface, browser), 1);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Browser_GoHome(IWebBrowser2* iface) {
    Record("GoHome", NULL);
    GoToPage(FROM(iface, browser), kStandInHomePage);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Browser_Navigate(IWebBrowser2* iface, BSTR url, VARIANT* flags, VARIANT* frame,
                                                  VARIANT* postData, VARIANT* headers) {
    (void)flags; (void)frame; (void)postData; (void)headers;
    Record("Navigate", url ? url : L"");
    GoToPage(FROM(iface, browser), url ? url : L"");
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Browser_Refresh(IWebBrowser2* iface) {
    (void)iface;
    Record("Refresh", NULL);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Browser_Stop(IWebBrowser2* iface) {
    (void)iface;
    Record("Stop", NULL);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Browser_get_Document(IWebBrowser2* iface, IDispatch** document) {
    Browser* self = FROM(iface, browser);
    if (!document) return E_POINTER;
    *document = NULL;
    if (g.noDocument || g.pageCount == 0) return S_FALSE;
    *document = (IDispatch*)&self->document;
    IHTMLDocument2_AddRef(&self->document);
    return S_OK;
}

// ---- IHTMLDocument2 (a separate object sharing the browser's lifetime) ----

static HRESULT STDMETHODCALLTYPE Document_QueryInterface(IHTMLDocument2* iface, REFIID iid, void** out) {
    *out = NULL;
    if (!IsEqualIID(iid, &IID_IUnknown) && !IsEqualIID(iid, &IID_IDispatch) && !IsEqualIID(iid, &IID_IHTMLDocument) &&
        !IsEqualIID(iid, &IID_IHTMLDocument2))
        return E_NOINTERFACE;
    *out = iface;
    IHTMLDocument2_AddRef(iface);
    return S_OK;
}

static ULONG STDMETHODCALLTYPE Document_AddRef(IHTMLDocument2* iface) {
    return Browser_AddRef(&FROM(iface, document)->browser);
}

static ULONG STDMETHODCALLTYPE Document_Release(IHTMLDocument2* iface) {
    return Browser_Release(&FROM(iface, document)->browser);
}

static HRESULT STDMETHODCALLTYPE Document_get_URL(IHTMLDocument2* iface, BSTR* url) {
    (void)iface;
    *url = SysAllocString(g.pageCount ? g.pages[g.pageIndex] : L"about:blank");
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Document_get_cookie(IHTMLDocument2* iface, BSTR* cookie) {
    (void)iface;
    *cookie = g.hasCookie ? SysAllocString(g.cookie) : NULL;
    return S_OK;
}

// ---- IOleObject ----

static HRESULT STDMETHODCALLTYPE Ole_QueryInterface(IOleObject* iface, REFIID iid, void** out) {
    return Browser_QueryInterface(&FROM(iface, oleObject)->browser, iid, out);
}
static ULONG STDMETHODCALLTYPE Ole_AddRef(IOleObject* iface) { return Browser_AddRef(&FROM(iface, oleObject)->browser); }
static ULONG STDMETHODCALLTYPE Ole_Release(IOleObject* iface) { return Browser_Release(&FROM(iface, oleObject)->browser); }

static HRESULT STDMETHODCALLTYPE Ole_SetClientSite(IOleObject* iface, IOleClientSite* site) {
    Browser* self = FROM(iface, oleObject);
    if (site) IOleClientSite_AddRef(site);
    if (self->site) IOleClientSite_Release(self->site);
    self->site = site;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE InPlace_InPlaceDeactivate(IOleInPlaceObject* iface);

static HRESULT STDMETHODCALLTYPE Ole_Close(IOleObject* iface, DWORD saveOption) {
    (void)saveOption;
    return InPlace_InPlaceDeactivate(&FROM(iface, oleObject)->inPlace);
}

static HRESULT STDMETHODCALLTYPE Ole_DoVerb(IOleObject* iface, LONG verb, LPMSG msg, IOleClientSite* site, LONG index,
                                            HWND parent, LPCRECT position) {
    Browser* self = FROM(iface, oleObject);
    IOleInPlaceSite* inPlaceSite = NULL;
    IOleInPlaceFrame* frame = NULL;
    IOleInPlaceUIWindow* document = NULL;
    OLEINPLACEFRAMEINFO frameInfo;
    RECT area, clip;
    HWND siteWindow = NULL;
    (void)msg; (void)index; (void)parent; (void)position;
    if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_UIACTIVATE && verb != OLEIVERB_SHOW) return E_NOTIMPL;
    if (self->window) return S_OK;
    if (!site) site = self->site;
    if (!site || FAILED(IOleClientSite_QueryInterface(site, &IID_IOleInPlaceSite, (void**)&inPlaceSite)))
        return E_UNEXPECTED;
    if (IOleInPlaceSite_CanInPlaceActivate(inPlaceSite) != S_OK) {
        IOleInPlaceSite_Release(inPlaceSite);
        return E_FAIL;
    }
    IOleInPlaceSite_OnInPlaceActivate(inPlaceSite);
    IOleInPlaceSite_GetWindow(inPlaceSite, &siteWindow);
    frameInfo.cb = sizeof(frameInfo);
    if (SUCCEEDED(IOleInPlaceSite_GetWindowContext(inPlaceSite, &frame, &document, &area, &clip, &frameInfo))) {
        if (frame) IOleInPlaceFrame_Release(frame);
        if (document) IOleInPlaceUIWindow_Release(document);
    } else {
        GetClientRect(siteWindow, &area);
    }
    CreatePageWindow(self, siteWindow, &area);
    self->inPlaceSite = inPlaceSite;
    return S_OK;
}

// ---- IOleInPlaceObject ----

static HRESULT STDMETHODCALLTYPE InPlace_QueryInterface(IOleInPlaceObject* iface, REFIID iid, void** out) {
    return Browser_QueryInterface(&FROM(iface, inPlace)->browser, iid, out);
}
static ULONG STDMETHODCALLTYPE InPlace_AddRef(IOleInPlaceObject* iface) { return Browser_AddRef(&FROM(iface, inPlace)->browser); }
static ULONG STDMETHODCALLTYPE InPlace_Release(IOleInPlaceObject* iface) { return Browser_Release(&FROM(iface, inPlace)->browser); }

static HRESULT STDMETHODCALLTYPE InPlace_GetWindow(IOleInPlaceObject* iface, HWND* window) {
    *window = FROM(iface, inPlace)->window;
    return *window ? S_OK : E_FAIL;
}

static HRESULT STDMETHODCALLTYPE InPlace_ContextSensitiveHelp(IOleInPlaceObject* iface, BOOL enter) {
    (void)iface; (void)enter;
    return E_NOTIMPL;
}

static HRESULT STDMETHODCALLTYPE InPlace_InPlaceDeactivate(IOleInPlaceObject* iface) {
    Browser* self = FROM(iface, inPlace);
    IOleInPlaceSite* inPlaceSite = self->inPlaceSite;
    if (!inPlaceSite) return S_OK;
    self->inPlaceSite = NULL;
    if (self->window) DestroyWindow(self->window);
    self->window = NULL;
    IOleInPlaceSite_OnInPlaceDeactivate(inPlaceSite);
    IOleInPlaceSite_Release(inPlaceSite);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE InPlace_UIDeactivate(IOleInPlaceObject* iface) {
    (void)iface;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE InPlace_SetObjectRects(IOleInPlaceObject* iface, LPCRECT position, LPCRECT clip) {
    Browser* self = FROM(iface, inPlace);
    (void)clip;
    if (self->window && position)
        MoveWindow(self->window, position->left, position->top, position->right - position->left,
                   position->bottom - position->top, TRUE);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE InPlace_ReactivateAndUndo(IOleInPlaceObject* iface) {
    (void)iface;
    return E_NOTIMPL;
}

// ---- IConnectionPointContainer and the one connection point (DWebBrowserEvents2) ----

static HRESULT STDMETHODCALLTYPE Points_QueryInterface(IConnectionPointContainer* iface, REFIID iid, void** out) {
    return Browser_QueryInterface(&FROM(iface, points)->browser, iid, out);
}
static ULONG STDMETHODCALLTYPE Points_AddRef(IConnectionPointContainer* iface) { return Browser_AddRef(&FROM(iface, points)->browser); }
static ULONG STDMETHODCALLTYPE Points_Release(IConnectionPointContainer* iface) { return Browser_Release(&FROM(iface, points)->browser); }

static HRESULT STDMETHODCALLTYPE Points_FindConnectionPoint(IConnectionPointContainer* iface, REFIID iid,
                                                            IConnectionPoint** point) {
    Browser* self = FROM(iface, points);
    *point = NULL;
    if (!IsEqualIID(iid, &DIID_DWebBrowserEvents2)) return CONNECT_E_NOCONNECTION;
    *point = &self->eventsPoint;
    IConnectionPoint_AddRef(*point);
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Point_QueryInterface(IConnectionPoint* iface, REFIID iid, void** out) {
    *out = NULL;
    if (!IsEqualIID(iid, &IID_IUnknown) && !IsEqualIID(iid, &IID_IConnectionPoint)) return E_NOINTERFACE;
    *out = iface;
    IConnectionPoint_AddRef(iface);
    return S_OK;
}
static ULONG STDMETHODCALLTYPE Point_AddRef(IConnectionPoint* iface) { return Browser_AddRef(&FROM(iface, eventsPoint)->browser); }
static ULONG STDMETHODCALLTYPE Point_Release(IConnectionPoint* iface) { return Browser_Release(&FROM(iface, eventsPoint)->browser); }

static HRESULT STDMETHODCALLTYPE Point_Advise(IConnectionPoint* iface, IUnknown* sink, DWORD* cookie) {
    Browser* self = FROM(iface, eventsPoint);
    IDispatch* dispatch = NULL;
    if (self->sink) return CONNECT_E_ADVISELIMIT;
    if (FAILED(IUnknown_QueryInterface(sink, &DIID_DWebBrowserEvents2, (void**)&dispatch))) return CONNECT_E_CANNOTCONNECT;
    self->sink = dispatch;
    ++g.sinks;
    *cookie = 1;
    return S_OK;
}

static HRESULT STDMETHODCALLTYPE Point_Unadvise(IConnectionPoint* iface, DWORD cookie) {
    Browser* self = FROM(iface, eventsPoint);
    if (cookie != 1 || !self->sink) return CONNECT_E_NOCONNECTION;
    IDispatch_Release(self->sink);
    self->sink = NULL;
    --g.sinks;
    return S_OK;
}

// ---- vtables and the class object ----

static IWebBrowser2Vtbl browserVtbl;
static IHTMLDocument2Vtbl documentVtbl;
static IOleObjectVtbl oleVtbl;
static IOleInPlaceObjectVtbl inPlaceVtbl;
static IConnectionPointContainerVtbl pointsVtbl;
static IConnectionPointVtbl pointVtbl;

static void FillVtables(void) {
    browserVtbl.QueryInterface = Browser_QueryInterface;
    browserVtbl.AddRef = Browser_AddRef;
    browserVtbl.Release = Browser_Release;
    browserVtbl.GoBack = Browser_GoBack;
    browserVtbl.GoForward = Browser_GoForward;
    browserVtbl.GoHome = Browser_GoHome;
    browserVtbl.Navigate = Browser_Navigate;
    browserVtbl.Refresh = Browser_Refresh;
    browserVtbl.Stop = Browser_Stop;
    browserVtbl.get_Document = Browser_get_Document;
    documentVtbl.QueryInterface = Document_QueryInterface;
    documentVtbl.AddRef = Document_AddRef;
    documentVtbl.Release = Document_Release;
    documentVtbl.get_URL = Document_get_URL;
    documentVtbl.get_cookie = Document_get_cookie;
    oleVtbl.QueryInterface = Ole_QueryInterface;
    oleVtbl.AddRef = Ole_AddRef;
    oleVtbl.Release = Ole_Release;
    oleVtbl.SetClientSite = Ole_SetClientSite;
    oleVtbl.Close = Ole_Close;
    oleVtbl.DoVerb = Ole_DoVerb;
    inPlaceVtbl.QueryInterface = InPlace_QueryInterface;
    inPlaceVtbl.AddRef = InPlace_AddRef;
    inPlaceVtbl.Release = InPlace_Release;
    inPlaceVtbl.GetWindow = InPlace_GetWindow;
    inPlaceVtbl.ContextSensitiveHelp = InPlace_ContextSensitiveHelp;
    inPlaceVtbl.InPlaceDeactivate = InPlace_InPlaceDeactivate;
    inPlaceVtbl.UIDeactivate = InPlace_UIDeactivate;
    inPlaceVtbl.SetObjectRects = InPlace_SetObjectRects;
    inPlaceVtbl.ReactivateAndUndo = InPlace_ReactivateAndUndo;
    pointsVtbl.QueryInterface = Points_QueryInterface;
    pointsVtbl.AddRef = Points_AddRef;
    pointsVtbl.Release = Points_Release;
    pointsVtbl.FindConnectionPoint = Points_FindConnectionPoint;
    pointVtbl.QueryInterface = Point_QueryInterface;
    pointVtbl.AddRef = Point_AddRef;
    pointVtbl.Release = Point_Release;
    pointVtbl.Advise = Point_Advise;
    pointVtbl.Unadvise = Point_Unadvise;
}

static HRESULT STDMETHODCALLTYPE Factory_QueryInterface(IClassFactory* iface, REFIID iid, void** out) {
    *out = NULL;
    if (!IsEqualIID(iid, &IID_IUnknown) && !IsEqualIID(iid, &IID_IClassFactory)) return E_NOINTERFACE;
    *out = iface;
    return S_OK;
}
static ULONG STDMETHODCALLTYPE Factory_AddRef(IClassFactory* iface) { (void)iface; return 2; }
static ULONG STDMETHODCALLTYPE Factory_Release(IClassFactory* iface) { (void)iface; return 1; }

static HRESULT STDMETHODCALLTYPE Factory_CreateInstance(IClassFactory* iface, IUnknown* outer, REFIID iid, void** out) {
    Browser* self;
    HRESULT hr;
    (void)iface;
    *out = NULL;
    if (outer) return CLASS_E_NOAGGREGATION;
    self = (Browser*)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(Browser));
    if (!self) return E_OUTOFMEMORY;
    self->browser.lpVtbl = &browserVtbl;
    self->document.lpVtbl = &documentVtbl;
    self->oleObject.lpVtbl = &oleVtbl;
    self->inPlace.lpVtbl = &inPlaceVtbl;
    self->points.lpVtbl = &pointsVtbl;
    self->eventsPoint.lpVtbl = &pointVtbl;
    self->refs = 1;
    ++g.live;
    g.current = self;
    hr = Browser_QueryInterface(&self->browser, iid, out);
    Browser_Release(&self->browser);
    return hr;
}

static HRESULT STDMETHODCALLTYPE Factory_LockServer(IClassFactory* iface, BOOL lock) {
    (void)iface; (void)lock;
    return S_OK;
}

static IClassFactoryVtbl factoryVtbl = {Factory_QueryInterface, Factory_AddRef, Factory_Release,
                                        Factory_CreateInstance, Factory_LockServer};
static IClassFactory factory = {&factoryVtbl};

HRESULT StandInRegister(void) {
    FillVtables();
    StandInReset();
    return CoRegisterClassObject(&CLSID_WebBrowser, (IUnknown*)&factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                 &g.classCookie);
}

void StandInRevoke(void) {
    if (g.classCookie) CoRevokeClassObject(g.classCookie);
    g.classCookie = 0;
}

void StandInReset(void) {
    g.pageCount = 0;
    g.pageIndex = 0;
    g.hasCookie = 0;
    g.cookie[0] = 0;
    g.noDocument = 0;
    g.calls[0] = 0;
}

int StandInLiveBrowsers(void) { return g.live; }
int StandInAdvisedSinks(void) { return g.sinks; }
const char* StandInCalls(void) { return g.calls; }
const wchar_t* StandInCurrentPage(void) { return g.pageCount ? g.pages[g.pageIndex] : L""; }
HWND StandInWindow(void) { return g.current ? g.current->window : NULL; }

void StandInSetCookie(const wchar_t* cookie) {
    g.hasCookie = cookie != NULL;
    if (cookie) {
        wcsncpy(g.cookie, cookie, MAX_URL - 1);
        g.cookie[MAX_URL - 1] = 0;
    }
}

void StandInSetNoDocument(int noDocument) { g.noDocument = noDocument; }

void StandInNavigateFrame(const wchar_t* url) {
    if (g.current) FireBeforeNavigate2(g.current, (IDispatch*)&g.current->document, url);
}

void StandInFireCommandState(long command, int enable) {
    if (g.current) FireCommandState(g.current, command, enable);
}
