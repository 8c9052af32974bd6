#include "imaging/PictureLimits.h"
#include "imaging/DecoderError.h"
#include "imaging/TextException.h"

uint64_t PictureRowBytes(int64_t width, int bpp)
{
    if (width <= 0)
        return 0;
    uint64_t w = static_cast<uint64_t>(width);
    uint64_t bits = w * static_cast<uint64_t>(bpp > 0 ? bpp : 32);
    return (bits + 7) / 8;
}

bool IsPictureSizeAllowed(int64_t width, int64_t height)
{
    if (width < 1 || height < 1 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return false;
    // Both are below 2^31, so the product cannot overflow 64 bits.
    return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= kMaxPicturePixels;
}

void ValidatePictureSize(int64_t width, int64_t height, int bpp)
{
    (void)bpp;
    if (width < 1 || height < 1)
        RaiseDecoderErrorF(PL_ERRNO_MEMORY, "Invalid picture size %lldx%lld.",
                           static_cast<long long>(width), static_cast<long long>(height));
    if (!IsPictureSizeAllowed(width, height))
        RaiseDecoderErrorF(PL_ERRNO_MEMORY, "Picture too large (%lldx%lld).",
                           static_cast<long long>(width), static_cast<long long>(height));
}
