// Pictures that must be decoded go to the control's own thread: the window answers while a
// 40-megapixel picture decodes, the result lands in the cache and the item, nothing is decoded
// while the control is hidden, an item removed mid-decode is simply skipped, and a control
// destroyed mid-decode goes at once.
#include "tests/thumbnails/ThumbnailTestHost.h"

#include "tests/support/AnswerWatch.h"
#include "tests/support/ControlledAllocation.h"
#include "tests/support/TestSupport.h"
#include "ui/thumbnails/MyThumbnailChache.h"

using namespace thumbtest;

namespace {

std::string Data(const char* name) { return testsupport::TestDataDir() + name; }

class ThumbnailDecodeThread : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        // What the picture views do: cache hits at once, anything else through the thread.
        listener.needsDecode = [this](const ThumbnailItemData& data) { return !cache.Contains(data.path); };
        listener.fill = [this](int, ThumbnailItemData& data) {
            RECT cell;
            SIZE size;
            HBITMAP page = nullptr;
            Show(cache.GetThumbnail(data.path, &cell, &size, &page), cell, size, page, data);
        };
        listener.takeDecoded = [this](HBITMAP bitmap, int width, int height, ThumbnailItemData& data) {
            RECT cell;
            SIZE size;
            HBITMAP page = nullptr;
            Show(bitmap && cache.AddThumbnail(data.path, bitmap, width, height, &cell, &size, &page), cell, size, page,
                 data);
        };
    }
    void Show(bool shown, const RECT& cell, const SIZE& size, HBITMAP page, ThumbnailItemData& data) {
        data.pending = false;
        data.bitmap = shown ? page : placeholder;
        data.source = shown ? cell : RECT{0, 0, 17, 24};
        data.tip = shown ? std::to_string(size.cx) + " x " + std::to_string(size.cy) : "failed";
    }
    std::vector<ThumbnailItemData> Items(const std::vector<const char*>& names) {
        std::vector<ThumbnailItemData> items = MakeItems(static_cast<int>(names.size()), placeholder);
        for (size_t i = 0; i < names.size(); ++i) items[i].path = Data(names[i]);
        return items;
    }

    CMyThumbnailChache cache;
};

}  // namespace

TEST_F(ThumbnailDecodeThread, ALargePictureDecodesWhileTheWindowAnswers) {
    testsupport::AnswerWatch watcher(view, 5);
    watcher.Start();
    view.SetItems(Items({"slow.png", "small.jpg", "p100x110.png", "broken.jpg"}), true);
    // Answers counted while the decode is seen under way from the control's own thread: a decode
    // on that thread would never let it look.
    int first = -1, last = -1;
    ASSERT_TRUE(PumpUntil(
        [&] {
            if (view.IsDecoding()) {
                last = watcher.AnsweredSoFar();
                if (first < 0) first = last;
            }
            return !view.IsLoading();
        },
        60000));
    watcher.Finish([] { Pump(5); });
    const int answers = first < 0 ? 0 : last - first;
    std::printf("the thumbnail control answered %d times while it decoded\n", answers);
    EXPECT_GE(answers, 2);
    EXPECT_EQ(0, view.GetPendingCount());
    EXPECT_EQ(4u, listener.decoded.size());
    EXPECT_TRUE(listener.fetched.empty());  // every picture came through the thread
    EXPECT_EQ("8000 x 5000", view.GetItemData(0)->tip);
    EXPECT_NE(placeholder, view.GetItemData(0)->bitmap);
    EXPECT_EQ("100 x 110", view.GetItemData(2)->tip);
    EXPECT_EQ("failed", view.GetItemData(3)->tip);
    EXPECT_TRUE(cache.Contains(Data("slow.png")));

    // Now cached: a second round is answered at once, without the thread.
    view.SetItems(Items({"slow.png", "small.jpg"}), true);
    ASSERT_TRUE(PumpUntil([&] { return !view.IsLoading(); }, 60000));
    EXPECT_EQ(2u, listener.fetched.size());
    EXPECT_EQ("8000 x 5000", view.GetItemData(0)->tip);
}

TEST_F(ThumbnailDecodeThread, NothingIsDecodedWhileHiddenAndARemovedItemIsSkipped) {
    view.ShowWindow(SW_HIDE);
    view.SetItems(Items({"slow.png", "small.jpg"}), true);
    Pump(300);
    EXPECT_TRUE(listener.decoded.empty());
    EXPECT_FALSE(cache.Contains(Data("slow.png")));
    EXPECT_EQ(2, view.GetPendingCount());

    view.ShowWindow(SW_SHOW);
    // The slow one is first in view: remove it while it decodes.
    ASSERT_TRUE(PumpUntil([&] { return view.IsDecoding(); }, 60000));
    view.RemoveItem(0);
    ASSERT_TRUE(PumpUntil([&] { return !view.IsLoading(); }, 60000));
    EXPECT_EQ(1, view.GetItemCount());
    EXPECT_EQ(0, view.GetPendingCount());
    EXPECT_EQ(Data("small.jpg"), view.GetItemData(0)->path);
    EXPECT_NE(placeholder, view.GetItemData(0)->bitmap);
    // The removed item's picture was not taken in.
    EXPECT_FALSE(cache.Contains(Data("slow.png")));
}

TEST_F(ThumbnailDecodeThread, AControlDestroyedMidDecodeGoesAwayCleanly) {
    // The decode is held at its first large allocation (the picture file's bytes) until the test
    // lets it go: destroying the control must not wait for it, and what it makes afterwards must
    // reach neither the cache nor the item.
    testsupport::AllocationHold hold(1024 * 1024);
    view.SetItems(Items({"slow.png"}), true);
    ASSERT_TRUE(PumpUntil([&] { return hold.Holding(); }, 60000));
    HANDLE decodeThread = ::OpenThread(SYNCHRONIZE, FALSE, hold.HeldThread());
    ASSERT_NE(nullptr, decodeThread);
    EXPECT_TRUE(view.DestroyWindow());
    EXPECT_TRUE(hold.Holding());  // it returned while the decode was still held
    hold.Release();
    // With nobody to tell, the decode thread ends once the picture is done.
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(decodeThread, 60000));
    ::CloseHandle(decodeThread);
    Pump();
    EXPECT_TRUE(listener.decoded.empty());
    EXPECT_FALSE(cache.Contains(Data("slow.png")));
}
