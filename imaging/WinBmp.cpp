#include "imaging/WinBmp.h"
#include "framework/GdiHolders.h"
#include "imaging/PictureLimits.h"
#include "imaging/TextException.h"

#include <cstdlib>
#include <cstring>

int WinBmpBytesPerLine(int width, int bits)
{
    // Rows are padded to whole 32-bit words.
    return static_cast<int>((static_cast<int64_t>(width) * bits + 31) / 32 * 4);
}

int64_t WinBmpImageSize(int width, int height, int bits)
{
    return static_cast<int64_t>(WinBmpBytesPerLine(width, bits)) * height;
}

int64_t WinBmpDibSize(int width, int height, int bits)
{
    int64_t paletteBytes = bits <= 15 ? 4 * (int64_t(1) << bits) : 0;
    return sizeof(BITMAPINFOHEADER) + paletteBytes + WinBmpImageSize(width, height, bits);
}

namespace {

const char kOutOfMemory[] = "Out of memory creating bitmap.";

bool IsDibDepth(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

CWinBmp::CWinBmp()
{
    InternalCreate(16, 16, 8, false);
}

CWinBmp::~CWinBmp()
{
    FreeMembers();
}

int CWinBmp::GetMemUsed()
{
    return static_cast<int>(WinBmpDibSize(m_Width, m_Height, m_bpp) + sizeof(*this));
}

int CWinBmp::GetBytesPerLine()
{
    return WinBmpBytesPerLine(m_Width, m_bpp);
}

void CWinBmp::InternalCreate(int width, int height, uint16_t bpp, bool hasAlpha)
{
    if (bpp != 1 && bpp != 8 && bpp != 32)
        throw CTextException(PL_ERRFORMAT_ERROR, "Unsupported bitmap format.");
    int64_t size = WinBmpDibSize(width, height, bpp);
    if (width < 1 || height < 1 || size > static_cast<int64_t>(kMaxPictureBytes) + 2048)
        throw CTextException(PL_ERRNO_MEMORY, kOutOfMemory);
    m_pDib = static_cast<uint8_t*>(malloc(static_cast<size_t>(size)));
    if (!m_pDib)
        throw CTextException(PL_ERRNO_MEMORY, kOutOfMemory);
    BITMAPINFOHEADER* bi = GetBMI();
    memset(bi, 0, sizeof(*bi));
    bi->biSize = sizeof(BITMAPINFOHEADER);
    bi->biWidth = width;
    bi->biHeight = height;
    bi->biPlanes = 1;
    bi->biBitCount = bpp;
    bi->biCompression = BI_RGB;
    Lock(true, true);
    PlaceDibPointers();
    SetBmpInfo(width, height, bpp, hasAlpha);
}

void CWinBmp::PlaceDibPointers()
{
    int bits = GetBMI()->biBitCount;
    uint8_t* palette = m_pDib + sizeof(BITMAPINFOHEADER);
    m_pClrTab = bits <= 15 ? reinterpret_cast<PLPixel32*>(palette) : nullptr;
    m_pBits = palette + (bits <= 15 ? 4 * (size_t(1) << bits) : 0);
}

void CWinBmp::FreeMembers()
{
    bool hadData = m_pDib != nullptr;
    free(m_pDib);
    m_pDib = nullptr;
    m_pBits = nullptr;
    m_pClrTab = nullptr;
    free(m_pLineArray);
    m_pLineArray = nullptr;
    if (hadData)
        Unlock();
}

void CWinBmp::InitLineArray()
{
    free(m_pLineArray);
    m_pLineArray = static_cast<uint8_t**>(malloc(sizeof(uint8_t*) * static_cast<size_t>(m_Height)));
    if (!m_pLineArray)
        throw CTextException(PL_ERRNO_MEMORY, kOutOfMemory);
    int bytesPerLine = GetBytesPerLine();
    // DIB rows are stored bottom-up; row 0 of the picture is the last in memory.
    for (int i = 0; i < m_Height; ++i)
        m_pLineArray[i] = m_pBits + static_cast<size_t>(m_Height - 1 - i) * bytesPerLine;
}

SIZE CWinBmp::GetSize() const
{
    SIZE size = {m_Width, m_Height};
    return size;
}

void CWinBmp::CreateFromPackedDib(const BITMAPINFOHEADER* header, size_t available)
{
    if (!header || available < sizeof(BITMAPINFOHEADER) || header->biSize < sizeof(BITMAPINFOHEADER) ||
        header->biSize > available)
        throw CTextException(PL_ERRFORMAT_ERROR, "Bitmap header missing or too short.");
    int width = header->biWidth;
    int height = header->biHeight;
    bool topDown = height < 0;
    if (topDown)
        height = height == INT32_MIN ? 0 : -height;
    int bits = header->biBitCount;
    // 32-bit bit-field DIBs with the usual masks (as many programs put on the clipboard) are
    // plain blue-green-red-x pixels behind the three masks.
    size_t maskBytes = 0;
    if (header->biCompression == BI_BITFIELDS && bits == 32 && header->biSize == sizeof(BITMAPINFOHEADER) &&
        available >= sizeof(BITMAPINFOHEADER) + 12) {
        const uint8_t* masks = reinterpret_cast<const uint8_t*>(header) + sizeof(BITMAPINFOHEADER);
        static const uint8_t kUsual[12] = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};
        if (memcmp(masks, kUsual, 12) != 0)
            throw CTextException(PL_ERRFORMAT_ERROR, "Unsupported bitmap format.");
        maskBytes = 12;
    } else if (header->biCompression != BI_RGB) {
        throw CTextException(PL_ERRFORMAT_ERROR, "Unsupported bitmap format.");
    }
    if (!IsDibDepth(bits) || width < 1 || height < 1)
        throw CTextException(PL_ERRFORMAT_ERROR, "Unsupported bitmap format.");
    ValidatePictureSize(width, height, 32);
    size_t colours = 0;
    if (bits <= 8) {
        colours = size_t(1) << bits;
        if (header->biClrUsed != 0 && header->biClrUsed < colours)
            colours = header->biClrUsed;
    }
    uint64_t imageSize = static_cast<uint64_t>(WinBmpImageSize(width, height, bits));
    if (header->biSize + maskBytes + colours * 4 + imageSize > available)
        throw CTextException(PL_ERRFORMAT_ERROR, "Bitmap data shorter than its header says.");

    // The shared pixel code knows 1, 8 and 32 bits per pixel only: 4 bits become 8, 16 and 24
    // become 32 here, so no later path reads or writes a row in a depth it does not know.
    const int storedBits = bits == 4 ? 8 : (bits == 16 || bits == 24) ? 32 : bits;
    FreeMembers();
    InternalCreate(width, height, static_cast<uint16_t>(storedBits), false);
    const uint8_t* src = reinterpret_cast<const uint8_t*>(header) + header->biSize + maskBytes;
    if (colours)
        memcpy(m_pClrTab, src, colours * 4);
    src += colours * 4;
    const size_t srcBytesPerLine = static_cast<size_t>(WinBmpBytesPerLine(width, bits));
    for (int y = 0; y < height; ++y) {
        // Row y of the picture: the source is bottom-up unless the header says top-down.
        const uint8_t* row = src + srcBytesPerLine * static_cast<size_t>(topDown ? y : height - 1 - y);
        CopyDibRow(row, bits, width, m_pLineArray[y]);
    }
}

void CWinBmp::CopyDibRow(const uint8_t* row, int bits, int width, uint8_t* out)
{
    switch (bits) {
    case 4:
        for (int x = 0; x < width; ++x)
            out[x] = (x & 1) ? (row[x / 2] & 0x0F) : (row[x / 2] >> 4);
        break;
    case 16:  // BI_RGB 16-bit pixels are 5-5-5
        for (int x = 0; x < width; ++x) {
            const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
            const unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
            reinterpret_cast<PLPixel32*>(out)[x] = PLMakePixel(static_cast<uint8_t>(r * 255 / 31),
                                                               static_cast<uint8_t>(g * 255 / 31),
                                                               static_cast<uint8_t>(b * 255 / 31));
        }
        break;
    case 24:
        for (int x = 0; x < width; ++x)
            reinterpret_cast<PLPixel32*>(out)[x] = PLMakePixel(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
        break;
    default:  // 1, 8 and 32 bits are stored as they come
        memcpy(out, row, static_cast<size_t>(WinBmpBytesPerLine(width, bits)));
        break;
    }
}

bool CWinBmp::LoadFromResource(HMODULE module, int resourceId)
{
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    if (!info)
        return false;
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return false;
    try {
        CreateFromPackedDib(static_cast<const BITMAPINFOHEADER*>(data), SizeofResource(module, info));
    } catch (const CTextException&) {
        if (!m_pDib)
            InternalCreate(16, 16, 8, false);
        return false;
    }
    return true;
}

void CWinBmp::Draw(HDC dc, int x, int y, DWORD rop)
{
    DrawStretched(dc, x, y, m_Width, m_Height, rop);
}

void CWinBmp::DrawStretched(HDC dc, int x, int y, int width, int height, DWORD rop)
{
    StretchDIBits(dc, x, y, width, height, 0, 0, m_Width, m_Height, m_pBits,
                  reinterpret_cast<BITMAPINFO*>(m_pDib), DIB_RGB_COLORS, rop);
}

void CWinBmp::DrawScaled(HDC dc, int x, int y, double factor, DWORD rop)
{
    DrawStretched(dc, x, y, static_cast<int>(factor * m_Width), static_cast<int>(factor * m_Height), rop);
}

void CWinBmp::DrawPart(HDC dc, int x, int y, int left, int top, int right, int bottom)
{
    (void)top;  // the part's top follows from its bottom and height
    SetDIBitsToDevice(dc, x, y, right - left, bottom - top, left, m_Height - bottom, 0, m_Height,
                      m_pBits, reinterpret_cast<BITMAPINFO*>(m_pDib), DIB_RGB_COLORS);
}

HGLOBAL CWinBmp::MakeGlobalCopy()
{
    size_t size = static_cast<size_t>(WinBmpDibSize(m_Width, m_Height, m_bpp));
    HGLOBAL handle = GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE, size);
    void* p = handle ? GlobalLock(handle) : nullptr;
    if (!p) {
        if (handle)
            GlobalFree(handle);
        throw CTextException(PL_ERRNO_MEMORY, "Can't allocate global memory block.");
    }
    memcpy(p, m_pDib, size);
    GlobalUnlock(handle);
    return handle;
}

bool CWinBmp::CopyToClipboard()
{
    if (!OpenClipboard(nullptr))
        return false;
    EmptyClipboard();
    bool ok = false;
    try {
        HGLOBAL copy = MakeGlobalCopy();
        ok = SetClipboardData(CF_DIB, copy) != nullptr;
        if (!ok)
            GlobalFree(copy);
    } catch (const CTextException&) {
        ok = false;
    }
    CloseClipboard();
    return ok;
}

bool CWinBmp::CreateFromClipboard(UINT format)
{
    if (!IsClipboardFormatAvailable(format) || !OpenClipboard(nullptr))
        return false;
    HANDLE data = GetClipboardData(format);
    if (!data) {
        CloseClipboard();
        return false;
    }
    bool ok = true;
    try {
        if (format == CF_BITMAP) {
            CreateFromBitmapHandle(static_cast<HBITMAP>(data));
        } else if (format == CF_DIB) {
            const void* p = GlobalLock(data);
            if (p) {
                HPALETTE palette = IsClipboardFormatAvailable(CF_PALETTE)
                                       ? static_cast<HPALETTE>(GetClipboardData(CF_PALETTE))
                                       : nullptr;
                try {
                    CreateFromPackedDibAndPalette(static_cast<const BITMAPINFOHEADER*>(p), GlobalSize(data), palette);
                } catch (...) {
                    GlobalUnlock(data);
                    throw;
                }
                GlobalUnlock(data);
            } else {
                ok = false;
            }
        } else {
            ok = false;
        }
    } catch (const CTextException&) {
        ok = false;
    }
    if (!m_pDib)
        InternalCreate(16, 16, 8, false);
    CloseClipboard();
    return ok;
}

void CWinBmp::CreateFromPackedDibAndPalette(const BITMAPINFOHEADER* header, size_t available, HPALETTE palette)
{
    CreateFromPackedDib(header, available);
    if (m_bpp > 8 || !palette)
        return;
    WORD count = 0;
    if (!GetObjectA(palette, sizeof(count), &count) || count == 0)
        return;
    int entries = 1 << m_bpp;
    for (int i = 0; i < count && i < entries; ++i) {
        PALETTEENTRY pe;
        if (GetPaletteEntries(palette, i, 1, &pe) == 1)
            m_pClrTab[i] = PLMakePixel(pe.peRed, pe.peGreen, pe.peBlue, 0);
    }
}

void CWinBmp::CreateFromBitmapHandle(HBITMAP bitmap)
{
    WindowDc screen(nullptr);
    HDC dc = screen.Get();
    if (!dc)
        throw CTextException(PL_ERRNO_MEMORY, "Cannot allocate device context.");
    // Header and room for a 256-entry colour table.
    uint8_t buffer[sizeof(BITMAPINFOHEADER) + 256 * 4] = {};
    BITMAPINFOHEADER* bi = reinterpret_cast<BITMAPINFOHEADER*>(buffer);
    bi->biSize = sizeof(BITMAPINFOHEADER);
    bi->biPlanes = 1;
    bi->biBitCount = 0;
    if (!GetDIBits(dc, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(bi), DIB_RGB_COLORS) ||
        bi->biWidth < 1 || bi->biHeight == 0)
        throw CTextException(PL_ERRFORMAT_ERROR, "Cannot read the bitmap.");
    // GetDIBits converts to the depth asked for: only 1, 8 and 32 bits are kept as such.
    int bits = bi->biBitCount;
    if (bits == 4)
        bits = 8;
    else if (bits != 1 && bits != 8)
        bits = 32;
    int width = bi->biWidth;
    int height = bi->biHeight < 0 ? -bi->biHeight : bi->biHeight;
    ValidatePictureSize(width, height, 32);
    FreeMembers();
    InternalCreate(width, height, static_cast<uint16_t>(bits), false);
    GetDIBits(dc, bitmap, 0, height, m_pBits, reinterpret_cast<BITMAPINFO*>(m_pDib), DIB_RGB_COLORS);
}

void CWinBmp::CopyPaletteFrom(const CWinBmp& other)
{
    if (m_bpp > 8 || other.m_bpp > 8 || !m_pClrTab || !other.m_pClrTab)
        return;
    int entries = 1 << (m_bpp < other.m_bpp ? m_bpp : other.m_bpp);
    memcpy(m_pClrTab, other.m_pClrTab, sizeof(PLPixel32) * entries);
}

void CWinBmp::DrawOnto(const CWinBmp& source, int x, int y)
{
    if (m_bpp != 32 || (source.m_bpp != 8 && source.m_bpp != 32))
        return;
    int rows = source.m_Height < m_Height - y ? source.m_Height : m_Height - y;
    int cols = source.m_Width < m_Width - x ? source.m_Width : m_Width - x;
    int srcBytesPerLine = WinBmpBytesPerLine(source.m_Width, source.m_bpp);
    const uint8_t* palette = reinterpret_cast<const uint8_t*>(source.m_pClrTab);
    for (int k = y < 0 ? -y : 0; k < rows; ++k) {
        uint8_t* dstRow = m_pBits + static_cast<size_t>(y + k) * m_Width * 4;
        const uint8_t* srcRow = source.m_pBits + static_cast<size_t>(k) * srcBytesPerLine;
        int first = x < 0 ? -x : 0;
        if (!source.m_bAlphaChannel && source.m_bpp == 32) {
            if (cols > first)
                memcpy(dstRow + static_cast<size_t>(x + first) * 4, srcRow + static_cast<size_t>(first) * 4,
                       static_cast<size_t>(cols - first) * 4);
            continue;
        }
        for (int c = first; c < cols; ++c) {
            uint8_t* d = dstRow + static_cast<size_t>(x + c) * 4;
            const uint8_t* s = source.m_bpp == 32 ? srcRow + static_cast<size_t>(c) * 4 : palette + 4 * srcRow[c];
            if (!source.m_bAlphaChannel) {
                memcpy(d, s, 4);
                continue;
            }
            int alpha = s[3];
            for (int i = 0; i < 3; ++i)
                d[i] = static_cast<uint8_t>((d[i] * (255 - alpha) + s[i] * alpha) >> 8);
        }
    }
}
