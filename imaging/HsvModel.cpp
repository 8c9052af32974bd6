#include "imaging/HsvModel.h"

#include <algorithm>
#include <cmath>

void RgbToHsv(double& redHue, double& greenSaturation, double& blueValue) {
    const int r = static_cast<int>(redHue);
    const int g = static_cast<int>(greenSaturation);
    const int b = static_cast<int>(blueValue);
    const int mx = std::max(r, std::max(g, b));
    const int mn = std::min(r, std::min(g, b));
    double hue = 0.0, saturation = 0.0;
    if (mx != 0) {
        saturation = (mx - mn) * 255.0 / mx;
        if (saturation != 0.0) {
            const double d = mx - mn;
            if (r == mx)
                hue = (g - b) / d;
            else if (g == mx)
                hue = (b - r) / d + 2.0;
            else
                hue = (r - g) / d + 4.0;
            hue *= 42.5;
            if (hue < 0.0) hue += 255.0;
            if (hue > 255.0) hue -= 255.0;
        }
    }
    redHue = hue;
    greenSaturation = saturation;
    blueValue = mx;
}

void HsvToRgb(double& hueRed, double& saturationGreen, double& valueBlue) {
    const double hue = hueRed, saturation = saturationGreen, value = valueBlue;
    if (static_cast<int>(saturation) == 0) {
        hueRed = saturationGreen = valueBlue = value;
        return;
    }
    const double h = hue * 6.0 / 255.0;
    int i = static_cast<int>(h);
    const double f = h - i;
    // Hue 255 is the same colour as hue 0: the sixth sector wraps to the first.
    i = ((i % 6) + 6) % 6;
    const double v = value / 255.0, s = saturation / 255.0;
    const double p = v * (1.0 - s) * 255.0;
    const double q = v * (1.0 - s * f) * 255.0;
    const double t = v * (1.0 - s * (1.0 - f)) * 255.0;
    const double vv = v * 255.0;
    double r, g, b;
    switch (i) {
        case 0: r = vv; g = t; b = p; break;
        case 1: r = q; g = vv; b = p; break;
        case 2: r = p; g = vv; b = t; break;
        case 3: r = p; g = q; b = vv; break;
        case 4: r = t; g = p; b = vv; break;
        default: r = vv; g = p; b = q; break;
    }
    hueRed = r;
    saturationGreen = g;
    valueBlue = b;
}
