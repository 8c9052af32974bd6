#include "imaging/ResizeKernels.h"

#include <cmath>

namespace {
const double kPi = 3.14159265358979323846;
}

double CBilinearFilter::Filter(double x) {
    const double ax = std::fabs(x);
    return ax < m_dWidth ? m_dWidth - ax : 0.0;
}

double CBoxFilter::Filter(double x) { return std::fabs(x) <= m_dWidth ? 1.0 : 0.0; }

double CGaussianFilter::Filter(double x) {
    if (std::fabs(x) > m_dWidth) return 0.0;
    return std::exp(-x * x / m_dWidth - 1.0) / std::sqrt(2.0 * kPi);
}

double CHammingFilter::Filter(double x) {
    if (std::fabs(x) > m_dWidth) return 0.0;
    const double window = 0.54 + 0.46 * std::cos(2.0 * kPi * x);
    const double sinc = x == 0.0 ? 1.0 : std::sin(kPi * x) / (kPi * x);
    return window * sinc;
}
