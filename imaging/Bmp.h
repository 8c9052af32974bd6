#pragma once
// The library's in-memory picture: width, height, 1/8/32 bits per pixel, optional palette and
// an array of row pointers (top row first, rows unpadded).
//
// 32-bit pixels are four bytes blue, green, red, alpha (a little-endian uint32_t 0xAARRGGBB).
// Palette entries use the same four-byte layout.
#include <cstdint>
#include "imaging/PLObject.h"

typedef uint32_t PLPixel32;
class CFilter;

inline PLPixel32 PLMakePixel(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255)
{
    return static_cast<PLPixel32>(blue) | (static_cast<PLPixel32>(green) << 8) |
           (static_cast<PLPixel32>(red) << 16) | (static_cast<PLPixel32>(alpha) << 24);
}
inline uint8_t PLPixelBlue(PLPixel32 p) { return static_cast<uint8_t>(p); }
inline uint8_t PLPixelGreen(PLPixel32 p) { return static_cast<uint8_t>(p >> 8); }
inline uint8_t PLPixelRed(PLPixel32 p) { return static_cast<uint8_t>(p >> 16); }
inline uint8_t PLPixelAlpha(PLPixel32 p) { return static_cast<uint8_t>(p >> 24); }

// Byte offsets inside a 32-bit pixel.
enum { PL_RGBA_BLUE = 0, PL_RGBA_GREEN = 1, PL_RGBA_RED = 2, PL_RGBA_ALPHA = 3 };

class CBmp : public CPLObject {
public:
    CBmp();
    ~CBmp() override;

    // Frees the current pixels and makes a width x height bitmap (contents undefined; for
    // bpp <= 8 the palette is the grey ramp). Raises CTextException(10) for sizes of less than
    // 1 or beyond what we accept (see PictureLimits.h). bpp must be 1, 8 or 32.
    virtual void Create(int width, int height, uint16_t bpp, bool hasAlpha);
    virtual int GetMemUsed() = 0;
    virtual int GetBytesPerLine() = 0;
    virtual void Lock(bool readable, bool writable);
    virtual void Unlock();

    // Copy with conversion; bpp 0 keeps the source's depth. See the .cpp for the rules.
    void CreateCopy(const CBmp& source, int bpp = 0);
    CBmp& operator=(const CBmp& source);
    bool operator==(const CBmp& other) const;

    int GetWidth() const { return m_Width; }
    int GetHeight() const { return m_Height; }
    uint16_t GetBitsPerPixel() const { return m_bpp; }
    bool HasAlpha() const { return m_bAlphaChannel != 0; }
    void SetHasAlpha(bool hasAlpha) { m_bAlphaChannel = hasAlpha ? 1 : 0; }
    // Row pointers, row 0 at the top; GetLineArray()[y] has GetBytesPerLine() bytes.
    uint8_t** GetLineArray() const { return m_pLineArray; }
    uint8_t* GetLine(int y) const { return m_pLineArray[y]; }
    // 2^bpp entries for 1 and 8 bits per pixel, null for 32.
    PLPixel32* GetPalette() const { return m_pClrTab; }
    int GetNumColors() const;

    void SetPalette(const PLPixel32* entries);
    void SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);
    void SetGrayPalette();

    // 1, 8 and 32 bits: the index / bit / pixel value. No bounds check.
    PLPixel32 GetPixel(int x, int y) const;
    void SetPixel(int x, int y, PLPixel32 value);
    int FindNearestColor(PLPixel32 color) const;

    // Copies each byte of an 8-bit bitmap of the same size into the alpha bytes and sets the
    // alpha flag. This bitmap must be 32 bits per pixel.
    void SetAlphaChannel(const CBmp& alphaBmp);

    // Filter conveniences (BmpFilterOps.cpp). With a source the result is made from it, without
    // one the bitmap itself is changed. Angles are in radians.
    void ApplyFilter(CFilter& filter);
    void CreateFilteredCopy(CBmp& source, CFilter& filter);
    void MakeGrayscale(CBmp* source = nullptr);
    void Rotate(double angle, PLPixel32 fill, CBmp* source = nullptr);
    // Where the point (x, y) of a width x height picture lands after Rotate by angle.
    static void RotatePoint(double angle, int width, int height, double& x, double& y);
    void ExtractAlpha(CBmp* source = nullptr);
    void Crop(int x1, int x2, int y1, int y2, CBmp* source = nullptr);
    void Threshold(int lower, int upper, int channel, CBmp* source = nullptr);
    void VideoInvert(CBmp* source = nullptr);
    void ResizeBilinear(int width, int height, CBmp* source = nullptr);
    void ResizeBox(int width, int height, double radius, CBmp* source = nullptr);
    void ResizeGaussian(int width, int height, double radius, CBmp* source = nullptr);
    void ResizeHamming(int width, int height, double radius, CBmp* source = nullptr);

    // Quantisation settings handed to the 32 -> 8 conversion (palette mode 2 = fixed palette,
    // dither mode 0 = none by default).
    void SetQuantizationMode(int ditherType, int paletteType);
    int GetDitherType() const { return m_DitherType; }
    int GetPaletteType() const { return m_DitherPaletteType; }

    // height x unpadded row length.
    static int64_t CalcDataSize(int width, int height, int bpp);
    static int CalcRowBytes(int width, int bpp);

protected:
    virtual void InternalCreate(int width, int height, uint16_t bpp, bool hasAlpha) = 0;
    virtual void FreeMembers() = 0;
    virtual void InitLineArray() = 0;
    // Stores the header values, builds the row pointers and (below 16 bpp) the grey palette.
    void SetBmpInfo(int width, int height, uint16_t bpp, bool hasAlpha);

    int32_t m_Width = 0;
    int32_t m_Height = 0;
    uint16_t m_bpp = 0;
    PLPixel32* m_pClrTab = nullptr;
    int32_t m_bAlphaChannel = 0;
    uint8_t** m_pLineArray = nullptr;
    int32_t m_LockCount = 0;
    int32_t m_DitherType = 0;
    int32_t m_DitherPaletteType = 2;

private:
    CBmp(const CBmp&) = delete;
    void ConvertTo32From8(const CBmp& source);
    void ConvertTo32From1(const CBmp& source);
    void ConvertTo8From1(const CBmp& source);
    void ConvertTo1(const CBmp& source);
};
