#pragma once
// A decoded picture that can put its pixels on the screen: the image library's bitmap copied
// once into a DIB section, drawn stretched from there or handed over as a handle. Callers
// decode at 32 bits per pixel, whose rows need no padding.
#include <windows.h>
#include "framework/GdiHolders.h"
#include "imaging/AnyBmp.h"

class CMyBitmap : public CAnyBmp {
public:
    CMyBitmap() = default;
    ~CMyBitmap() override;
    CMyBitmap(const CMyBitmap&) = delete;
    CMyBitmap& operator=(const CMyBitmap&) = delete;

    // Copies the pixels into a new top-down DIB section (an earlier one is deleted first);
    // returns the bytes copied, 0 when the section could not be made (no handle is then held).
    int64_t MakeDibSection();
    // Stretches the whole section onto (x, y, width, height) of dc; 0 when there is no section.
    BOOL Draw(HDC dc, int x, int y, int width, int height, DWORD rop = SRCCOPY);

    // The section stays owned by this object.
    HBITMAP GetHandle() const { return dib_.Get(); }
    // The caller owns and deletes the section; this object forgets it.
    HBITMAP DetachHandle();
    SIZE GetSize() const;

private:
    GdiObject<HBITMAP> dib_;
};
