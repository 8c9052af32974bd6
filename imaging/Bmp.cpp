#include "imaging/Bmp.h"
#include "imaging/AnyBmp.h"
#include "imaging/BmpQuantize.h"
#include "imaging/PictureLimits.h"
#include "imaging/TextException.h"

#include <cstdlib>
#include <cstring>

CBmp::CBmp() {}

CBmp::~CBmp() {}

int CBmp::CalcRowBytes(int width, int bpp)
{
    if (width <= 0)
        return 0;
    if (bpp == 1)
        return width / 8 + ((width % 8) ? 1 : 0);
    return width * (bpp / 8);
}

int64_t CBmp::CalcDataSize(int width, int height, int bpp)
{
    return static_cast<int64_t>(height) * CalcRowBytes(width, bpp);
}

void CBmp::Create(int width, int height, uint16_t bpp, bool hasAlpha)
{
    ValidatePictureSize(width, height, bpp);
    if (bpp != 1 && bpp != 8 && bpp != 32)
        bpp = 32;
    FreeMembers();
    InternalCreate(width, height, bpp, hasAlpha);
}

void CBmp::Lock(bool, bool)
{
    ++m_LockCount;
}

void CBmp::Unlock()
{
    --m_LockCount;
}

void CBmp::SetBmpInfo(int width, int height, uint16_t bpp, bool hasAlpha)
{
    m_Width = width;
    m_Height = height;
    m_bpp = bpp;
    m_bAlphaChannel = hasAlpha ? 1 : 0;
    InitLineArray();
    if (bpp < 16)
        SetGrayPalette();
}

int CBmp::GetNumColors() const
{
    return m_bpp >= 32 ? 16777216 : (1 << m_bpp);
}

void CBmp::SetGrayPalette()
{
    if (!m_pClrTab || m_bpp > 8)
        return;
    int n = 1 << m_bpp;
    int step = 255 / (n - 1);
    for (int i = 0; i < n; ++i) {
        uint8_t v = static_cast<uint8_t>(step * i);
        m_pClrTab[i] = PLMakePixel(v, v, v, 255);
    }
}

void CBmp::SetPalette(const PLPixel32* entries)
{
    if (!m_pClrTab || !entries || m_bpp > 8)
        return;
    memcpy(m_pClrTab, entries, sizeof(PLPixel32) * (1u << m_bpp));
}

void CBmp::SetPaletteEntry(int index, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
{
    if (!m_pClrTab || m_bpp > 8 || index < 0 || index >= (1 << m_bpp))
        return;
    m_pClrTab[index] = PLMakePixel(red, green, blue, alpha);
}

PLPixel32 CBmp::GetPixel(int x, int y) const
{
    const uint8_t* line = m_pLineArray[y];
    switch (m_bpp) {
    case 1:
        return (line[x / 8] & (128 >> (x % 8))) ? 1 : 0;
    case 8:
        return line[x];
    default:
        return reinterpret_cast<const PLPixel32*>(line)[x];
    }
}

void CBmp::SetPixel(int x, int y, PLPixel32 value)
{
    uint8_t* line = m_pLineArray[y];
    switch (m_bpp) {
    case 1:
        if (value)
            line[x / 8] |= static_cast<uint8_t>(128 >> (x % 8));
        else
            line[x / 8] &= static_cast<uint8_t>(~(128 >> (x % 8)));
        break;
    case 8:
        line[x] = static_cast<uint8_t>(value);
        break;
    default:
        reinterpret_cast<PLPixel32*>(line)[x] = value;
        break;
    }
}

int CBmp::FindNearestColor(PLPixel32 color) const
{
    if (m_bpp == 32)
        return static_cast<int>(color);
    if (!m_pClrTab)
        return (PLPixelBlue(color) + PLPixelGreen(color) + PLPixelRed(color) >= 383) ? 1 : 0;
    int best = 0;
    int bestDistance = 1000;
    int n = 1 << m_bpp;
    for (int i = 0; i < n; ++i) {
        PLPixel32 e = m_pClrTab[i];
        int d = abs(PLPixelBlue(e) - PLPixelBlue(color)) + abs(PLPixelGreen(e) - PLPixelGreen(color)) +
                abs(PLPixelRed(e) - PLPixelRed(color));
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

void CBmp::SetAlphaChannel(const CBmp& alphaBmp)
{
    if (m_bpp != 32 || alphaBmp.m_bpp != 8 || alphaBmp.m_Width != m_Width || alphaBmp.m_Height != m_Height)
        return;
    for (int y = 0; y < m_Height; ++y) {
        uint8_t* dst = m_pLineArray[y];
        const uint8_t* src = alphaBmp.m_pLineArray[y];
        for (int x = 0; x < m_Width; ++x)
            dst[x * 4 + PL_RGBA_ALPHA] = src[x];
    }
    m_bAlphaChannel = 1;
}

void CBmp::SetQuantizationMode(int ditherType, int paletteType)
{
    m_DitherType = ditherType;
    m_DitherPaletteType = paletteType;
}

CBmp& CBmp::operator=(const CBmp& source)
{
    CreateCopy(source, 0);
    return *this;
}

bool CBmp::operator==(const CBmp& other) const
{
    if (m_Width != other.m_Width || m_Height != other.m_Height || m_bAlphaChannel != other.m_bAlphaChannel ||
        m_bpp != other.m_bpp)
        return false;
    for (int y = 0; y < m_Height; ++y)
        for (int x = 0; x < m_Width; ++x)
            if (GetPixel(x, y) != other.GetPixel(x, y))
                return false;
    return true;
}

void CBmp::CreateCopy(const CBmp& source, int bpp)
{
    if (bpp == 0 || bpp == source.m_bpp) {
        if (&source == this)
            return;
        FreeMembers();
        InternalCreate(source.m_Width, source.m_Height, source.m_bpp, source.m_bAlphaChannel != 0);
        int rowBytes = CalcRowBytes(m_Width, m_bpp);
        for (int y = 0; y < m_Height; ++y)
            memcpy(m_pLineArray[y], source.m_pLineArray[y], rowBytes);
        if (m_bpp <= 8 && m_pClrTab && source.m_pClrTab)
            memcpy(m_pClrTab, source.m_pClrTab, sizeof(PLPixel32) * (1u << m_bpp));
        return;
    }
    if (bpp != 1 && bpp != 8 && bpp != 32)
        throw CTextException(PL_ERRFORMAT_ERROR, "Cannot convert a bitmap to this depth.");
    if (&source == this) {
        // Converting in place: convert from a copy of the current pixels.
        CAnyBmp original;
        original.CreateCopy(*this);
        CreateCopy(original, bpp);
        return;
    }
    CBmp& src = const_cast<CBmp&>(source);
    if (bpp == 8 && source.m_bpp == 32) {
        QuantizeBmpTo8(source, *this, m_DitherPaletteType, m_DitherType);
        return;
    }
    Create(source.m_Width, source.m_Height, static_cast<uint16_t>(bpp), source.m_bAlphaChannel != 0 && bpp == 32);
    src.Lock(true, false);
    Lock(false, true);
    if (bpp == 32 && source.m_bpp == 8)
        ConvertTo32From8(source);
    else if (bpp == 32 && source.m_bpp == 1)
        ConvertTo32From1(source);
    else if (bpp == 8 && source.m_bpp == 1)
        ConvertTo8From1(source);
    else if (bpp == 1)
        ConvertTo1(source);
    Unlock();
    src.Unlock();
}

void CBmp::ConvertTo32From8(const CBmp& source)
{
    PLPixel32 table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = source.m_pClrTab ? source.m_pClrTab[i] : PLMakePixel(i, i, i, 255);
    for (int y = 0; y < m_Height; ++y) {
        PLPixel32* dst = reinterpret_cast<PLPixel32*>(m_pLineArray[y]);
        const uint8_t* src = source.m_pLineArray[y];
        for (int x = 0; x < m_Width; ++x)
            dst[x] = table[src[x]];
    }
}

void CBmp::ConvertTo32From1(const CBmp& source)
{
    PLPixel32 zero = source.m_pClrTab ? source.m_pClrTab[0] : PLMakePixel(255, 255, 255, 255);
    PLPixel32 one = source.m_pClrTab ? source.m_pClrTab[1] : PLMakePixel(0, 0, 0, 255);
    for (int y = 0; y < m_Height; ++y) {
        PLPixel32* dst = reinterpret_cast<PLPixel32*>(m_pLineArray[y]);
        const uint8_t* src = source.m_pLineArray[y];
        for (int x = 0; x < m_Width; ++x)
            dst[x] = (src[x / 8] & (128 >> (x % 8))) ? one : zero;
    }
}

void CBmp::ConvertTo8From1(const CBmp& source)
{
    if (source.m_pClrTab) {
        m_pClrTab[0] = source.m_pClrTab[0] | 0xFF000000u;
        m_pClrTab[1] = source.m_pClrTab[1] | 0xFF000000u;
    } else {
        m_pClrTab[0] = PLMakePixel(255, 255, 255, 255);
        m_pClrTab[1] = PLMakePixel(0, 0, 0, 255);
    }
    for (int y = 0; y < m_Height; ++y) {
        uint8_t* dst = m_pLineArray[y];
        const uint8_t* src = source.m_pLineArray[y];
        for (int x = 0; x < m_Width; ++x)
            dst[x] = (src[x / 8] & (128 >> (x % 8))) ? 1 : 0;
    }
}

void CBmp::ConvertTo1(const CBmp& source)
{
    m_pClrTab[0] = PLMakePixel(255, 255, 255, 255);
    m_pClrTab[1] = PLMakePixel(0, 0, 0, 255);
    int rowBytes = CalcRowBytes(m_Width, 1);
    for (int y = 0; y < m_Height; ++y) {
        uint8_t* dst = m_pLineArray[y];
        memset(dst, 0, rowBytes);
        const uint8_t* src = source.m_pLineArray[y];
        for (int x = 0; x < m_Width; ++x) {
            PLPixel32 c;
            if (source.m_bpp == 8)
                c = source.m_pClrTab ? source.m_pClrTab[src[x]] : PLMakePixel(src[x], src[x], src[x]);
            else
                c = reinterpret_cast<const PLPixel32*>(src)[x];
            if (PLPixelRed(c) < 128 && PLPixelGreen(c) < 128 && PLPixelBlue(c) < 128)
                dst[x / 8] |= static_cast<uint8_t>(128 >> (x % 8));
        }
    }
}
