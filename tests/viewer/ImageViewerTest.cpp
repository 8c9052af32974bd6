// The viewer pane through real windows: deferred loading, its header and buttons, the load
// failures, full screen, the slide show and its effects, the context menu and the commands.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <climits>
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/viewer/ViewerTestSupport.h"
#include "ui/viewer/MyBitmap.h"
#include "ui/viewer/ViewerMath.h"

using namespace viewertest;

namespace {

// A timer of a second may fire a tick of the system clock early.
const DWORD kOneSecondLessTimerSlack = 950;

// Pumps until the listener was asked for `count` next pictures; a minute guards against none.
bool PumpUntilSteps(const TestListener& listener, int count) {
    for (DWORD begin = ::GetTickCount(); listener.nexts < count && ::GetTickCount() - begin < 60000;) PumpFor(10);
    return listener.nexts == count;
}

class ViewerFixture : public ::testing::Test {
protected:
    ViewerFixture() : host(scratch.Path()), viewer(&host) { host.viewer = &viewer; }
    void SetUp() override {
        frame.reset(new ViewerFrame(viewer));
        PumpFor(50);
    }
    void TearDown() override { frame.reset(); }

    bool ButtonEnabled(UINT id) {
        return ::SendMessageA(viewer.GetToolbar(), TB_ISBUTTONENABLED, id, 0) != 0;
    }
    void Load(const std::string& name) {
        viewer.SetFile(Fixture(name));
        WaitForLoad(viewer);
    }

    testsupport::ScratchDir scratch;
    TestHost host;
    ImageViewer viewer;
    std::unique_ptr<ViewerFrame> frame;
};

}  // namespace

TEST_F(ViewerFixture, BurstOfSelectionChangesDecodesOnlyTheLastFile) {
    EXPECT_EQ(16, ::SendMessageA(viewer.GetToolbar(), TB_BUTTONCOUNT, 0, 0));
    for (UINT id = ID_VIEWER_PREVIOUS; id <= ID_VIEWER_WALLPAPER; ++id) EXPECT_FALSE(ButtonEnabled(id)) << id;
    ASSERT_GE(host.frameCommands.size(), 2u);
    EXPECT_EQ(static_cast<UINT>(ID_IMAGES_FULLSCREEN), host.frameCommands[0].first);
    EXPECT_FALSE(host.frameCommands[0].second);

    viewer.SetFile(Fixture("red.png"));
    viewer.SetFile(Fixture("blue.bmp"));
    viewer.SetFile(Fixture("green.png"));
    for (UINT id = ID_VIEWER_PREVIOUS; id <= ID_VIEWER_WALLPAPER; ++id) EXPECT_TRUE(ButtonEnabled(id)) << id;
    EXPECT_EQ(0, viewer.GetDecodeCount());
    WaitForLoad(viewer);
    EXPECT_EQ(1, viewer.GetDecodeCount());
    EXPECT_EQ("green.png - 160 x 120", viewer.GetHeaderText());
    ASSERT_NE(nullptr, viewer.GetPicture());
    EXPECT_EQ(kViewerShown, viewer.GetLoadStatus());

    // The embedded place shows it centred at its own size.
    Capture shown = CaptureWindow(viewer.GetEmbeddedPlace().GetWindow());
    ASSERT_GT(shown.width, 200);
    EXPECT_TRUE(NearColor(shown.At(shown.width / 2, shown.height / 2), 0x00C000, 8));
    EXPECT_TRUE(NearColor(shown.At(2, 2), ::GetSysColor(COLOR_WINDOW) & 0xFFFFFF, 8) ||
                NearColor(shown.At(2, 2), 0xFFFFFF, 8));

    // An empty path clears everything and cancels a load still pending.
    viewer.SetFile(Fixture("red.png"));
    viewer.SetFile("");
    WaitForLoad(viewer);
    EXPECT_EQ(1, viewer.GetDecodeCount());
    EXPECT_EQ(nullptr, viewer.GetPicture());
    EXPECT_EQ("", viewer.GetHeaderText());
    EXPECT_FALSE(ButtonEnabled(ID_VIEWER_NEXT));
    EXPECT_FALSE(::IsWindowVisible(viewer.GetEmbeddedPlace().GetWindow()));
}

TEST_F(ViewerFixture, MissingFilesAndUnknownFormatsShowTheirMessages) {
    Load("folder.png");
    EXPECT_EQ(kViewerNotFound, viewer.GetLoadStatus());
    EXPECT_EQ("Image is not found in specified path.", viewer.GetEmbeddedPlace().GetMessageText());
    EXPECT_EQ("", viewer.GetHeaderText());
    EXPECT_FALSE(ButtonEnabled(ID_VIEWER_COPY_TO));
    EXPECT_FALSE(ButtonEnabled(ID_VIEWER_EXTERNAL));
    EXPECT_FALSE(ButtonEnabled(ID_VIEWER_BEST_FIT));
    EXPECT_TRUE(ButtonEnabled(ID_VIEWER_NEXT));
    // The context menu then grays the picture items and copy / external viewer.
    viewer.GetEmbeddedPlace().SendMessage(WM_CONTEXTMENU, 0, MAKELPARAM(100, 100));
    ASSERT_EQ(1, host.menusTracked);
    ASSERT_EQ(13u, host.lastMenu.size());
    for (const auto& item : host.lastMenu) {
        const bool grayed = item.id == ID_VIEWER_BEST_FIT || item.id == ID_VIEWER_ACTUAL_SIZE ||
                            item.id == ID_VIEWER_ZOOM_IN || item.id == ID_VIEWER_ZOOM_OUT ||
                            item.id == ID_VIEWER_WALLPAPER || item.id == ID_VIEWER_COPY_TO ||
                            item.id == ID_VIEWER_EXTERNAL;
        EXPECT_EQ(grayed, item.grayed) << item.id;
        EXPECT_EQ(item.id == ID_VIEWER_FULLSCREEN, item.isDefault) << item.id;
    }

    Load("broken.png");
    EXPECT_EQ(kViewerUnknownFormat, viewer.GetLoadStatus());
    EXPECT_EQ("Sorry. Unknown image format.", viewer.GetEmbeddedPlace().GetMessageText());
    EXPECT_EQ(nullptr, viewer.GetPicture());
    EXPECT_TRUE(ButtonEnabled(ID_VIEWER_COPY_TO));

    // A small file claiming a picture beyond what one picture may cost says so, at once.
    for (const char* name : {"bomb.gif", "bomb.jpg"}) {
        Load(name);
        EXPECT_EQ(kViewerTooLarge, viewer.GetLoadStatus()) << name;
        EXPECT_EQ("Sorry. This picture is too large to show.", viewer.GetEmbeddedPlace().GetMessageText()) << name;
        EXPECT_EQ(nullptr, viewer.GetPicture());
        EXPECT_EQ("", viewer.GetHeaderText());
    }

    // An empty path hides the picture but leaves the message.
    viewer.SetFile("");
    EXPECT_EQ("Sorry. This picture is too large to show.", viewer.GetEmbeddedPlace().GetMessageText());
    viewer.GetEmbeddedPlace().SendMessage(WM_CONTEXTMENU, 0, MAKELPARAM(100, 100));
    EXPECT_EQ(1, host.menusTracked) << "no menu without a path";
}

TEST_F(ViewerFixture, CommandsZoomTheVisiblePlaceAndReturnTheFocus) {
    TestListener listener(viewer, {Fixture("large.png"), Fixture("red.png")});
    viewer.SetListener(&listener);
    listener.ShowFirst();
    WaitForLoad(viewer);
    CIVWindow& embedded = viewer.GetEmbeddedPlace().GetWindow();
    const float fit = embedded.GetZoom();
    EXPECT_LT(fit, 1.0f) << "a large picture is shrunk to fit";
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_ACTUAL_SIZE);
    EXPECT_FLOAT_EQ(1.0f, embedded.GetZoom());
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_ZOOM_IN);
    EXPECT_NEAR(1.4142135f, embedded.GetZoom(), 1e-5);
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_BEST_FIT);
    EXPECT_FLOAT_EQ(fit, embedded.GetZoom());
    EXPECT_EQ(3, host.focusCalls);

    viewer.SendMessage(WM_COMMAND, ID_VIEWER_NEXT);
    EXPECT_EQ(1, listener.nexts);
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_PREVIOUS);
    EXPECT_EQ(1, listener.previous);
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_DELETE);
    EXPECT_EQ(1, listener.deletes);
    EXPECT_FALSE(viewer.HandleCommand(ID_IMAGE_INFORMATION));

    // A command chosen in the context menu arrives through the main window's routing.
    WaitForLoad(viewer);
    host.chooseCommand = ID_VIEWER_ZOOM_OUT;
    const float before = embedded.GetZoom();
    viewer.GetEmbeddedPlace().SendMessage(WM_CONTEXTMENU, 0, MAKELPARAM(-1, -1));
    EXPECT_NEAR(before * 0.70710677f, embedded.GetZoom(), 1e-4);

    testsupport::ScriptedPrompts prompts;
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_EXTERNAL);
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_BROWSE_FOLDER);
    ASSERT_EQ(2u, prompts.shellCalls.size());
    EXPECT_EQ(Fixture("large.png"), prompts.shellCalls[0].file);
    EXPECT_EQ("open", prompts.shellCalls[0].verb);
    EXPECT_EQ(Fixture("").substr(0, Fixture("").size() - 1), prompts.shellCalls[1].file);
}

TEST_F(ViewerFixture, FullScreenCoversTheScreenAndOwnsThePrompts) {
    TestListener listener(viewer, {Fixture("red.png"), Fixture("blue.bmp")});
    viewer.SetListener(&listener);
    EXPECT_EQ(0, viewer.ToggleFullScreen()) << "nothing to show yet";
    listener.ShowFirst();
    WaitForLoad(viewer);
    EXPECT_EQ(1, viewer.ToggleFullScreen());
    PumpFor(100);
    HWND full = viewer.GetFullScreenPlace();
    ASSERT_TRUE(viewer.IsFullScreen());
    RECT r;
    ::GetWindowRect(full, &r);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), r.right);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), r.bottom);
    EXPECT_TRUE(::GetWindowLongA(full, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Capture shown = CaptureWindow(viewer.GetFullScreenPlace().GetWindow());
    EXPECT_TRUE(NearColor(shown.At(shown.width / 2, shown.height / 2), 0xFF0000, 8));
    EXPECT_TRUE(NearColor(shown.At(5, 5), 0x000000, 8));

    // Every prompt belongs to the full-screen window while it shows.
    {
        PrintPrompts prompts;
        prompts.messageBoxAnswers = {IDNO};
        viewer.SendMessage(WM_COMMAND, ID_VIEWER_WALLPAPER);
        viewer.SendMessage(WM_COMMAND, ID_VIEWER_EXTERNAL);
        viewer.SendMessage(WM_COMMAND, ID_VIEWER_PRINT);
        ASSERT_EQ(1u, prompts.boxes.size());
        EXPECT_EQ(full, prompts.boxes[0].owner);
        EXPECT_EQ(full, prompts.shellCalls[0].owner);
        EXPECT_EQ(full, prompts.owner);
        EXPECT_EQ(full, viewer.PromptOwner()) << "the owner the picture views use for their delete question";
    }
    // Zoom commands act on the full-screen place.
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_ZOOM_IN);
    EXPECT_NEAR(1.4142135f, viewer.GetFullScreenPlace().GetWindow().GetZoom(), 1e-5);
    EXPECT_FLOAT_EQ(1.0f, viewer.GetEmbeddedPlace().GetWindow().GetZoom());

    // Closing the window (Alt+F4) only leaves full screen; the window stays for next time.
    viewer.GetFullScreenPlace().SendMessage(WM_CLOSE);
    EXPECT_FALSE(viewer.IsFullScreen());
    EXPECT_TRUE(::IsWindow(full));
    EXPECT_EQ(0, listener.shownSelected) << "left on the picture it opened with: the owner's selection stays";
    // A double-click on the picture asks the owner to toggle full screen.
    viewer.GetEmbeddedPlace().GetWindow().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 50));
    EXPECT_EQ(1, listener.toggles);
    EXPECT_TRUE(viewer.IsFullScreen());
    // Moving to another picture in full screen: leaving it puts the owner's selection there.
    listener.ShowNext();
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_FULLSCREEN);
    EXPECT_FALSE(viewer.IsFullScreen());
    EXPECT_EQ(1, listener.shownSelected);
}

TEST_F(ViewerFixture, SlideShowStepsOncePerIntervalAndEscapeStopsIt) {
    host.settings->UseEffects = false;
    TestListener listener(viewer, {Fixture("red.png"), Fixture("blue.bmp"), Fixture("green.png")});
    viewer.SetListener(&listener);
    viewer.StartSlideShow(1);
    EXPECT_FALSE(viewer.IsSlideShowRunning()) << "no path, no slide show";
    listener.ShowFirst();
    WaitForLoad(viewer);
    const DWORD started = ::GetTickCount();
    viewer.StartSlideShow(1);
    EXPECT_TRUE(viewer.IsFullScreen()) << "the slide show opens full screen";
    EXPECT_TRUE(viewer.IsSlideShowRunning());
    // Two steps come, each a second (or more, on a busy machine) after the one before; a minute
    // only guards against none coming.
    EXPECT_TRUE(PumpUntilSteps(listener, 2));
    EXPECT_GE(::GetTickCount() - started, 2 * kOneSecondLessTimerSlack);
    WaitForLoad(viewer);
    EXPECT_EQ("green.png - 160 x 120", viewer.GetHeaderText());
    viewer.LeaveFullScreen();
    EXPECT_FALSE(viewer.IsSlideShowRunning());
    EXPECT_EQ(1, listener.shownSelected) << "the owner's selection follows the picture shown";
    PumpFor(1200);
    EXPECT_EQ(2, listener.nexts);

    // Stored intervals out of range neither spin nor overflow: 0 and below run each second,
    // huge values at the longest interval.
    const DWORD restarted = ::GetTickCount();
    viewer.StartSlideShow(0);
    PumpFor(600);
    EXPECT_EQ(2, listener.nexts);
    EXPECT_TRUE(PumpUntilSteps(listener, 3));
    EXPECT_GE(::GetTickCount() - restarted, kOneSecondLessTimerSlack);
    viewer.StartSlideShow(INT_MAX);
    PumpFor(1300);
    EXPECT_EQ(3, listener.nexts);
    viewer.ToggleFullScreen();
    EXPECT_FALSE(viewer.IsSlideShowRunning());
    EXPECT_EQ(2, listener.shownSelected);
}

TEST_F(ViewerFixture, FullScreenEffectsRunInOrderAndEndOnTheNewPicture) {
    host.settings->UseEffectsInSlideshowOnly = false;
    host.settings->UseRandomEffects = false;
    host.settings->EffectFiles = {Fixture("Effects\\0_down.png"), Fixture("Effects\\1_side.png"),
                                  Fixture("Effects\\2_round.png")};
    TestListener listener(viewer, {Fixture("red.png"), Fixture("blue.bmp"), Fixture("green.png")});
    viewer.SetListener(&listener);
    listener.ShowFirst();
    WaitForLoad(viewer);
    viewer.ToggleFullScreen();
    ImageViewerImagePlace& place = viewer.GetFullScreenPlace();
    EXPECT_EQ(-1, place.GetLastEffectIndex()) << "the first full-screen picture has no transition";

    std::vector<int> used;
    for (int i = 0; i < 5; ++i) {
        const DWORD start = ::GetTickCount();
        listener.ShowNext();
        WaitForLoad(viewer);
        EXPECT_GE(::GetTickCount() - start, 900u) << "each change takes the effect's second";
        used.push_back(place.GetLastEffectIndex());
    }
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0, 0}), used);
    EXPECT_EQ(5, place.GetTransitionCount());

    // The last frame is the new picture: the window shows what a plain render of it gives.
    Capture shown = CaptureWindow(place.GetWindow());
    const uint32_t expected = listener.current == 0 ? 0xFF0000 : listener.current == 1 ? 0x0000FF : 0x00C000;
    EXPECT_TRUE(NearColor(shown.At(shown.width / 2, shown.height / 2), expected, 8));
    EXPECT_TRUE(NearColor(shown.At(3, 3), 0x000000, 8));
    place.GetWindow().Redraw();
    Capture rendered = CaptureWindow(place.GetWindow());
    EXPECT_LT(DifferingShare(shown, rendered, 12), 0.001);

    // With effects kept for the slide show, browsing in full screen has none.
    host.settings->UseEffectsInSlideshowOnly = true;
    listener.ShowNext();
    WaitForLoad(viewer);
    EXPECT_EQ(1, place.GetEffectCounter()) << "no effect was chosen";
    EXPECT_EQ(5, place.GetTransitionCount()) << "no transition was played";
    host.settings->UseEffectsInSlideshowOnly = false;

    // An effect picture that does not decode shows the next picture without a transition.
    host.settings->EffectFiles = {Fixture("broken.png")};
    listener.ShowNext();
    WaitForLoad(viewer);
    EXPECT_NE(1, place.GetEffectCounter()) << "the effect was chosen";
    EXPECT_EQ(5, place.GetTransitionCount()) << "and showed no transition";
    EXPECT_NE(nullptr, viewer.GetPicture());
    viewer.LeaveFullScreen();
}
