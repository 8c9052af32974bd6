#pragma once
// Bitmap whose pixels live in one packed Windows DIB (BITMAPINFOHEADER, palette, rows bottom-up),
// so the same memory can be drawn with GDI, exchanged through the clipboard and loaded from
// bitmap resources.
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include "imaging/Bmp.h"

// Sizes of a packed DIB of width x height at `bits` bits per pixel.
int WinBmpBytesPerLine(int width, int bits);
int64_t WinBmpImageSize(int width, int height, int bits);
int64_t WinBmpDibSize(int width, int height, int bits);

class CWinBmp : public CBmp {
public:
    CWinBmp();
    ~CWinBmp() override;

    int GetMemUsed() override;
    int GetBytesPerLine() override;

    // Replaces the picture with a bitmap resource of the module. False (picture unchanged)
    // when the module has no such bitmap or it is malformed.
    virtual bool LoadFromResource(HMODULE module, int resourceId);

    // Drawing with the bitmap's own palette (DIB_RGB_COLORS).
    virtual void Draw(HDC dc, int x, int y, DWORD rop = SRCCOPY);
    virtual void DrawStretched(HDC dc, int x, int y, int width, int height, DWORD rop = SRCCOPY);
    virtual void DrawScaled(HDC dc, int x, int y, double factor, DWORD rop = SRCCOPY);
    virtual void DrawPart(HDC dc, int x, int y, int left, int top, int right, int bottom);

    // Replaces the picture with a copy of a packed DIB (header, palette, pixels) of at most
    // `available` bytes. Raises CTextException(10) when memory runs out and (2) for a DIB
    // this class cannot hold (compressed, unknown depth, larger than `available`).
    virtual void CreateFromPackedDib(const BITMAPINFOHEADER* header, size_t available);

    // A movable global-memory copy of the packed DIB (for CF_DIB); the caller owns it.
    virtual HGLOBAL MakeGlobalCopy();

    bool CopyToClipboard();
    // format: CF_DIB or CF_BITMAP.
    bool CreateFromClipboard(UINT format);
    // palette may be null; its entries replace the DIB's colours for 8 bits or fewer.
    void CreateFromPackedDibAndPalette(const BITMAPINFOHEADER* header, size_t available, HPALETTE palette);
    void CreateFromBitmapHandle(HBITMAP bitmap);
    void CopyPaletteFrom(const CWinBmp& other);

    BITMAPINFOHEADER* GetBMI() const { return reinterpret_cast<BITMAPINFOHEADER*>(m_pDib); }
    uint8_t* GetBits() const { return m_pBits; }
    SIZE GetSize() const;

    // Draws `source` onto this 32-bit bitmap with its bottom-left corner at (x, y), both
    // counted in DIB order (from the bottom). Sources with alpha are blended by it.
    void DrawOnto(const CWinBmp& source, int x, int y);

protected:
    void InternalCreate(int width, int height, uint16_t bpp, bool hasAlpha) override;
    void FreeMembers() override;
    void InitLineArray() override;
    // Points the palette and pixel pointers behind the header of the current block.
    virtual void PlaceDibPointers();

private:
    CWinBmp(const CWinBmp&) = delete;
    CWinBmp& operator=(const CWinBmp&) = delete;
    // One picture row of a packed DIB of `bits` per pixel into a row of this bitmap's depth.
    static void CopyDibRow(const uint8_t* row, int bits, int width, uint8_t* out);

    uint8_t* m_pDib = nullptr;
    uint8_t* m_pBits = nullptr;
};
