// The viewer's arithmetic at its limits: zoom steps, fits, rectangles, scrolling, print fit,
// the slide-show interval, the effect order and the wallpaper name.
#include <gtest/gtest.h>
#include <climits>
#include "ui/viewer/ViewerMath.h"

TEST(ViewerMath, ZoomStepsStopAtTheLimitsAndFitsNeedSizes) {
    bool changed = false;
    EXPECT_FLOAT_EQ(50.0f, ComputeZoom(ZOOM_IN, 40.0f, 100, 100, 10, 10, changed));
    EXPECT_TRUE(changed);
    ComputeZoom(ZOOM_IN, 50.0f, 100, 100, 10, 10, changed);
    EXPECT_FALSE(changed);
    EXPECT_FLOAT_EQ(0.05f, ComputeZoom(ZOOM_OUT, 0.06f, 100, 100, 10, 10, changed));
    EXPECT_NEAR(1.4142135f, ComputeZoom(ZOOM_IN, 1.0f, 0, 0, 0, 0, changed), 1e-6);
    EXPECT_FLOAT_EQ(1.0f, ComputeZoom(ZOOM_ACTUAL, 3.0f, 0, 0, 0, 0, changed));

    // Fit: the smaller ratio; sizes of 0 give 1.0.
    EXPECT_FLOAT_EQ(0.5f, ComputeZoom(ZOOM_FIT, 1.0f, 400, 300, 800, 400, changed));
    EXPECT_FLOAT_EQ(1.0f, ComputeZoom(ZOOM_FIT, 2.0f, 400, 300, 0, 400, changed));
    EXPECT_TRUE(changed);
    // Shrink only: a picture that fits keeps its zoom; a larger one is fitted.
    EXPECT_FLOAT_EQ(1.0f, ComputeZoom(ZOOM_SHRINK_ONLY, 1.0f, 400, 300, 200, 100, changed));
    EXPECT_FALSE(changed);
    EXPECT_FLOAT_EQ(0.75f, ComputeZoom(ZOOM_SHRINK_ONLY, 1.0f, 400, 300, 200, 400, changed));
    // Enlarge only: only pictures narrower and lower than the window.
    EXPECT_FLOAT_EQ(2.0f, ComputeZoom(ZOOM_ENLARGE_ONLY, 1.0f, 400, 300, 200, 100, changed));
    EXPECT_FLOAT_EQ(1.0f, ComputeZoom(ZOOM_ENLARGE_ONLY, 1.0f, 400, 300, 500, 100, changed));
    EXPECT_FLOAT_EQ(3.0f, ComputeZoom(ZOOM_FILL, 1.0f, 400, 300, 200, 100, changed));
    // Values of their own are clamped.
    EXPECT_FLOAT_EQ(50.0f, ComputeZoom(1000.0f, 1.0f, 1, 1, 1, 1, changed));
    EXPECT_FLOAT_EQ(0.05f, ComputeZoom(-100.0f, 1.0f, 1, 1, 1, 1, changed));
}

TEST(ViewerMath, RectangleZoomAndAClickAtTheTopZoom) {
    bool changed = false;
    EXPECT_FLOAT_EQ(4.0f, ZoomForRect(0, 0, 99, 49, 400, 300, 1.0f, changed));
    // A click: back to 1.0 from the top zoom, otherwise nothing.
    EXPECT_FLOAT_EQ(1.0f, ZoomForRect(5, 5, 5, 5, 400, 300, 50.0f, changed));
    EXPECT_TRUE(changed);
    EXPECT_FLOAT_EQ(3.0f, ZoomForRect(5, 5, 5, 5, 400, 300, 3.0f, changed));
    EXPECT_FALSE(changed);
    EXPECT_FLOAT_EQ(50.0f, ZoomForRect(0, 0, 1, 1, 400, 300, 40.0f, changed));
}

TEST(ViewerMath, PlacementScrollingAndSteps) {
    EXPECT_EQ(150, AlignedPosition(400, 100, 2));
    EXPECT_EQ(301, AlignedPosition(400, 100, 4));
    EXPECT_EQ(0, AlignedPosition(400, 100, 0));
    EXPECT_EQ(101, ScaledLength(100, 1.001f));
    // A picture smaller than the window cannot be scrolled; a larger one within its size.
    EXPECT_EQ(0, ClampOffset(-50, 400, 100, 1.0f));
    EXPECT_EQ(-200, ClampOffset(-500, 400, 600, 1.0f));
    EXPECT_EQ(0, ClampOffset(30, 400, 600, 1.0f));
    EXPECT_EQ(-150, OffsetKeepingCentre(0, 300, 1.0f, 2.0f));

    EXPECT_EQ(20, WheelScrollPixels(120));
    EXPECT_EQ(-40, WheelScrollPixels(-240));
    EXPECT_EQ(-1, WheelZoomSteps(120));
    EXPECT_EQ(2, WheelZoomSteps(-240));
    EXPECT_EQ(0, WheelZoomSteps(60));

    EXPECT_EQ(15, ArrowScrollStep(1.41f));
    int dx = -15, dy = 0;
    ApplyScrollModifiers(dx, dy, 3.7f, true, false);
    EXPECT_EQ(-3, dx);
    EXPECT_EQ(0, dy);
    dx = 10, dy = -10;
    ApplyScrollModifiers(dx, dy, 0.2f, true, true);
    EXPECT_EQ(4, dx);
    EXPECT_EQ(-4, dy);
}

TEST(ViewerMath, PrintFitEnlargesSmallPicturesAndShrinksLargeOnesCentred) {
    // Small and higher than wide: to the page height.
    PrintPlacement p = FitPictureOnPage(100, 200, 1000, 1400);
    EXPECT_EQ(700, p.width);
    EXPECT_EQ(1400, p.height);
    EXPECT_EQ(150, p.left);
    EXPECT_EQ(0, p.top);
    // Small and wide: to the page width.
    p = FitPictureOnPage(200, 100, 1000, 1400);
    EXPECT_EQ(1000, p.width);
    EXPECT_EQ(500, p.height);
    EXPECT_EQ(450, p.top);
    // Small and higher than wide on a wide page: to the page height.
    p = FitPictureOnPage(100, 120, 1400, 1000);
    EXPECT_EQ(833, p.width);
    EXPECT_EQ(1000, p.height);
    // Larger than the page.
    p = FitPictureOnPage(5000, 1000, 1000, 1400);
    EXPECT_EQ(1000, p.width);
    EXPECT_EQ(200, p.height);
    EXPECT_EQ(600, p.top);
    // Huge sizes do not overflow.
    p = FitPictureOnPage(60000, 50000, 40000, 40000);
    EXPECT_EQ(40000, p.width);
    EXPECT_EQ(33333, p.height);
}

TEST(ViewerMath, SlideShowIntervalIsClampedToTheOptionsRange) {
    EXPECT_EQ(5000u, SlideShowIntervalMs(5));
    EXPECT_EQ(1000u, SlideShowIntervalMs(0));
    EXPECT_EQ(1000u, SlideShowIntervalMs(-7));
    EXPECT_EQ(100000u, SlideShowIntervalMs(INT_MAX));
}

TEST(ViewerMath, SequentialEffectsRunInTheirOrderAndRandomOnesStayInRange) {
    int counter = 0;
    std::vector<int> order;
    for (int i = 0; i < 9; ++i) order.push_back(NextSequentialEffect(3, counter));
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0, 0, 1, 2, 0, 0}), order);
    EXPECT_EQ(0, RandomEffectIndex(3, 0));
    EXPECT_EQ(2, RandomEffectIndex(3, 32766));
    EXPECT_EQ(0, RandomEffectIndex(3, 32767));
}

TEST(ViewerMath, WallpaperNameDropsOnlyTheLastExtension) {
    EXPECT_EQ("a.b.bmp", WallpaperFileName("a.b.jpg"));
    EXPECT_EQ("noext.bmp", WallpaperFileName("noext"));
}

TEST(ViewerMath, VisibleSpanCutsAStretchToWhatIsSeen) {
    // The whole picture in view: exactly the whole stretch.
    PictureSpan whole = VisibleSpan(10, 400, 0, 640, 8000);
    EXPECT_EQ(0, whole.sourceStart);
    EXPECT_EQ(8000, whole.sourceLength);
    EXPECT_EQ(10, whole.targetStart);
    EXPECT_EQ(400, whole.targetLength);
    // Zoom 2, scrolled 4000 pixels in, a window of 640: 320 source pixels, landing at 0.
    PictureSpan zoomed = VisibleSpan(-4000, 16000, 0, 640, 8000);
    EXPECT_EQ(2000, zoomed.sourceStart);
    EXPECT_EQ(320, zoomed.sourceLength);
    EXPECT_EQ(0, zoomed.targetStart);
    EXPECT_EQ(640, zoomed.targetLength);
    // Zoom 1.5: the cut widens to whole source pixels, placed where the whole stretch puts them.
    PictureSpan odd = VisibleSpan(-301, 1500, 0, 100, 1000);
    EXPECT_EQ(200, odd.sourceStart);
    EXPECT_EQ(68, odd.sourceLength);
    EXPECT_EQ(-1, odd.targetStart);
    EXPECT_EQ(102, odd.targetLength);
    // At actual size the cut is exact.
    PictureSpan actual = VisibleSpan(-3680, 8000, 0, 641, 8000);
    EXPECT_EQ(3680, actual.sourceStart);
    EXPECT_EQ(641, actual.sourceLength);
    EXPECT_EQ(0, actual.targetStart);
    EXPECT_EQ(641, actual.targetLength);
}
