// CBmp's shortcuts for running the library's filters on a bitmap.
#include "imaging/Bmp.h"
#include "imaging/FilterCrop.h"
#include "imaging/FilterGetAlpha.h"
#include "imaging/FilterGrayscale.h"
#include "imaging/FilterResize.h"
#include "imaging/FilterRotate.h"
#include "imaging/FilterThreshold.h"
#include "imaging/PixelFilterKernels.h"
#include "imaging/VideoInvertFilter.h"

#include <cmath>

void CBmp::ApplyFilter(CFilter& filter)
{
    filter.ApplyInPlace(this);
}

void CBmp::CreateFilteredCopy(CBmp& source, CFilter& filter)
{
    filter.Apply(&source, this);
}

namespace {
void Run(CBmp* self, CBmp* source, CFilter& filter)
{
    if (source && source != self)
        self->CreateFilteredCopy(*source, filter);
    else
        self->ApplyFilter(filter);
}
}  // namespace

void CBmp::MakeGrayscale(CBmp* source)
{
    CFilterGrayscale f;
    Run(this, source, f);
}

void CBmp::Rotate(double angle, PLPixel32 fill, CBmp* source)
{
    CFilterRotate f(angle, static_cast<int32_t>(fill));
    Run(this, source, f);
}

void CBmp::RotatePoint(double angle, int width, int height, double& x, double& y)
{
    // The same mapping as the rotate filter: turn about the origin, then shift into the new box.
    pixfilt::RotationBox box = pixfilt::RotationBounds(width, height, angle);
    double c = std::cos(-angle), s = std::sin(-angle);
    double nx = x * c - y * s - box.minX;
    double ny = x * s + y * c - box.minY;
    x = nx;
    y = ny;
}

void CBmp::ExtractAlpha(CBmp* source)
{
    CFilterGetAlpha f;
    Run(this, source, f);
}

void CBmp::Crop(int x1, int x2, int y1, int y2, CBmp* source)
{
    CFilterCrop f(x1, x2, y1, y2);
    Run(this, source, f);
}

void CBmp::Threshold(int lower, int upper, int channel, CBmp* source)
{
    CFilterThreshold f(lower, upper, channel);
    Run(this, source, f);
}

void CBmp::VideoInvert(CBmp* source)
{
    CVideoInvertFilter f;
    Run(this, source, f);
}

void CBmp::ResizeBilinear(int width, int height, CBmp* source)
{
    CFilterResizeBilinear f(width, height);
    Run(this, source, f);
}

void CBmp::ResizeBox(int width, int height, double radius, CBmp* source)
{
    CFilterResizeBox f(width, height, radius);
    Run(this, source, f);
}

void CBmp::ResizeGaussian(int width, int height, double radius, CBmp* source)
{
    CFilterResizeGaussian f(width, height, radius);
    Run(this, source, f);
}

void CBmp::ResizeHamming(int width, int height, double radius, CBmp* source)
{
    CFilterResizeHamming f(width, height, radius);
    Run(this, source, f);
}
