#include "ui/viewer/ViewerMath.h"
#include <algorithm>
#include <cmath>

float ClampZoom(float zoom) {
    if (!(zoom >= kMinZoom)) return kMinZoom;  // also NaN
    return zoom > kMaxZoom ? kMaxZoom : zoom;
}

namespace {
bool SizesUsable(int windowW, int windowH, int pictureW, int pictureH) {
    return windowW > 0 && windowH > 0 && pictureW > 0 && pictureH > 0;
}

float FitZoom(int windowW, int windowH, int pictureW, int pictureH) {
    if (!SizesUsable(windowW, windowH, pictureW, pictureH)) return 1.0f;
    return std::min(static_cast<float>(windowW) / pictureW, static_cast<float>(windowH) / pictureH);
}
}  // namespace

float ComputeZoom(float code, float current, int windowW, int windowH, int pictureW, int pictureH,
                  bool& changed) {
    float next = current;
    if (code > 0) {
        next = code;
    } else {
        switch (static_cast<int>(code)) {
        case ZOOM_ACTUAL: next = 1.0f; break;
        case ZOOM_IN: next = std::min(current * 1.4142135f, kMaxZoom); break;
        case ZOOM_OUT: next = std::max(current * 0.70710677f, kMinZoom); break;
        case ZOOM_FIT: next = FitZoom(windowW, windowH, pictureW, pictureH); break;
        case ZOOM_SHRINK_ONLY:
            if (SizesUsable(windowW, windowH, pictureW, pictureH) && (pictureW > windowW || pictureH > windowH))
                next = FitZoom(windowW, windowH, pictureW, pictureH);
            break;
        case ZOOM_ENLARGE_ONLY:
            if (SizesUsable(windowW, windowH, pictureW, pictureH) && pictureW < windowW && pictureH < windowH)
                next = FitZoom(windowW, windowH, pictureW, pictureH);
            break;
        case ZOOM_FILL:
            next = SizesUsable(windowW, windowH, pictureW, pictureH)
                       ? std::max(static_cast<float>(windowW) / pictureW, static_cast<float>(windowH) / pictureH)
                       : 1.0f;
            break;
        default: next = code; break;
        }
    }
    next = ClampZoom(next);
    changed = next != current;
    return next;
}

int ScaledLength(int length, float zoom) {
    const double scaled = std::ceil(static_cast<double>(length) * zoom);
    return scaled > 1e9 ? 1000000000 : static_cast<int>(scaled);
}

int AlignedPosition(int area, int scaled, int alignment) {
    if (alignment == 2) return (area - scaled + 1) / 2;
    if (alignment == 4) return area - scaled + 1;
    return 0;
}

int LowestOffset(int window, int picture, float zoom) {
    const double room = static_cast<double>(window) - static_cast<double>(picture) * zoom;
    if (room >= 0) return 0;
    return room < -1e9 ? -1000000000 : static_cast<int>(room);
}

int ClampOffset(int offset, int window, int picture, float zoom) {
    const int lowest = LowestOffset(window, picture, zoom);
    return std::max(lowest, std::min(0, offset));
}

int OffsetKeepingCentre(int base, int window, float oldZoom, float newZoom) {
    const double half = window / 2.0;
    const double offset = std::floor(newZoom * ((base - half) / oldZoom) + half);
    return static_cast<int>(std::max(-1e9, std::min(1e9, offset)));
}

float ZoomForRect(int l, int t, int r, int b, int windowW, int windowH, float zoom, bool& changed) {
    const int w = r - l + 1, h = b - t + 1;
    float next = zoom;
    if (w > 1 && h > 1 && windowW > 0 && windowH > 0) {
        next = zoom / std::max(static_cast<float>(w) / windowW, static_cast<float>(h) / windowH);
    } else if (zoom == kMaxZoom) {
        next = 1.0f;
    }
    next = ClampZoom(next);
    changed = next != zoom;
    return next;
}

int WheelScrollPixels(int delta) { return 10 * static_cast<int>(2 * delta / 120); }

int WheelZoomSteps(int delta) { return static_cast<int>(delta / -120); }

int ArrowScrollStep(float zoom) { return static_cast<int>(std::ceil(zoom * 10.0f)); }

void ApplyScrollModifiers(int& dx, int& dy, float zoom, bool ctrl, bool shift) {
    if (ctrl) {
        const int unit = std::max(1, static_cast<int>(std::floor(zoom)));
        if (dx) dx = dx > 0 ? unit : -unit;
        if (dy) dy = dy > 0 ? unit : -unit;
    }
    if (shift) {
        dx *= 4;
        dy *= 4;
    }
}

PrintPlacement FitPictureOnPage(int pictureW, int pictureH, int pageW, int pageH) {
    PrintPlacement p = {0, 0, pictureW, pictureH};
    if (pictureW <= 0 || pictureH <= 0 || pageW <= 0 || pageH <= 0) return p;
    // 64-bit products: a page of many thousand dots times a picture side can pass 2^31.
    auto scale = [](int64_t page, int64_t other, int64_t old) { return static_cast<int>(page * other / old); };
    int w = pictureW, h = pictureH;
    if (w < pageW && h < pageH) {
        if (h > w) {
            w = scale(pageH, w, h);
            h = pageH;
        } else {
            h = scale(pageW, h, w);
            w = pageW;
        }
    }
    if (w > pageW) {
        h = scale(pageW, h, w);
        w = pageW;
    }
    if (h > pageH) {
        w = scale(pageH, w, h);
        h = pageH;
    }
    p.width = w;
    p.height = h;
    p.left = static_cast<int>(std::floor(pageW * 0.5 - w * 0.5));
    p.top = static_cast<int>(std::floor(pageH * 0.5 - h * 0.5));
    return p;
}

unsigned SlideShowIntervalMs(int32_t seconds) {
    const int32_t clamped = std::max<int32_t>(1, std::min<int32_t>(100, seconds));
    return static_cast<unsigned>(clamped) * 1000u;
}

int NextSequentialEffect(int count, int& counter) {
    int index = counter++;
    if (index >= count || index < 0) {
        index = 0;
        counter = 0;
    }
    return index;
}

int RandomEffectIndex(int count, int random) {
    const int index = static_cast<int>(static_cast<int64_t>(count) * random / 32767);
    return (index >= count || index < 0) ? 0 : index;
}

std::string WallpaperFileName(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    return (dot == std::string::npos ? fileName : fileName.substr(0, dot)) + ".bmp";
}

PictureSpan VisibleSpan(int targetStart, int targetLength, int visibleStart, int visibleEnd, int sourceLength) {
    PictureSpan whole = {0, sourceLength, targetStart, targetLength};
    if (targetLength <= 0 || sourceLength <= 0) return whole;
    const double perSource = static_cast<double>(targetLength) / sourceLength;
    const int first = std::max(0, static_cast<int>(std::floor((visibleStart - targetStart) / perSource)));
    const int end = std::min(sourceLength, static_cast<int>(std::ceil((visibleEnd - targetStart) / perSource)));
    if (first == 0 && end == sourceLength) return whole;
    if (end <= first) return PictureSpan{first, 0, targetStart, 0};
    // Where the whole stretch puts those source pixels, to the nearest target pixel.
    const int from = targetStart + static_cast<int>(std::lround(first * perSource));
    const int to = targetStart + static_cast<int>(std::lround(end * perSource));
    return PictureSpan{first, end - first, from, to - from};
}
