// Thumbnail control speed: a real control in a window on the display, filled with every JPEG
// of a folder, its pictures fetched through the picture views' cache. Prints the time to the
// first full screen, the load-timer tick times, thumbnails per second, the paint time of each
// Page Down pressed while loading, and the peak memory. With -full the cache decodes each
// picture at full size onto a DIB section first (the way of a plain decode) for comparison.
// bench/thumbnail_view_bench.sh runs both and prints them side by side.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/WindowImpl.h"
#include "imaging/AnyBmp.h"
#include "imaging/AnyPicDecoder.h"
#include "imaging/TextException.h"
#include "tests/support/AnswerWatch.h"
#include "tests/support/MessagePump.h"
#include "ui/thumbnails/MyThumbnailChache.h"
#include "ui/thumbnails/ThumbnailView.h"

using testsupport::NowMs;

namespace {

// The comparison: the whole picture decoded and copied onto a full-size DIB section.
class FullSizeCache : public CMyThumbnailChache {
protected:
    bool LoadPicture(const char* path, int* width, int* height, HBITMAP* bitmap) override {
        try {
            CAnyPicDecoder decoder;
            CAnyBmp picture;
            decoder.DecodeFile(path, &picture, 32);
            BITMAPINFO info = {};
            info.bmiHeader.biSize = sizeof(info.bmiHeader);
            info.bmiHeader.biWidth = picture.GetWidth();
            info.bmiHeader.biHeight = -picture.GetHeight();
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            void* bits = nullptr;
            HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            if (!section) return false;
            memcpy(bits, picture.GetPixels(), static_cast<size_t>(picture.GetWidth()) * picture.GetHeight() * 4);
            *width = picture.GetWidth();
            *height = picture.GetHeight();
            *bitmap = section;
            return true;
        } catch (const CTextException&) {
            return false;
        }
    }
};

class BenchListener : public IThumbnailViewListener {
public:
    CThumbnailChache* cache = nullptr;
    HBITMAP failed = nullptr;
    int fetched = 0, failures = 0;
    void OnKey(int, bool, UINT, LPARAM) override {}
    void OnContextMenu(int, bool, UINT, POINT) override {}
    void OnLeftButton(int, bool, UINT, POINT) override {}
    void OnItemDoubleClick(int, UINT, POINT) override {}
    void OnItemStateChanged(int, UINT, UINT) override {}
    void OnItemAdded(int) override {}
    void OnItemRemoved(int) override {}
    void GetItemTip(int, const ThumbnailSizes&, ThumbnailItemData& data) override {
        RECT cell;
        SIZE size;
        HBITMAP page = nullptr;
        ++fetched;
        if (cache->GetThumbnail(data.path, &cell, &size, &page)) {
            data.bitmap = page;
            data.source = cell;
            data.tip = std::to_string(size.cx) + " x " + std::to_string(size.cy);
        } else {
            ++failures;
            data.bitmap = failed;
            data.source = {0, 0, 14, 16};
        }
        data.pending = false;
    }
};

class Frame : public CWindowImplBase {
public:
    DECLARE_WND_CLASS("Bkf_ThumbnailBench")
    CThumbnailView* view = nullptr;
    BEGIN_MSG_MAP(Frame)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
    END_MSG_MAP()
private:
    LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
        if (view && view->m_hWnd) MoveWindow(view->m_hWnd, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
};

std::vector<std::string> JpegsIn(const std::string& folder) {
    std::vector<std::string> files;
    std::string base = folder;
    if (!base.empty() && base.back() != '\\') base += '\\';
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((base + "*.jpg").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return files;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(base + fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(files.begin(), files.end());
    return files;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t at = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

bool FirstScreenLoaded(const CThumbnailView& view) {
    RECT client;
    GetClientRect(view, &client);
    int first = 0, last = -1;
    const POINT s = view.GetScrollPosition();
    ThumbnailRowSpan(view.GetGrid(), view.GetLook(), view.GetItemCount(), s.y, s.y + client.bottom, first, last);
    for (int i = first; i <= last; ++i)
        if (view.IsItemPending(i)) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    bool full = false;
    int limit = 1000, pageEveryMs = 1000, holdMs = 0, focusAtEnd = -1;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "-full") full = true;
        else if (a == "-limit" && i + 1 < argc) limit = atoi(argv[++i]);
        else if (a == "-page-every" && i + 1 < argc) pageEveryMs = atoi(argv[++i]);
        else if (a == "-hold" && i + 1 < argc) holdMs = atoi(argv[++i]);
        else if (a == "-focus" && i + 1 < argc) focusAtEnd = atoi(argv[++i]);
        else folder = a;
    }
    const std::vector<std::string> files = JpegsIn(folder);
    if (files.empty()) {
        fprintf(stderr, "usage: bench_thumbnail_view [-full] [-limit N] [-page-every ms] [-hold ms [-focus index]] folder-of-jpegs\n");
        return 2;
    }
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);

    CMyThumbnailChache reduced;
    FullSizeCache fullSize;
    CThumbnailChache* cache = full ? static_cast<CThumbnailChache*>(&fullSize) : &reduced;
    Frame frame;
    CThumbnailView view;
    BenchListener listener;
    listener.cache = cache;
    HDC screen = GetDC(nullptr);
    listener.failed = CreateCompatibleBitmap(screen, 14, 16);
    HBITMAP waiting = CreateCompatibleBitmap(screen, 17, 24);
    ReleaseDC(nullptr, screen);
    // Pages the cache lets go of send their thumbnails back to waiting.
    cache->SetEvictionHandler([&view](HBITMAP page) { view.ReturnItemsDrawnFrom(page); });

    RECT r = {0, 0, 1200, 940};
    frame.view = &view;
    frame.Create(nullptr, &r, "thumbnail bench", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    RECT client;
    GetClientRect(frame, &client);
    view.Create(frame, &client, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE);
    view.SetListener(&listener);
    frame.ShowWindow(SW_SHOW);
    UpdateWindow(frame);

    std::vector<ThumbnailItemData> items(files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        items[i].bitmap = waiting;
        items[i].source = {0, 0, 17, 24};
        items[i].path = files[i];
        const size_t slash = files[i].find_last_of('\\');
        items[i].caption = files[i].substr(slash + 1);
    }

    const double start = NowMs();
    view.SetItems(items, true);
    SetFocus(view);
    double firstScreenMs = -1, lastPage = start, lastFetchMs = start;
    std::vector<double> ticks, paints, keys;
    while (listener.fetched < limit && view.GetPendingCount() > 0) {
        MSG msg;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            if (NowMs() - lastFetchMs > 5000) break;  // nothing more will come
            continue;
        }
        const bool tick = msg.message == WM_TIMER && msg.hwnd == view.m_hWnd && msg.wParam == CThumbnailView::kLoadTimer;
        const int before = listener.fetched;
        const double t0 = NowMs();
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        const double t1 = NowMs();
        if (tick) ticks.push_back(t1 - t0);
        if (listener.fetched != before) lastFetchMs = t1;
        if (firstScreenMs < 0 && FirstScreenLoaded(view)) firstScreenMs = t1 - start;
        if (firstScreenMs >= 0 && t1 - lastPage >= pageEveryMs) {
            // A Page Down while loading: the key and the paint it causes.
            const double p0 = NowMs();
            view.SendMessage(WM_KEYDOWN, VK_NEXT, 1);
            const double p1 = NowMs();
            UpdateWindow(view);
            keys.push_back(p1 - p0);
            paints.push_back(NowMs() - p1);
            lastPage = NowMs();
        }
    }
    const double loadMs = lastFetchMs - start;

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));

    printf("MODE %s\n", full ? "full-size decode" : "reduced decode");
    printf("ITEMS %u\n", static_cast<unsigned>(files.size()));
    printf("THUMBNAILS %d\n", listener.fetched);
    printf("FAILURES %d\n", listener.failures);
    printf("FIRST_SCREEN_MS %.1f\n", firstScreenMs);
    printf("TICKS %u\n", static_cast<unsigned>(ticks.size()));
    printf("TICK_MEDIAN_MS %.2f\n", Percentile(ticks, 0.5));
    printf("TICK_P95_MS %.2f\n", Percentile(ticks, 0.95));
    printf("TICK_MAX_MS %.2f\n", ticks.empty() ? 0.0 : *std::max_element(ticks.begin(), ticks.end()));
    printf("THUMBNAILS_PER_S %.1f\n", loadMs > 0 ? listener.fetched * 1000.0 / loadMs : 0.0);
    printf("PAGE_DOWNS %u\n", static_cast<unsigned>(paints.size()));
    printf("PAGE_KEY_MEDIAN_MS %.2f\n", Percentile(keys, 0.5));
    printf("PAGE_PAINT_MEDIAN_MS %.2f\n", Percentile(paints, 0.5));
    printf("PAGE_PAINT_MAX_MS %.2f\n", paints.empty() ? 0.0 : *std::max_element(paints.begin(), paints.end()));
    printf("PEAK_WORKING_SET_MB %.1f\n", memory.PeakWorkingSetSize / 1048576.0);
    printf("PEAK_COMMIT_MB %.1f\n", memory.PeakPagefileUsage / 1048576.0);
    printf("CACHE_MB %.1f\n", cache->GetBytesUsed() / 1048576.0);
    printf("CACHE_CAP_MB %.1f\n", cache->GetByteCap() / 1048576.0);
    // Keeps the window up afterwards (with an item focused), for a look at it.
    if (focusAtEnd >= 0) view.SetItemState(focusAtEnd, kThumbnailFocused | kThumbnailSelected);
    if (holdMs > 0) testsupport::PumpFor(static_cast<DWORD>(holdMs));
    view.SetItems({}, false);
    cache->Clear();
    return 0;
}
