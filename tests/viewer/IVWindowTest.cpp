// The viewer window through real messages: keys, wheel, dragging, the zoom rectangle, losing
// the mouse capture, and transitions that end on the new picture and give back their frames.
#include <gtest/gtest.h>
#include "core/PerformanceTimer.h"
#include "imaging/DibHelpers.h"
#include "imaging/IProgressInfo.h"
#include "tests/support/GdiLedger.h"
#include "tests/viewer/ViewerTestSupport.h"
#include "ui/viewer/IVWindow.h"
#include "ui/viewer/ViewerMath.h"

using namespace viewertest;

namespace {

// A top-level window holding one CIVWindow of 400 x 300 client pixels.
class WindowFixture : public ::testing::Test {
protected:
    class Holder : public CWindowImplBase {
    public:
        DECLARE_WND_CLASS("Bkf_IVWindowTestHolder")
        BEGIN_MSG_MAP(Holder)
            MESSAGE_HANDLER(WM_APP + 5, OnTakeCapture)
        END_MSG_MAP()
        LRESULT OnTakeCapture(UINT, WPARAM, LPARAM, BOOL&) {
            ::SetCapture(m_hWnd);  // another window takes the mouse
            return 0;
        }
    };

    void SetUp() override {
        RECT r = {40, 40, 40 + 400, 40 + 300};
        ::AdjustWindowRectEx(&r, WS_POPUP | WS_VISIBLE, FALSE, 0);
        holder.Create(nullptr, &r, "holder", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
        RECT client = {0, 0, 399, 299};  // the back buffer is one pixel larger: 400 x 300
        window.Create(holder, &client, "", WS_CHILD | WS_VISIBLE);
        handler.features = IVH_ALL;
        window.SetHandler(&handler);
        window.GetBackground().color1 = RGB(0, 0, 0);
        PumpFor(50);
    }
    void TearDown() override {
        BYTE keys[256] = {};
        ::SetKeyboardState(keys);
        window.DestroyWindow();
        holder.DestroyWindow();
    }

    void Show(int width, int height, COLORREF colour) {
        CIVImage image;
        image.SetBitmap(MakeSolidBitmap(width, height, colour));
        image.flags = IVF_CENTER_H | IVF_CENTER_V;
        window.SetPicture(image);
        window.SetZoom(ZOOM_ACTUAL);
        window.SetOffset(0, 0);
        window.Redraw();
    }
    void HoldKey(int key, bool down) {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[key] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam) { return window.SendMessage(msg, wParam, lParam); }

    Holder holder;
    CIVWindow window;
    CIVWindowHandler handler{&window};
};

}  // namespace

TEST_F(WindowFixture, KeypadZoomsAndArrowsScrollWithCtrlAndShift) {
    Show(1600, 1200, RGB(200, 100, 50));
    ASSERT_EQ(400, window.GetViewSize().cx);
    Send(WM_KEYDOWN, VK_ADD, 0);
    EXPECT_NEAR(1.4142135f, window.GetZoom(), 1e-5);
    Send(WM_KEYDOWN, VK_SUBTRACT, 0);
    Send(WM_KEYDOWN, VK_SUBTRACT, 0);
    EXPECT_NEAR(0.70710677f, window.GetZoom(), 1e-5);
    Send(WM_KEYDOWN, VK_MULTIPLY, 0);
    EXPECT_FLOAT_EQ(0.25f, window.GetZoom());
    Send(WM_KEYDOWN, VK_DIVIDE, 0);
    EXPECT_FLOAT_EQ(1.0f, window.GetZoom());
    window.SetOffset(-100, -100);

    // Right arrow: the picture moves left by ceil(zoom x 10) per tick of the scroll timer.
    Send(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_TRUE(handler.IsScrolling());
    ::KillTimer(window, kScrollTimerId);  // the test ticks by hand
    const int x0 = window.GetOffset().x;
    Send(WM_TIMER, kScrollTimerId, 0);
    EXPECT_EQ(x0 - 10, window.GetOffset().x);
    HoldKey(VK_CONTROL, true);
    Send(WM_TIMER, kScrollTimerId, 0);
    EXPECT_EQ(x0 - 11, window.GetOffset().x) << "Ctrl: floor(zoom) pixels";
    HoldKey(VK_CONTROL, false);
    HoldKey(VK_SHIFT, true);
    Send(WM_TIMER, kScrollTimerId, 0);
    EXPECT_EQ(x0 - 51, window.GetOffset().x) << "Shift: four times the step";
    HoldKey(VK_SHIFT, false);
    // Up arrow scrolls the other axis towards the top, which stops at 0.
    Send(WM_KEYDOWN, VK_UP, 0);
    ::KillTimer(window, kScrollTimerId);
    for (int i = 0; i < 20; ++i) Send(WM_TIMER, kScrollTimerId, 0);
    EXPECT_EQ(0, window.GetOffset().y);
    // Letting go of both keys stops the timer.
    Send(WM_KEYUP, VK_RIGHT, 0);
    EXPECT_TRUE(handler.IsScrolling());
    Send(WM_KEYUP, VK_UP, 0);
    EXPECT_FALSE(handler.IsScrolling());
}

TEST_F(WindowFixture, WheelZoomsAndAltWheelScrolls) {
    Show(1600, 1200, RGB(10, 200, 10));
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(100, 100));
    EXPECT_NEAR(1.4142135f, window.GetZoom(), 1e-5);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), MAKELPARAM(100, 100));
    EXPECT_NEAR(0.70710677f, window.GetZoom(), 1e-5);
    Send(WM_KEYDOWN, VK_DIVIDE, 0);
    window.SetOffset(-300, -300);

    HoldKey(VK_MENU, true);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(-320, window.GetOffset().y);
    Send(WM_MOUSEWHEEL, MAKEWPARAM(MK_RBUTTON, static_cast<WORD>(240)), 0);
    EXPECT_EQ(-260, window.GetOffset().x) << "right button held: horizontal";
    EXPECT_FLOAT_EQ(1.0f, window.GetZoom()) << "Alt+wheel does not zoom";
}

TEST_F(WindowFixture, DragMovesALargePictureAndEndsWhenTheCaptureIsLost) {
    Show(1600, 1200, RGB(0, 0, 200));
    window.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 100));
    window.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 70));
    window.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(60, 70));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(-40, window.GetOffset().x);
    EXPECT_EQ(-30, window.GetOffset().y);
    EXPECT_EQ(IVM_IDLE, handler.GetMouseState());
    EXPECT_NE(window.m_hWnd, ::GetCapture());

    // Another window takes the mouse during a drag: the drag ends, cancelled.
    window.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 100));
    holder.PostMessage(WM_APP + 5);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(-40, window.GetOffset().x) << "a cancelled drag restores the offset";
    EXPECT_EQ(IVM_IDLE, handler.GetMouseState());
    ::ReleaseCapture();

    // A right button cancels as well.
    window.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
    window.PostMessage(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(10, 10));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_EQ(-40, window.GetOffset().x);
}

TEST_F(WindowFixture, SmallPictureIsCentredAndADragZoomsToTheRectangle) {
    Show(100, 80, RGB(250, 250, 0));
    const RECT place = window.GetPicturePlacement();
    EXPECT_EQ(150, place.left);
    EXPECT_EQ(110, place.top);
    EXPECT_FALSE(window.ScrollBy(-10, -10));

    window.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 140));
    window.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(200, 140));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(160, 120));
    // 41 x 21 pixels to fill 400 x 300: 400 / 41.
    EXPECT_NEAR(400.0f / 41.0f, window.GetZoom(), 1e-3);
    EXPECT_EQ(IVM_IDLE, handler.GetMouseState());

    // The zoom rectangle ends, changing nothing, when another window takes the mouse.
    const float zoomed = window.GetZoom();
    window.SetZoom(ZOOM_ACTUAL);
    window.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 140));
    holder.PostMessage(WM_APP + 5);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(160, 120));
    EXPECT_FLOAT_EQ(1.0f, window.GetZoom());
    EXPECT_EQ(IVM_IDLE, handler.GetMouseState());
    ::ReleaseCapture();
    EXPECT_GT(zoomed, 9.0f);

    // A click with Alt at the top zoom goes back to 1.0; at another zoom it changes nothing.
    window.SetZoom(50.0f);
    HoldKey(VK_MENU, true);
    window.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(200, 150));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 150));
    EXPECT_FLOAT_EQ(1.0f, window.GetZoom());
    window.SetZoom(3.0f);
    window.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(200, 150));
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 150));
    EXPECT_FLOAT_EQ(3.0f, window.GetZoom());
}

namespace {
class StopAtOnce : public IProgressInfo {
public:
    int calls = 0;
    int OnProgress(double) override { return ++calls, 0; }
};
}  // namespace

TEST_F(WindowFixture, TransitionEndsOnTheNewPictureEvenWhenStoppedEarly) {
    Show(200, 150, RGB(255, 0, 0));
    HBITMAP mask = CreateDibSection24(nullptr, 64, 64);
    GradientFillDibRect(mask, nullptr, RGB(0, 0, 0), RGB(255, 255, 255));

    CIVImage next;
    next.SetBitmap(MakeSolidBitmap(300, 200, RGB(0, 0, 255)));
    next.flags = IVF_VIEWER_PICTURE;
    TransitionEffect effect;
    effect.mask = mask;
    effect.duration = 0.3f;
    const DWORD start = ::GetTickCount();
    EXPECT_TRUE(window.ShowWithTransition(next, effect, nullptr));
    // Paced to its duration: never shorter (a busy machine only makes it longer).
    EXPECT_GE(::GetTickCount() - start, 200u);
    Capture shown = CaptureWindow(window);
    EXPECT_TRUE(NearColor(shown.At(200, 150), 0x0000FF, 8));
    EXPECT_TRUE(NearColor(shown.At(10, 10), 0x000000, 8));
    EXPECT_TRUE(NearColor(shown.At(51, 51), 0x0000FF, 8));
    EXPECT_TRUE(NearColor(shown.At(49, 51), 0x000000, 8));

    // Stopped by the progress object after the first step: the whole new view still shows.
    CIVImage third;
    third.SetBitmap(MakeSolidBitmap(300, 200, RGB(0, 255, 0)));
    third.flags = IVF_VIEWER_PICTURE;
    effect.duration = 5.0f;
    StopAtOnce stop;
    EXPECT_TRUE(window.ShowWithTransition(third, effect, &stop));
    EXPECT_EQ(1, stop.calls);
    shown = CaptureWindow(window);
    EXPECT_TRUE(NearColor(shown.At(200, 150), 0x00FF00, 8));
    EXPECT_TRUE(NearColor(shown.At(60, 60), 0x00FF00, 8));

    // A coarse clock gives laps of zero: the steps go on without sleeping on them. Sleeping on
    // such a lap never ends; the minute only guards against that.
    PerformanceTimerUseMillisecondClock(true);
    CIVImage fourth;
    fourth.SetBitmap(MakeSolidBitmap(300, 200, RGB(255, 0, 255)));
    fourth.flags = IVF_VIEWER_PICTURE;
    effect.duration = 0.3f;
    const DWORD coarseStart = ::GetTickCount();
    EXPECT_TRUE(window.ShowWithTransition(fourth, effect, nullptr));
    EXPECT_LT(::GetTickCount() - coarseStart, 60000u);
    PerformanceTimerUseMillisecondClock(false);
    EXPECT_TRUE(NearColor(CaptureWindow(window).At(200, 150), 0xFF00FF, 8));

    // No mask: the picture simply replaces the old one.
    CIVImage plain;
    plain.SetBitmap(MakeSolidBitmap(30, 20, RGB(255, 255, 255)));
    plain.flags = IVF_VIEWER_PICTURE;
    EXPECT_FALSE(window.ShowWithTransition(plain, TransitionEffect(), nullptr));
    EXPECT_EQ(30, window.GetPicture().GetSize().cx);
    ::DeleteObject(mask);
}

TEST_F(WindowFixture, TransitionsAndRepaintsGiveBackEveryFrameAndDeviceContext) {
    testsupport::GdiLedger ledger;
    ASSERT_TRUE(ledger.Ok());
    HBITMAP mask = CreateDibSection24(nullptr, 64, 64);
    GradientFillDibRect(mask, nullptr, RGB(0, 0, 0), RGB(255, 255, 255));
    // Each picture replaces the last: the window holds one picture and its back buffer.
    auto showNext = [&](COLORREF colour, bool masked, bool stretched) {
        CIVImage next;
        next.SetBitmap(MakeSolidBitmap(300, 200, colour));
        next.flags = IVF_VIEWER_PICTURE;
        TransitionEffect effect;
        effect.mask = masked ? mask : nullptr;
        effect.stretchToFill = stretched;
        effect.duration = 5.0f;
        StopAtOnce stop;
        EXPECT_EQ(masked, window.ShowWithTransition(next, effect, &stop));
        ::InvalidateRect(window, nullptr, FALSE);
        ::UpdateWindow(window);
    };
    showNext(RGB(255, 0, 0), true, false);
    const testsupport::GdiCounts settled = ledger.Counts();
    EXPECT_EQ(0, settled.paints);
    const COLORREF colours[] = {RGB(0, 0, 255), RGB(0, 255, 0), RGB(255, 0, 255)};
    for (int round = 0; round < 3; ++round) {
        showNext(colours[round], round != 1, round == 2);
        const testsupport::GdiCounts now = ledger.Counts();
        EXPECT_EQ(settled.objects, now.objects) << "round " << round;
        EXPECT_EQ(settled.deviceContexts, now.deviceContexts) << "round " << round;
        EXPECT_EQ(settled.paints, now.paints) << "round " << round;
    }
    EXPECT_TRUE(NearColor(CaptureWindow(window).At(200, 150), 0xFF00FF, 8));
    ::DeleteObject(mask);
}
