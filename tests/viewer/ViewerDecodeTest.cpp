// A large picture is decoded while the window goes on answering: another thread keeps sending
// it WM_NULL as a click would reach it, and no answer may wait for the decode.
#include <gtest/gtest.h>
#include <windows.h>
#include "tests/support/AnswerWatch.h"
#include "tests/support/TestSupport.h"
#include "tests/viewer/ViewerTestSupport.h"
#include "ui/viewer/MyBitmap.h"

using namespace viewertest;

namespace {

TEST(ViewerDecodeTest, TheWindowAnswersWhileALargePictureDecodes) {
    testsupport::ScratchDir scratch;
    TestHost host(scratch.Path());
    ImageViewer viewer(&host);
    host.viewer = &viewer;
    ViewerFrame frame(viewer);
    PumpFor(50);

    testsupport::AnswerWatch watch(viewer.m_hWnd, 5);
    watch.Start();
    const double begin = testsupport::NowMs();
    viewer.SetFile(Fixture("huge.jpg"));
    while (!viewer.GetPicture() && testsupport::NowMs() - begin < 60000) PumpFor(5);
    const double took = testsupport::NowMs() - begin;
    watch.Finish([]() { PumpFor(5); });

    ASSERT_NE(nullptr, viewer.GetPicture());
    EXPECT_EQ(4000, viewer.GetPicture()->GetWidth());
    EXPECT_EQ("huge.jpg - 4000 x 3000", viewer.GetHeaderText());
    // Decoding on the window's thread would hold one answer for about the whole load.
    EXPECT_LT(watch.Percentile(1.0), took / 2)
        << "loading took " << took << " ms over " << watch.Answers().size() << " answers";
}

}  // namespace
