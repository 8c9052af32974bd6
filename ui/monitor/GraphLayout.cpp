#include "ui/monitor/GraphLayout.h"

#include <algorithm>
#include <cmath>

#include "ui/monitor/SpeedSamples.h"

namespace graphlayout {

bool HasPlot(const RECT& client) {
    return client.right - client.left > 64 && client.bottom - client.top >= 30;
}

RECT PlotRect(const RECT& client) {
    RECT plot = {client.left + 60, client.top + 10, client.right - 5, client.bottom - 20};
    return plot;
}

double ScaleMax(const SpeedSampleRing& samples, const RECT& plot) {
    double largest = 0.0;
    size_t index = 0;
    for (int x = plot.right; x >= plot.left + kBarPitch; x -= kBarPitch, ++index) {
        const SpeedSample& s = samples.At(index);
        if (!s.valid) break;
        largest = std::max(largest, s.speed);
    }
    return std::max(kMinimumScale, largest * 1.3);
}

std::vector<int> GridLines(const RECT& plot) {
    std::vector<int> lines;
    const double step = (plot.bottom - plot.top) * 0.25;
    if (step <= 2) return lines;
    for (int k = 1; k <= 3; ++k) lines.push_back(static_cast<int>(std::floor(plot.top + k * step)));
    return lines;
}

std::vector<RECT> Bars(const SpeedSampleRing& samples, const RECT& plot, double scaleMax) {
    std::vector<RECT> bars;
    if (scaleMax <= 0) return bars;
    const int height = plot.bottom - plot.top;
    size_t index = 0;
    for (int x = plot.right - 3; x >= plot.left + kBarPitch; x -= kBarPitch, ++index) {
        const SpeedSample& s = samples.At(index);
        if (!s.valid) break;
        if (s.speed <= 0) continue;
        const int h = static_cast<int>(std::floor(height * s.speed / scaleMax));
        if (h <= 2) continue;
        RECT bar = {x - kBarWidth, plot.bottom - h, x, plot.bottom - 1};
        bars.push_back(bar);
    }
    return bars;
}

bool LabelsFit(const RECT& plot, int zeroHeight, int middleHeight, int maxHeight) {
    return zeroHeight / 2 + maxHeight / 2 + middleHeight < (plot.bottom - plot.top) - 2;
}

POINT CaptionOrigin(const RECT& plot, int textHeight) {
    POINT origin = {plot.left - 57, textHeight / 2 + plot.bottom - (plot.bottom - plot.top) / 2 - plot.top + 10};
    return origin;
}

}  // namespace graphlayout
