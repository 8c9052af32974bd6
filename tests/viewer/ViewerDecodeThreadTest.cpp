// The viewer decodes on a thread of its own: a large picture never stops the window, a newer
// choice wins over the one still decoding, the file being decoded can be deleted, and a viewer
// closed mid-decode goes away cleanly.
#include <gtest/gtest.h>
#include <windows.h>
#include "tests/support/TestSupport.h"
#include "tests/viewer/ViewerTestSupport.h"
#include "ui/viewer/MyBitmap.h"
#include "ui/viewer/ViewerDecodeJob.h"

using namespace viewertest;

namespace {

// 8000 x 5000: legal, and slow enough to decode that the window answers many times meanwhile.
const char kSlow[] = "slow.png";

class ViewerDecodeThreadTest : public ::testing::Test {
protected:
    ViewerDecodeThreadTest() : host(scratch.Path()) {}
    void SetUp() override {
        viewer.reset(new ImageViewer(&host));
        host.viewer = viewer.get();
        frame.reset(new ViewerFrame(*viewer));
        PumpFor(50);
    }
    void TearDown() override {
        frame.reset();
        viewer.reset();
    }
    // Pumps until the decode thread is at work (a minute guards against never).
    void PumpUntilDecoding() {
        for (DWORD begin = ::GetTickCount(); ViewerDecodesRunning() == 0 && ::GetTickCount() - begin < 60000;)
            PumpFor(5);
    }
    // Pumps until no decode is at work any more.
    void PumpUntilNoDecode() {
        for (DWORD begin = ::GetTickCount(); ViewerDecodesRunning() > 0 && ::GetTickCount() - begin < 60000;)
            PumpFor(10);
    }

    testsupport::ScratchDir scratch;
    TestHost host;
    std::unique_ptr<ImageViewer> viewer;
    std::unique_ptr<ViewerFrame> frame;
};

}  // namespace

TEST_F(ViewerDecodeThreadTest, ALargePictureDecodesWhileTheWindowAnswers) {
    viewer->SetFile(Fixture(kSlow));
    EXPECT_TRUE(viewer->IsLoading());
    const int answers = AnswersWhileDecoding(*viewer, viewer->m_hWnd);
    std::printf("the window answered %d times while the slow picture decoded\n", answers);
    EXPECT_GE(answers, 2) << "the decode kept the window's thread";
    EXPECT_FALSE(viewer->IsLoading());
    ASSERT_NE(nullptr, viewer->GetPicture());
    EXPECT_EQ(kViewerShown, viewer->GetLoadStatus());
    EXPECT_EQ("slow.png - 8000 x 5000", viewer->GetHeaderText());
    EXPECT_EQ(1, viewer->GetDecodeCount());
}

// What is drawn of a large picture comes ready from the decode thread: both places share the
// picture's own section (no copy of 40 megapixels on the window's thread) and a copy reduced to
// the screen that the fitted view is drawn from; at actual size the visible part shows pixel for
// pixel.
TEST_F(ViewerDecodeThreadTest, ALargePictureIsShownFromWhatItsDecodeMade) {
    viewer->SetFile(Fixture(kSlow));
    WaitForLoad(*viewer);
    ASSERT_NE(nullptr, viewer->GetPicture());
    const ShownPicture& shown = viewer->GetShown();
    ASSERT_TRUE(shown.full);
    ASSERT_TRUE(shown.reduced);
    BITMAP reduced = {};
    ASSERT_TRUE(::GetObjectA(shown.reduced.get(), sizeof(reduced), &reduced));
    EXPECT_LE(reduced.bmWidth, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(reduced.bmHeight, ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_NEAR(8000.0 / 5000.0, static_cast<double>(reduced.bmWidth) / reduced.bmHeight, 0.01);

    CIVWindow& embedded = viewer->GetEmbeddedPlace().GetWindow();
    EXPECT_EQ(shown.full.get(), embedded.GetPicture().GetBitmap());
    EXPECT_EQ(shown.reduced.get(), embedded.GetPicture().GetReducedBitmap());
    ASSERT_EQ(1, viewer->ToggleFullScreen());
    PumpFor(50);
    CIVWindow& full = viewer->GetFullScreenPlace().GetWindow();
    EXPECT_EQ(shown.full.get(), full.GetPicture().GetBitmap());
    EXPECT_EQ(shown.reduced.get(), full.GetPicture().GetReducedBitmap());
    viewer->LeaveFullScreen();
    PumpFor(50);

    // Actual size, scrolled into the middle: the window shows the picture's own pixels there.
    viewer->SendMessage(WM_COMMAND, ID_VIEWER_ACTUAL_SIZE);
    PumpFor(50);
    ASSERT_FLOAT_EQ(1.0f, embedded.GetZoom());
    const POINT offset = embedded.GetOffset();
    ASSERT_LT(offset.x, 0);
    ASSERT_LT(offset.y, 0);
    const Capture view = CaptureWindow(embedded);
    ASSERT_GT(view.width, 0);
    const auto* pixels = reinterpret_cast<const uint32_t*>(viewer->GetPicture()->GetPixels());
    int differing = 0;
    for (int y = 0; y < view.height; y += 7)
        for (int x = 0; x < view.width; x += 5) {
            const uint32_t picture = pixels[static_cast<size_t>(y - offset.y) * 8000 + (x - offset.x)] & 0xFFFFFF;
            if (!NearColor(view.At(x, y), picture, 0)) ++differing;
        }
    EXPECT_EQ(0, differing);
}

TEST_F(ViewerDecodeThreadTest, ANewerChoiceMidDecodeIsTheOneShown) {
    viewer->SetFile(Fixture(kSlow));
    PumpUntilDecoding();
    ASSERT_TRUE(viewer->IsLoading());
    viewer->SetFile(Fixture("red.png"));
    WaitForLoad(*viewer);
    ASSERT_NE(nullptr, viewer->GetPicture());
    EXPECT_EQ(200, viewer->GetPicture()->GetWidth());
    EXPECT_EQ("red.png - 200 x 150", viewer->GetHeaderText());
    Capture shown = CaptureWindow(viewer->GetEmbeddedPlace().GetWindow());
    ASSERT_GT(shown.width, 0);
    EXPECT_TRUE(NearColor(shown.At(shown.width / 2, shown.height / 2), 0xFF0000, 8));
    // Nothing late brings the large one back.
    PumpUntilNoDecode();
    PumpFor(100);
    ASSERT_NE(nullptr, viewer->GetPicture());
    EXPECT_EQ(200, viewer->GetPicture()->GetWidth());

    // An empty path mid-decode leaves the viewer empty.
    viewer->SetFile(Fixture(kSlow));
    PumpUntilDecoding();
    viewer->SetFile("");
    WaitForLoad(*viewer);
    EXPECT_EQ(nullptr, viewer->GetPicture());
    EXPECT_EQ("", viewer->GetHeaderText());
}

TEST_F(ViewerDecodeThreadTest, ThePictureBeingDecodedCanBeDeleted) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(Fixture(kSlow), bytes));
    const std::string copy = scratch.File("doomed.png");
    ASSERT_TRUE(testsupport::WriteFileBytes(copy, bytes));
    viewer->SetFile(copy);
    PumpUntilDecoding();
    ASSERT_EQ(1, ViewerDecodesRunning());
    EXPECT_TRUE(::DeleteFileA(copy.c_str())) << ::GetLastError();
    // As the picture views do after a delete: the next picture, here none.
    viewer->SetFile("");
    WaitForLoad(*viewer);
    EXPECT_EQ(nullptr, viewer->GetPicture());
    EXPECT_FALSE(viewer->IsLoading());
    // Gone for good once the decode let go of it (it may still have been reading it above).
    PumpUntilNoDecode();
    EXPECT_FALSE(testsupport::FileExists(copy));
}

TEST_F(ViewerDecodeThreadTest, AViewerClosedMidDecodeGoesAwayCleanly) {
    viewer->SetFile(Fixture(kSlow));
    PumpUntilDecoding();
    ASSERT_EQ(1, ViewerDecodesRunning());
    viewer->DestroyWindow();
    // Closing does not wait for the decode: it is still at work once the window is gone.
    EXPECT_EQ(1, ViewerDecodesRunning());
    frame.reset();
    viewer.reset();
    // The decode ends by itself later; its result must find nothing to touch.
    PumpUntilNoDecode();
    EXPECT_EQ(0, ViewerDecodesRunning());
    PumpFor(100);
    SetUp();
    viewer->SetFile(Fixture("green.png"));
    WaitForLoad(*viewer);
    ASSERT_NE(nullptr, viewer->GetPicture());
    EXPECT_EQ("green.png - 160 x 120", viewer->GetHeaderText());
}
