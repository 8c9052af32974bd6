#pragma once
// The viewer's display arithmetic: zoom steps and limits, picture placement, scrolling limits,
// wheel and key steps, the page fit of a print, the slide-show interval, the effect order and
// the wallpaper file name.
// Plain functions, so tests check them without a window.
#include <cstdint>
#include <string>

// Zoom codes of CIVWindow::SetZoom; any positive value is a zoom of its own.
enum ZoomCode {
    ZOOM_ACTUAL = -1,
    ZOOM_IN = -2,
    ZOOM_OUT = -3,
    ZOOM_FIT = -4,
    ZOOM_SHRINK_ONLY = -5,
    ZOOM_ENLARGE_ONLY = -6,
    ZOOM_FILL = -7
};

const float kMinZoom = 0.05f;
const float kMaxZoom = 50.0f;

float ClampZoom(float zoom);

// The zoom a code gives for a picture of pictureW x pictureH (at zoom 1) in a window of
// windowW x windowH; `changed` is false when the code leaves the zoom as it is.
float ComputeZoom(float code, float current, int windowW, int windowH, int pictureW, int pictureH,
                  bool& changed);

// Size of a picture side at a zoom: ceil(size x zoom).
int ScaledLength(int length, float zoom);

// Position of a picture side of `scaled` pixels in an area of `area` pixels by the alignment
// bits of that axis: centre (value 2) or far edge (value 4) or near edge.
int AlignedPosition(int area, int scaled, int alignment);

// The lowest scroll offset of an axis: min(0, window - picture x zoom), truncated.
int LowestOffset(int window, int picture, float zoom);
int ClampOffset(int offset, int window, int picture, float zoom);

// The offset that keeps the window's centre on the same picture point when the zoom changes;
// `base` is the picture's current left (or top) edge.
int OffsetKeepingCentre(int base, int window, float oldZoom, float newZoom);

// The zoom that shows the rectangle l..r x t..b (inclusive, window coordinates) in the window;
// a click (one pixel) at the top zoom goes back to 1.0. `changed` false: the zoom stays.
float ZoomForRect(int l, int t, int r, int b, int windowW, int windowH, float zoom, bool& changed);

// Wheel: pixels of one Alt+wheel scroll (20 per notch), and zoom steps (> 0 out, < 0 in).
int WheelScrollPixels(int delta);
int WheelZoomSteps(int delta);

// Arrow-key scroll step at a zoom: ceil(zoom x 10).
int ArrowScrollStep(float zoom);
// Ctrl: each non-zero component becomes its sign x floor(zoom), at least 1; Shift: x 4.
void ApplyScrollModifiers(int& dx, int& dy, float zoom, bool ctrl, bool shift);

// One axis of a picture stretched from sourceLength pixels onto targetLength pixels at
// targetStart: the source pixels that cover visibleStart..visibleEnd (exclusive) and where they
// land. The whole picture gives exactly the whole stretch.
struct PictureSpan {
    int sourceStart, sourceLength, targetStart, targetLength;
};
PictureSpan VisibleSpan(int targetStart, int targetLength, int visibleStart, int visibleEnd, int sourceLength);

// Print fit: the picture's size on a page of pageW x pageH and its centred left/top.
struct PrintPlacement {
    int left, top, width, height;
};
PrintPlacement FitPictureOnPage(int pictureW, int pictureH, int pageW, int pageH);

// The slide-show interval in milliseconds, from seconds clamped to the options' 1..100.
unsigned SlideShowIntervalMs(int32_t seconds);

// The next effect file of `count` in sequence; `counter` is the place's counter.
int NextSequentialEffect(int count, int& counter);
// A random effect: count x random / 32767 (random in 0..32767), 0 when that is out of range.
int RandomEffectIndex(int count, int random);

// The wallpaper file of a picture: its name cut before the last '.', then ".bmp".
std::string WallpaperFileName(const std::string& fileName);
