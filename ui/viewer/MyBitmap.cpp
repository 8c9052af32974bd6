#include "ui/viewer/MyBitmap.h"
#include <cstring>
#include <utility>

CMyBitmap::~CMyBitmap() = default;

int64_t CMyBitmap::MakeDibSection() {
    dib_.Reset();
    // Only 32-bit pixels are copied: fewer bits would need row padding and a colour table.
    if (GetWidth() <= 0 || GetHeight() <= 0 || !GetPixels() || GetBitsPerPixel() != 32) return 0;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = GetWidth();
    info.bmiHeader.biHeight = -GetHeight();  // top-down: row 0 is the top row, as ours
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = GetBitsPerPixel();
    info.bmiHeader.biCompression = BI_RGB;

    void* bits = nullptr;
    GdiObject<HBITMAP> dib(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return 0;
    const int64_t size = CalcDataSize(GetWidth(), GetHeight(), GetBitsPerPixel());
    std::memcpy(bits, GetPixels(), static_cast<size_t>(size));
    dib_ = std::move(dib);
    return size;
}

BOOL CMyBitmap::Draw(HDC dc, int x, int y, int width, int height, DWORD rop) {
    if (!dib_) return 0;
    MemoryDc memory(dc, dib_.Get());
    if (!memory.Ok()) return 0;
    const BOOL ok = ::StretchBlt(dc, x, y, width, height, memory.Get(), 0, 0, GetWidth(), GetHeight(), rop);
    return ok ? 1 : 0;
}

HBITMAP CMyBitmap::DetachHandle() { return dib_.Release(); }

SIZE CMyBitmap::GetSize() const {
    SIZE size = {GetWidth(), GetHeight()};
    return size;
}
