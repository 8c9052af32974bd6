// The masked change from the picture shown to the next one: the old and new views are rendered
// into two frames and the new one spreads over the old in the order of the mask, paced so that
// the whole change takes the effect's duration.
#include <algorithm>
#include <cmath>
#include "core/PerformanceTimer.h"
#include "framework/GdiHolders.h"
#include "imaging/DibHelpers.h"
#include "imaging/IProgressInfo.h"
#include "ui/viewer/IVWindow.h"

namespace {

// Renders the window's current view into a new 24-bit frame of the view's size.
GdiObject<HBITMAP> RenderFrame(CIVWindow& window, SIZE size) {
    GdiObject<HBITMAP> frame(CreateDibSection24(nullptr, size.cx, size.cy));
    if (!frame) return frame;
    MemoryDc memory(nullptr, frame.Get());
    window.RenderTo(memory.Get(), size.cx, size.cy);
    return frame;
}

void SleepSeconds(double seconds) {
    if (seconds > 0) ::Sleep(static_cast<DWORD>(std::floor(seconds * 1000.0)));
}

}  // namespace

bool CIVWindow::ShowWithTransition(CIVImage& picture, const TransitionEffect& effect, IProgressInfo* progress) {
    const SIZE size = viewSize_;
    const GdiObject<HBITMAP> oldFrame =
        effect.mask && size.cx > 0 && size.cy > 0 ? RenderFrame(*this, size) : GdiObject<HBITMAP>();
    SetPicture(picture);
    // The new picture starts unzoomed, so the last frame is the view its holder then settles on.
    zoom_ = 1.0f;
    offsetX_ = offsetY_ = 0;
    ApplyAutoZoom(false);
    const GdiObject<HBITMAP> newFrame = oldFrame ? RenderFrame(*this, size) : GdiObject<HBITMAP>();
    GdiObject<HBITMAP> mask;
    if (newFrame)
        mask.Reset(effect.stretchToFill ? ScaleBitmapToFill(effect.mask, size.cx, size.cy, 0, 0)
                                        : ScaleBitmapToSize(effect.mask, size.cx, size.cy));
    if (!mask) {
        Redraw();
        return false;
    }

    const int busy = effect.busyShare;
    const double pauseFactor = busy > 0 ? static_cast<double>((100 - busy) * 1000 / busy) : 0;
    const double longestPause = effect.duration * 0.1;  // seconds
    const int end = 256 - effect.edgeWidth;
    double level = 1.0;
    double remaining = effect.duration;
    PerformanceTimer(TIMER_ELAPSED);  // starts the lap

    if (end > 1) {
        for (;;) {
            BlendTransitionStep(oldFrame.Get(), newFrame.Get(), mask.Get(), static_cast<int>(level), effect.edgeWidth,
                                3);
            ShowBitmap(oldFrame.Get());
            double lap = PerformanceTimer(TIMER_ELAPSED);
            if (busy > 0 && busy < 100) {
                SleepSeconds(std::min(lap * pauseFactor / 1000.0, longestPause));
                lap += PerformanceTimer(TIMER_ELAPSED);
            }
            const double step = remaining > 0 ? lap * (end - level) / remaining : end - level;
            level += step;
            remaining -= lap;
            if (remaining < 0) break;
            // A step of less than one mask level draws nothing new: wait for about one level.
            // A lap of zero (a coarse clock) gives no rate to wait by, so it never sleeps.
            if (lap > 0 && step > 0 && step < 1) SleepSeconds(std::min(lap / step, longestPause));
            if (progress && !progress->OnProgress(end / level)) break;
            if (!IsWindow()) break;  // closed while the progress object pumped messages
            if (level >= end) break;
        }
    }
    Redraw();  // the final view, whole, however early the steps stopped
    return true;
}
