// A large picture is decoded while the window goes on answering: another thread keeps sending
// it WM_NULL as a click would reach it, and the window answers while the decode runs.
#include <gtest/gtest.h>
#include <windows.h>
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

    viewer.SetFile(Fixture("huge.jpg"));
    const int answers = AnswersWhileDecoding(viewer, viewer.m_hWnd);

    ASSERT_NE(nullptr, viewer.GetPicture());
    EXPECT_EQ(4000, viewer.GetPicture()->GetWidth());
    EXPECT_EQ("huge.jpg - 4000 x 3000", viewer.GetHeaderText());
    // Decoding on the window's thread would leave no answer while it ran.
    EXPECT_GE(answers, 1);
}

}  // namespace
