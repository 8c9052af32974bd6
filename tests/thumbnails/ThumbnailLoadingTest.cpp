// Fetching pictures through the control's timer: what shows comes first, nothing is fetched
// while the control is hidden, and pictures come from real files through the picture views'
// cache (reduced decoding, failures, eviction and stale entries).
#include "tests/thumbnails/ThumbnailTestHost.h"

#include <algorithm>
#include <new>
#include "imaging/AnyBmp.h"
#include "imaging/JPEGDecoder.h"
#include "imaging/TextException.h"
#include "tests/support/ControlledAllocation.h"
#include "tests/support/GdiLedger.h"
#include "tests/support/TestSupport.h"
#include "ui/thumbnails/MyThumbnailChache.h"
#include "ui/thumbnails/ThumbnailPictureLoader.h"

using namespace thumbtest;

namespace {

class ThumbnailLoading : public ViewFixture {
protected:
    // Items in view now (cells meeting the client area).
    std::vector<int> InView() const {
        RECT client;
        ::GetClientRect(view, &client);
        int first = 0, last = -1;
        const POINT s = view.GetScrollPosition();
        ThumbnailRowSpan(view.GetGrid(), view.GetLook(), view.GetItemCount(), s.y, s.y + client.bottom, first, last);
        std::vector<int> in;
        for (int i = first; i <= last; ++i) in.push_back(i);
        return in;
    }
};

// A cache that counts its loads.
class CountingCache : public CMyThumbnailChache {
public:
    int loads = 0;
protected:
    bool LoadPicture(const char* path, int* w, int* h, HBITMAP* bitmap) override {
        ++loads;
        return CMyThumbnailChache::LoadPicture(path, w, h, bitmap);
    }
};

std::string Data(const char* name) { return testsupport::TestDataDir() + name; }

// What the picture views do with their cache: the page and the cell, or the failed bitmap.
bool FillFromCache(CThumbnailChache& cache, ThumbnailItemData& data, HBITMAP failed) {
    RECT cell;
    SIZE size;
    HBITMAP page = nullptr;
    data.pending = false;
    if (!cache.GetThumbnail(data.path, &cell, &size, &page)) {
        data.bitmap = failed;
        data.source = {0, 0, 14, 16};
        return false;
    }
    data.bitmap = page;
    data.source = cell;
    data.tip = std::to_string(size.cx) + " x " + std::to_string(size.cy);
    return true;
}

bool CopyInto(const std::string& from, const std::string& to) { return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != 0; }

}  // namespace

TEST_F(ThumbnailLoading, VisibleItemsComeFirstAfterEveryScroll) {
    listener.fillDelayMs = 10;  // one picture per tick
    Fill(300, false);
    view.EnsureVisible(200);
    const std::vector<int> shown = InView();
    ASSERT_FALSE(shown.empty());
    view.StartLoading();
    ASSERT_TRUE(PumpUntil([&] { return listener.fetched.size() >= shown.size(); }));
    std::vector<int> first(listener.fetched.begin(), listener.fetched.begin() + static_cast<long>(shown.size()));
    std::sort(first.begin(), first.end());
    EXPECT_EQ(shown, first);

    // Scroll elsewhere (wheel and scroll bar): the next pictures are the ones now in view.
    view.SendMessage(WM_VSCROLL, SB_TOP, 0);
    view.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-12 * WHEEL_DELTA)), 0);
    const std::vector<int> now = InView();
    size_t before = listener.fetched.size();
    ASSERT_TRUE(PumpUntil([&] { return listener.fetched.size() >= before + 3; }));
    for (size_t i = before; i < before + 3; ++i) {
        const int index = listener.fetched[i];
        EXPECT_TRUE(std::find(now.begin(), now.end(), index) != now.end()) << index;
    }
    view.SetItems({}, false);
}

// A crawl adds items every few hundred milliseconds: meanwhile only what shows is fetched, and
// the items out of sight follow once the additions have stopped for a moment.
TEST_F(ThumbnailLoading, WhileItemsKeepComingOnlyThoseInViewAreFetched) {
    Fill(0, true);
    const std::vector<ThumbnailItemData> batch = MakeItems(40, placeholder);
    for (int round = 0; round < 6; ++round) {
        view.AddItems(batch, true);
        Pump(150);
    }
    const std::vector<int> shown = InView();
    ASSERT_FALSE(shown.empty());
    ASSERT_LT(shown.back(), 200);
    EXPECT_EQ(shown.size(), listener.fetched.size());
    for (int index : listener.fetched)
        EXPECT_TRUE(std::find(shown.begin(), shown.end(), index) != shown.end()) << index;
    ASSERT_TRUE(PumpUntil([&] { return view.GetPendingCount() == 0; }, 10000));
    EXPECT_EQ(240u, listener.fetched.size());
}

TEST_F(ThumbnailLoading, CheapPicturesComeSeveralPerTick) {
    int ticks = 0;
    Fill(400, true);
    // Count load-timer ticks by watching the pending count change between pumps of one message.
    while (view.GetPendingCount() > 0 && ticks < 400) {
        MSG msg;
        if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && msg.hwnd == view.m_hWnd && msg.wParam == CThumbnailView::kLoadTimer) ++ticks;
            ::DispatchMessageA(&msg);
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
        }
    }
    EXPECT_EQ(0, view.GetPendingCount());
    EXPECT_LT(ticks, 100);  // far fewer ticks than pictures
    EXPECT_EQ(400u, listener.fetched.size());
}

TEST_F(ThumbnailLoading, NothingIsFetchedWhileHidden) {
    listener.fillDelayMs = 5;
    Fill(200, true);
    ASSERT_TRUE(PumpUntil([&] { return !listener.fetched.empty(); }));
    view.ShowWindow(SW_HIDE);
    Pump(30);
    size_t seen = listener.fetched.size();
    Pump(200);
    EXPECT_EQ(seen, listener.fetched.size());
    EXPECT_FALSE(view.IsLoading());
    view.ShowWindow(SW_SHOW);
    ASSERT_TRUE(PumpUntil([&] { return listener.fetched.size() > seen; }));

    // A hidden parent stops it too.
    host.ShowWindow(SW_HIDE);
    Pump(30);
    seen = listener.fetched.size();
    Pump(200);
    EXPECT_EQ(seen, listener.fetched.size());
    host.ShowWindow(SW_SHOW);
    view.StartLoading();
    ASSERT_TRUE(PumpUntil([&] { return listener.fetched.size() > seen; }));

    // Items added without the start flag wait for StartLoading.
    ASSERT_TRUE(PumpUntil([&] { return view.GetPendingCount() == 0; }, 10000));
    seen = listener.fetched.size();
    view.AddItem(MakeItems(1, placeholder)[0], false);
    Pump(100);
    EXPECT_EQ(seen, listener.fetched.size());
    view.StartLoading();
    ASSERT_TRUE(PumpUntil([&] { return view.GetPendingCount() == 0; }));
    EXPECT_EQ(seen + 1, listener.fetched.size());
}

TEST(ThumbnailDecoding, JpegDecodesAtTheReductionThatCoversTheBox) {
    EXPECT_EQ(8, CJPEGDecoder::ChooseScaleDenominator(1600, 1200, 80, 100));
    EXPECT_EQ(4, CJPEGDecoder::ChooseScaleDenominator(400, 300, 80, 100));
    EXPECT_EQ(1, CJPEGDecoder::ChooseScaleDenominator(100, 110, 80, 100));
    EXPECT_EQ(1, CJPEGDecoder::ChooseScaleDenominator(1600, 1200, 0, 0));

    CJPEGDecoder jpeg;
    CAnyBmp picture;
    jpeg.SetScaleToCover(80, 100);
    jpeg.DecodeFile(Data("big.jpg").c_str(), &picture, 32);
    EXPECT_EQ(200, picture.GetWidth());
    EXPECT_EQ(150, picture.GetHeight());
    EXPECT_EQ(1600, jpeg.GetImageWidth());
    EXPECT_EQ(1200, jpeg.GetImageHeight());
    // The same decoder at full size, as before.
    jpeg.SetScaleToCover(0, 0);
    jpeg.DecodeFile(Data("progressive.jpg").c_str(), &picture, 32);
    EXPECT_EQ(1600, picture.GetWidth());
    EXPECT_EQ(1200, picture.GetHeight());
}

TEST(ThumbnailDecoding, EveryFormatComesOutFittedWithItsOwnSize) {
    struct Case {
        const char* name;
        int fullWidth, fullHeight, width, height;
    } cases[] = {
        {"big.jpg", 1600, 1200, 80, 60},       {"progressive.jpg", 1600, 1200, 80, 60},
        {"tall.jpg", 300, 900, 33, 100},       {"small.jpg", 40, 50, 40, 50},
        {"grey.jpg", 640, 480, 80, 60},        {"p100x110.png", 100, 110, 80, 88},
        {"green.bmp", 1200, 900, 80, 60},      {"wide.gif", 500, 90, 80, 14},
        {"looks_like_text.txt", 40, 50, 40, 50},
    };
    for (const Case& c : cases) {
        int w = 0, h = 0;
        HBITMAP bitmap = nullptr;
        ASSERT_TRUE(LoadThumbnailPicture(Data(c.name).c_str(), 80, 100, &w, &h, &bitmap)) << c.name;
        EXPECT_EQ(c.fullWidth, w) << c.name;
        EXPECT_EQ(c.fullHeight, h) << c.name;
        BITMAP info = {};
        ASSERT_TRUE(::GetObjectA(bitmap, sizeof(info), &info));
        EXPECT_EQ(c.width, info.bmWidth) << c.name;
        EXPECT_EQ(c.height, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight) << c.name;
        ::DeleteObject(bitmap);
    }
    // 80 megapixels by its header: too big to decode whole, yet its thumbnail comes from the
    // 1/8 decode without ever holding the full size.
    int w = 0, h = 0;
    HBITMAP bitmap = nullptr;
    CJPEGDecoder whole;
    CAnyBmp picture;
    EXPECT_THROW(whole.DecodeFile(Data("huge_header.jpg").c_str(), &picture, 32), CTextException);
    ASSERT_TRUE(LoadThumbnailPicture(Data("huge_header.jpg").c_str(), 80, 100, &w, &h, &bitmap));
    EXPECT_EQ(10000, w);
    EXPECT_EQ(8000, h);
    ::DeleteObject(bitmap);
    bitmap = nullptr;

    EXPECT_FALSE(LoadThumbnailPicture(Data("broken.jpg").c_str(), 80, 100, &w, &h, &bitmap));
    EXPECT_FALSE(LoadThumbnailPicture(Data("missing.jpg").c_str(), 80, 100, &w, &h, &bitmap));
    EXPECT_FALSE(LoadThumbnailPicture(testsupport::TestDataDir().c_str(), 80, 100, &w, &h, &bitmap));
    // A cut-off file never crashes: it either gives a picture or fails.
    if (LoadThumbnailPicture(Data("truncated.jpg").c_str(), 80, 100, &w, &h, &bitmap)) ::DeleteObject(bitmap);
}

// A decode that runs out of memory at any step, before or after the bitmap is made, fails the
// load and leaves no bitmap or device context behind.
TEST(ThumbnailDecoding, RunningOutOfMemoryAtAnyStepLeavesNoBitmapBehind) {
    // This program shows no menu, so only the ledger's object and context counts are used.
    testsupport::GdiLedger ledger;
    const testsupport::GdiCounts before = ledger.Counts();
    for (const char* name : {"p100x110.png", "small.jpg"}) {
        const std::string path = Data(name);
        long failures = 0;
        for (long skip = 0; skip < 5000; ++skip) {
            int w = 0, h = 0;
            HBITMAP bitmap = nullptr;
            bool loaded = false;
            testsupport::FailAllocationAfter(skip);
            try {
                loaded = LoadThumbnailPicture(path.c_str(), 80, 100, &w, &h, &bitmap);
            } catch (const std::bad_alloc&) {
                // The file's bytes could not be held: nothing was decoded yet.
            }
            testsupport::DisarmAllocationFailure();
            const bool failed = testsupport::AllocationFailed();
            if (loaded) {
                EXPECT_EQ(before.objects + 1, ledger.Counts().objects) << name << ": the ledger sees the bitmap";
                ::DeleteObject(bitmap);
            }
            const testsupport::GdiCounts after = ledger.Counts();
            EXPECT_EQ(before.objects, after.objects) << name << ", allocation " << skip;
            EXPECT_EQ(before.deviceContexts, after.deviceContexts) << name << ", allocation " << skip;
            if (!failed) {
                EXPECT_TRUE(loaded) << name;
                break;
            }
            ++failures;
        }
        EXPECT_GT(failures, 0) << name << ": the decode allocates, so some step of it must have failed";
    }
}

TEST_F(ThumbnailLoading, FilesThroughTheCacheWithAFailedBitmapForBadOnes) {
    testsupport::ScratchDir dir;
    // Then small files claiming pictures beyond what one picture may cost (a 61-megapixel GIF,
    // JPEGs of 64250 x 64250 and, progressive, 9000 x 9000): failed loads that cost little.
    const char* names[] = {"big.jpg", "broken.jpg", "p100x110.png", "wide.gif", "small.jpg",
                           "bomb.gif", "bomb.jpg", "bomb_progressive.jpg"};
    const int count = static_cast<int>(sizeof(names) / sizeof(names[0]));
    std::vector<ThumbnailItemData> items = MakeItems(count, placeholder);
    for (int i = 0; i < count; ++i) {
        items[i].path = Data(names[i]);
        items[i].caption = names[i];
    }
    CMyThumbnailChache cache;
    HBITMAP failed = SolidBitmap(14, 16, RGB(0, 0, 255));
    std::vector<int> failures;
    listener.fill = [&](int index, ThumbnailItemData& data) {
        if (!FillFromCache(cache, data, failed)) failures.push_back(index);
    };
    view.SetItems(items, true);
    ASSERT_TRUE(PumpUntil([&] { return view.GetPendingCount() == 0; }));
    EXPECT_EQ((std::vector<int>{1, 5, 6, 7}), failures);
    for (int index : {5, 6, 7}) EXPECT_EQ(failed, view.GetItemData(index)->bitmap) << names[index];
    EXPECT_EQ(failed, view.GetItemData(1)->bitmap);
    EXPECT_TRUE(view.GetItemData(1)->tip.empty());
    EXPECT_EQ("1600 x 1200", view.GetItemData(0)->tip);
    EXPECT_EQ("100 x 110", view.GetItemData(2)->tip);
    const RECT source = view.GetItemData(2)->source;
    EXPECT_EQ(80, source.right - source.left);
    EXPECT_EQ(88, source.bottom - source.top);
    // All pictures share one page; the failed one is not asked for again.
    EXPECT_EQ(view.GetItemData(0)->bitmap, view.GetItemData(4)->bitmap);
    EXPECT_EQ(1, cache.GetPageCount());
    Pump(100);
    EXPECT_EQ(static_cast<size_t>(count), listener.fetched.size());

    // The failed bitmap is what the user sees.
    ::UpdateWindow(view);
    HDC dc = ::GetDC(view);
    const RECT cell = view.GetItemCell(1);
    EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(dc, (cell.left + cell.right) / 2, cell.top + 57));
    ::ReleaseDC(view, dc);
    view.SetItems({}, false);
    cache.Clear();
    ::DeleteObject(failed);
}

TEST_F(ThumbnailLoading, TheCacheStaysUnderItsCapAndEvictedItemsComeBackWhenSeen) {
    testsupport::ScratchDir dir;
    const int count = 120;
    std::vector<ThumbnailItemData> items = MakeItems(count, placeholder);
    for (int i = 0; i < count; ++i) {
        items[i].path = dir.File("p" + std::to_string(i) + ".jpg");
        ASSERT_TRUE(CopyInto(Data("small.jpg"), items[i].path));
    }
    CountingCache cache;
    // Room for the first two pages only (15 + 31 cells of 24,000 bytes).
    cache.SetByteCap(46 * 24000);
    cache.SetEvictionHandler([this](HBITMAP page) { view.ReturnItemsDrawnFrom(page); });
    listener.fill = [&](int, ThumbnailItemData& data) { FillFromCache(cache, data, nullptr); };
    view.SetItems(items, true);
    ASSERT_TRUE(PumpUntil([&] { return !view.IsLoading(); }, 20000));
    EXPECT_LE(cache.GetBytesUsed(), cache.GetByteCap());
    // Items whose page went are back on their placeholders; what shows was fetched again.
    int onPlaceholder = 0;
    for (int i = 0; i < count; ++i) {
        if (view.GetItemData(i)->bitmap == placeholder) {
            ++onPlaceholder;
            EXPECT_TRUE(view.IsItemPending(i));
        }
    }
    EXPECT_GT(onPlaceholder, 0);
    for (int i : InView()) EXPECT_NE(placeholder, view.GetItemData(i)->bitmap) << i;
    // No item draws from a deleted page.
    for (int i = 0; i < count; ++i) {
        BITMAP info;
        EXPECT_NE(0, ::GetObjectA(view.GetItemData(i)->bitmap, sizeof(info), &info)) << i;
    }
    // Scrolling to the end brings the evicted ones there back.
    view.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    ASSERT_TRUE(PumpUntil([&] { return !view.IsLoading(); }, 20000));
    for (int i : InView()) EXPECT_NE(placeholder, view.GetItemData(i)->bitmap) << i;
    EXPECT_LE(cache.GetBytesUsed(), cache.GetByteCap());

    // Clearing the cache (a new task) lets go of every page; the control hears of each.
    view.SetItems({}, false);
    cache.Clear();
    EXPECT_EQ(0, cache.GetPageCount());
    EXPECT_EQ(0u, cache.GetBytesUsed());
}

TEST(ThumbnailCache, AnEntryCountsOnlyWhileTheFileIsUnchanged) {
    testsupport::ScratchDir dir;
    const std::string path = dir.File("photo.jpg");
    ASSERT_TRUE(CopyInto(Data("small.jpg"), path));
    CountingCache cache;
    RECT cell;
    SIZE size;
    HBITMAP page = nullptr;
    ASSERT_TRUE(cache.GetThumbnail(path, &cell, &size, &page));
    EXPECT_EQ(40, size.cx);
    ASSERT_TRUE(cache.GetThumbnail(path, &cell, &size, &page));
    EXPECT_EQ(1, cache.loads);
    EXPECT_TRUE(cache.Contains(path));

    // Another picture under the same name.
    ASSERT_TRUE(CopyInto(Data("p100x110.png"), path));
    EXPECT_FALSE(cache.Contains(path));
    ASSERT_TRUE(cache.GetThumbnail(path, &cell, &size, &page));
    EXPECT_EQ(2, cache.loads);
    EXPECT_EQ(100, size.cx);
    EXPECT_EQ(80, cell.right - cell.left);

    // Same size, new write time: made again.
    HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    FILETIME later;
    ::GetFileTime(file, nullptr, nullptr, &later);
    later.dwHighDateTime += 1;
    ::SetFileTime(file, nullptr, nullptr, &later);
    ::CloseHandle(file);
    ASSERT_TRUE(cache.GetThumbnail(path, &cell, &size, &page));
    EXPECT_EQ(3, cache.loads);

    // Gone: no thumbnail.
    ::DeleteFileA(path.c_str());
    EXPECT_FALSE(cache.GetThumbnail(path, &cell, &size, &page));
}

TEST(ThumbnailCache, APageThatCannotBeMadeIsAFailedLoad) {
    CountingCache cache;
    int evictions = 0;
    cache.SetEvictionHandler([&](HBITMAP) { ++evictions; });
    RECT cell;
    SIZE size;
    HBITMAP page = nullptr;
    ASSERT_TRUE(cache.GetThumbnail(Data("small.jpg"), &cell, &size, &page));
    cache.Reset(60000, 60000);  // one cell would need gigabytes
    EXPECT_EQ(1, evictions);
    EXPECT_FALSE(cache.GetThumbnail(Data("small.jpg"), &cell, &size, &page));
    EXPECT_EQ(0, cache.GetPageCount());
    // The plain cache loads nothing.
    CThumbnailChache plain;
    EXPECT_FALSE(plain.GetThumbnail(Data("small.jpg"), &cell, &size, &page));
}

TEST(ThumbnailPlaceholders, TheProgramCarriesBothBitmaps) {
    const struct {
        int id, width, height;
    } bitmaps[] = {{300, 17, 24}, {298, 14, 16}};
    for (const auto& b : bitmaps) {
        HBITMAP bitmap = ::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(b.id));
        ASSERT_TRUE(bitmap) << b.id;
        BITMAP info = {};
        ::GetObjectA(bitmap, sizeof(info), &info);
        EXPECT_EQ(b.width, info.bmWidth);
        EXPECT_EQ(b.height, info.bmHeight);
        ::DeleteObject(bitmap);
    }
}
