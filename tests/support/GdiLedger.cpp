#include "tests/support/GdiLedger.h"
#include <commctrl.h>
#include <cstring>

namespace testsupport {
namespace {

enum Kind { kDc, kObject, kMenu, kImageList, kKinds };

// Handles made through the ledger. A fixed table: the ledger itself must not allocate, since it
// runs inside the calls of tests that make allocations fail.
const int kSlots = 8192;
struct Slot {
    void* handle;
    Kind kind;
};
Slot g_slots[kSlots];
CRITICAL_SECTION g_lock;
long g_paints = 0;

void Remember(void* handle, Kind kind) {
    if (!handle) return;
    ::EnterCriticalSection(&g_lock);
    for (Slot& slot : g_slots) {
        if (!slot.handle) {
            slot.handle = handle;
            slot.kind = kind;
            break;
        }
    }
    ::LeaveCriticalSection(&g_lock);
}

void Forget(void* handle) {
    if (!handle) return;
    ::EnterCriticalSection(&g_lock);
    for (Slot& slot : g_slots) {
        if (slot.handle == handle) {
            slot.handle = nullptr;
            break;
        }
    }
    ::LeaveCriticalSection(&g_lock);
}

// The real functions, taken before the imports are patched.
struct Real {
    decltype(&::CreateCompatibleDC) createCompatibleDC;
    decltype(&::DeleteDC) deleteDC;
    decltype(&::CreateCompatibleBitmap) createCompatibleBitmap;
    decltype(&::CreateDIBSection) createDIBSection;
    decltype(&::CreateSolidBrush) createSolidBrush;
    decltype(&::CreatePen) createPen;
    decltype(&::CreateFontIndirectA) createFontIndirectA;
    decltype(&::CreateRectRgn) createRectRgn;
    decltype(&::DeleteObject) deleteObject;
    decltype(&::BeginPaint) beginPaint;
    decltype(&::EndPaint) endPaint;
    decltype(&::GetDC) getDC;
    decltype(&::ReleaseDC) releaseDC;
    decltype(&::LoadMenuA) loadMenuA;
    decltype(&::DestroyMenu) destroyMenu;
    decltype(&::ImageList_Create) imageListCreate;
    decltype(&::ImageList_Destroy) imageListDestroy;
} g_real;

HDC WINAPI CountedCreateCompatibleDC(HDC dc) {
    HDC made = g_real.createCompatibleDC(dc);
    Remember(made, kDc);
    return made;
}
BOOL WINAPI CountedDeleteDC(HDC dc) {
    const BOOL done = g_real.deleteDC(dc);
    if (done) Forget(dc);
    return done;
}
HBITMAP WINAPI CountedCreateCompatibleBitmap(HDC dc, int width, int height) {
    HBITMAP made = g_real.createCompatibleBitmap(dc, width, height);
    Remember(made, kObject);
    return made;
}
HBITMAP WINAPI CountedCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                       DWORD offset) {
    HBITMAP made = g_real.createDIBSection(dc, info, usage, bits, section, offset);
    Remember(made, kObject);
    return made;
}
HBRUSH WINAPI CountedCreateSolidBrush(COLORREF color) {
    HBRUSH made = g_real.createSolidBrush(color);
    Remember(made, kObject);
    return made;
}
HPEN WINAPI CountedCreatePen(int style, int width, COLORREF color) {
    HPEN made = g_real.createPen(style, width, color);
    Remember(made, kObject);
    return made;
}
HFONT WINAPI CountedCreateFontIndirectA(const LOGFONTA* font) {
    HFONT made = g_real.createFontIndirectA(font);
    Remember(made, kObject);
    return made;
}
HRGN WINAPI CountedCreateRectRgn(int left, int top, int right, int bottom) {
    HRGN made = g_real.createRectRgn(left, top, right, bottom);
    Remember(made, kObject);
    return made;
}
BOOL WINAPI CountedDeleteObject(HGDIOBJ object) {
    const BOOL done = g_real.deleteObject(object);
    if (done) Forget(object);
    return done;
}
HDC WINAPI CountedBeginPaint(HWND window, PAINTSTRUCT* paint) {
    HDC dc = g_real.beginPaint(window, paint);
    if (dc) ::InterlockedIncrement(&g_paints);
    return dc;
}
BOOL WINAPI CountedEndPaint(HWND window, const PAINTSTRUCT* paint) {
    ::InterlockedDecrement(&g_paints);
    return g_real.endPaint(window, paint);
}
HDC WINAPI CountedGetDC(HWND window) {
    HDC dc = g_real.getDC(window);
    Remember(dc, kDc);
    return dc;
}
int WINAPI CountedReleaseDC(HWND window, HDC dc) {
    const int done = g_real.releaseDC(window, dc);
    if (done) Forget(dc);
    return done;
}
HMENU WINAPI CountedLoadMenuA(HINSTANCE instance, LPCSTR name) {
    HMENU menu = g_real.loadMenuA(instance, name);
    Remember(menu, kMenu);
    return menu;
}
BOOL WINAPI CountedDestroyMenu(HMENU menu) {
    const BOOL done = g_real.destroyMenu(menu);
    if (done) Forget(menu);
    return done;
}
HIMAGELIST WINAPI CountedImageList_Create(int width, int height, UINT flags, int initial, int grow) {
    HIMAGELIST made = g_real.imageListCreate(width, height, flags, initial, grow);
    Remember(made, kImageList);
    return made;
}
BOOL WINAPI CountedImageList_Destroy(HIMAGELIST images) {
    const BOOL done = g_real.imageListDestroy(images);
    if (done) Forget(images);
    return done;
}

struct Route {
    const char* library;
    const char* name;
    void** real;
    void* counted;
};

#define BKF_ROUTE(library, function, field)                                                          \
    {library, #function, reinterpret_cast<void**>(&g_real.field), reinterpret_cast<void*>(&Counted##function)}
const Route kRoutes[] = {
    BKF_ROUTE("gdi32.dll", CreateCompatibleDC, createCompatibleDC),
    BKF_ROUTE("gdi32.dll", DeleteDC, deleteDC),
    BKF_ROUTE("gdi32.dll", CreateCompatibleBitmap, createCompatibleBitmap),
    BKF_ROUTE("gdi32.dll", CreateDIBSection, createDIBSection),
    BKF_ROUTE("gdi32.dll", CreateSolidBrush, createSolidBrush),
    BKF_ROUTE("gdi32.dll", CreatePen, createPen),
    BKF_ROUTE("gdi32.dll", CreateFontIndirectA, createFontIndirectA),
    BKF_ROUTE("gdi32.dll", CreateRectRgn, createRectRgn),
    BKF_ROUTE("gdi32.dll", DeleteObject, deleteObject),
    BKF_ROUTE("user32.dll", BeginPaint, beginPaint),
    BKF_ROUTE("user32.dll", EndPaint, endPaint),
    BKF_ROUTE("user32.dll", GetDC, getDC),
    BKF_ROUTE("user32.dll", ReleaseDC, releaseDC),
    BKF_ROUTE("user32.dll", LoadMenuA, loadMenuA),
    BKF_ROUTE("user32.dll", DestroyMenu, destroyMenu),
    BKF_ROUTE("comctl32.dll", ImageList_Create, imageListCreate),
    BKF_ROUTE("comctl32.dll", ImageList_Destroy, imageListDestroy),
};
#undef BKF_ROUTE

// Replaces every import of `from` in this program by `to`; the number of entries changed.
int PatchImports(void* from, void* to) {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress) return 0;
    int changed = 0;
    for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); import->Name;
         ++import) {
        for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk); thunk->u1.Function;
             ++thunk) {
            void** entry = reinterpret_cast<void**>(&thunk->u1.Function);
            if (*entry != from) continue;
            DWORD old = 0;
            if (!::VirtualProtect(entry, sizeof(void*), PAGE_READWRITE, &old)) continue;
            *entry = to;
            ::VirtualProtect(entry, sizeof(void*), old, &old);
            ++changed;
        }
    }
    return changed;
}

}  // namespace

GdiLedger::GdiLedger() : ok_(true) {
    static bool initialized = false;
    if (!initialized) {
        ::InitializeCriticalSection(&g_lock);
        initialized = true;
    }
    std::memset(g_slots, 0, sizeof(g_slots));
    g_paints = 0;
    for (const Route& route : kRoutes) {
        *route.real = reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA(route.library), route.name));
        if (!*route.real) {
            ok_ = false;
            continue;
        }
        // A function the program never imports needs no route; the paint's own must have one.
        const int routed = PatchImports(*route.real, route.counted);
        if (routed == 0 && (std::strcmp(route.name, "BeginPaint") == 0 || std::strcmp(route.name, "LoadMenuA") == 0))
            ok_ = false;
    }
}

GdiLedger::~GdiLedger() {
    for (const Route& route : kRoutes)
        if (*route.real) PatchImports(route.counted, *route.real);
}

GdiCounts GdiLedger::Counts() const {
    GdiCounts counts;
    ::EnterCriticalSection(&g_lock);
    for (const Slot& slot : g_slots) {
        if (!slot.handle) continue;
        if (slot.kind == kDc) ++counts.deviceContexts;
        else if (slot.kind == kObject) ++counts.objects;
        else if (slot.kind == kImageList) ++counts.imageLists;
        else ++counts.menus;
    }
    ::LeaveCriticalSection(&g_lock);
    counts.paints = g_paints;
    return counts;
}

}  // namespace testsupport
