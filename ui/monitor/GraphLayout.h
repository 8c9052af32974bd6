#pragma once
// The speed graph's geometry, apart from any window: where the plot sits, its scale, grid lines
// and bars. The graph paints exactly what these give.
#include <windows.h>
#include <vector>

class SpeedSampleRing;

namespace graphlayout {

const int kBarPitch = 8;        // one sample per 8 pixels
const int kBarWidth = 5;
const double kMinimumScale = 10.0;

// False when the client is 64 pixels wide or less, or less than 30 high: only the background.
bool HasPlot(const RECT& client);
RECT PlotRect(const RECT& client);
// The largest speed of the samples that fit across the plot, x 1.3, and at least 10.
double ScaleMax(const SpeedSampleRing& samples, const RECT& plot);
// The three horizontal grid lines' y; none when the plot is too low for them.
std::vector<int> GridLines(const RECT& plot);
// Bars from the newest sample (rightmost) leftward; tiny bars (2 pixels or less) are left out.
std::vector<RECT> Bars(const SpeedSampleRing& samples, const RECT& plot, double scaleMax);
// Whether the three labels fit beside the plot, given their heights.
bool LabelsFit(const RECT& plot, int zeroHeight, int middleHeight, int maxHeight);
// The rotated "KB/s" caption's starting point.
POINT CaptionOrigin(const RECT& plot, int textHeight);

}  // namespace graphlayout
