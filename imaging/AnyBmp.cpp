#include "imaging/AnyBmp.h"
#include "imaging/DecoderError.h"
#include "imaging/TextException.h"

#include <cstdlib>
#include <cstring>

CAnyBmp::CAnyBmp()
{
    m_pBits = static_cast<uint8_t*>(malloc(256));
    m_pClrTab = static_cast<PLPixel32*>(malloc(1024));
    if (!m_pBits || !m_pClrTab) {
        free(m_pBits);
        free(m_pClrTab);
        throw CTextException(PL_ERRNO_MEMORY, "Out of memory creating bitmap.");
    }
    memset(m_pBits, 0, 256);
    SetBmpInfo(16, 16, 8, false);
}

CAnyBmp::~CAnyBmp()
{
    FreeMembers();
}

int CAnyBmp::GetBytesPerLine()
{
    return CalcRowBytes(m_Width, m_bpp);
}

int CAnyBmp::GetMemUsed()
{
    int palette = m_bpp < 16 ? 4 * (1 << m_bpp) : 0;
    return static_cast<int>(84 + palette + CalcDataSize(m_Width, m_Height, m_bpp));
}

void CAnyBmp::InternalCreate(int width, int height, uint16_t bpp, bool hasAlpha)
{
    size_t bytes = static_cast<size_t>(CalcDataSize(width, height, bpp));
    m_pBits = static_cast<uint8_t*>(malloc(bytes ? bytes : 1));
    if (!m_pBits)
        RaiseDecoderError(PL_ERRNO_MEMORY, "Out of memory creating bitmap.");
    if (bpp <= 8) {
        m_pClrTab = static_cast<PLPixel32*>(malloc(sizeof(PLPixel32) * (1u << bpp)));
        if (!m_pClrTab) {
            free(m_pBits);
            m_pBits = nullptr;
            RaiseDecoderError(PL_ERRNO_MEMORY, "Out of memory creating bitmap.");
        }
    }
    SetBmpInfo(width, height, bpp, hasAlpha);
}

void CAnyBmp::FreeMembers()
{
    free(m_pBits);
    m_pBits = nullptr;
    free(m_pClrTab);
    m_pClrTab = nullptr;
    free(m_pLineArray);
    m_pLineArray = nullptr;
    m_Width = m_Height = 0;
}

void CAnyBmp::InitLineArray()
{
    free(m_pLineArray);
    m_pLineArray = static_cast<uint8_t**>(malloc(sizeof(uint8_t*) * (m_Height > 0 ? m_Height : 1)));
    if (!m_pLineArray)
        RaiseDecoderError(PL_ERRNO_MEMORY, "Out of memory creating bitmap.");
    int rowBytes = CalcRowBytes(m_Width, m_bpp);
    for (int y = 0; y < m_Height; ++y)
        m_pLineArray[y] = m_pBits + static_cast<size_t>(y) * rowBytes;
}
