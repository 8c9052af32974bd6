#pragma once
// The bitmap holders of the viewer window: a picture with its placement flags and opacity, and
// the background (a colour or two-colour gradient with an optional picture of its own).
#include <windows.h>
#include "ui/viewer/ShownPicture.h"

// Placement flags of a CIVImage.
enum IVImageFlags {
    IVF_TILE = 0x100,           // low 12 bits exactly: tile over the whole area
    IVF_CENTER_H = 0x2,
    IVF_RIGHT = 0x4,
    IVF_CENTER_V = 0x20,
    IVF_BOTTOM = 0x40,
    IVF_SHRINK_TO_FIT = 0x1000,
    IVF_ENLARGE_TO_FIT = 0x2000,
    IVF_FILL = 0x4000,
    IVF_VIEWER_PICTURE = IVF_SHRINK_TO_FIT | IVF_CENTER_V | IVF_CENTER_H
};

// An x or y of this value asks for placement by the alignment flags (offsets are never positive).
const int kPlaceByFlags = 1;

class CIVImage {
public:
    CIVImage();
    virtual ~CIVImage();
    CIVImage(const CIVImage&) = delete;
    CIVImage& operator=(const CIVImage&) = delete;

    // Frees the bitmap; the flags become "tiled".
    virtual void Reset();
    // Draws into the area of dc at the zoom; x, y: offsets or kPlaceByFlags; opacity -1: own.
    virtual void Draw(HDC dc, const RECT& area, float zoom, int x, int y, int opacity = -1);
    // Where Draw puts the picture, cut to the area; empty without a bitmap.
    virtual RECT GetPlacement(const RECT& area, float zoom, int x, int y) const;

    // Takes ownership of the bitmap (the previous one is let go).
    void SetBitmap(HBITMAP bitmap);
    // Shares the picture's sections: a view no larger than the reduced copy is drawn from it.
    void SetBitmap(const ShownPicture& shown);
    HBITMAP GetBitmap() const { return bitmap_.get(); }
    HBITMAP GetReducedBitmap() const { return reduced_.get(); }
    // The other holder's bitmaps are taken over; its flags and opacity are copied.
    void TakeFrom(CIVImage& other);
    SIZE GetSize() const { return size_; }
    bool HasBitmap() const { return bitmap_ != nullptr; }

    int flags = IVF_TILE;
    BYTE opacity = 255;

protected:
    bool IsTiled() const { return (flags & 0xFFF) == IVF_TILE; }
    // The unclipped rectangle of the scaled picture in the area.
    RECT FullPlacement(const RECT& area, float zoom, int x, int y) const;
    // Draws the part of the picture placed at target that lies in area.
    void DrawBitmap(HDC dc, const RECT& target, const RECT& area, int opacity) const;

    typedef BOOL(WINAPI* AlphaBlendFn)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
    typedef BOOL(WINAPI* GradientFillFn)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
    AlphaBlendFn alphaBlend_ = nullptr;
    GradientFillFn gradientFill_ = nullptr;

private:
    HMODULE msimg32_ = nullptr;
    SharedBitmap bitmap_;
    SharedBitmap reduced_;
    SIZE size_ = {0, 0};
    SIZE reducedSize_ = {0, 0};
};

class CIVBackground : public CIVImage {
public:
    // Colour 1 (or a gradient of colours 1 and 2) over the area, then its picture at zoom 1.
    void Draw(HDC dc, const RECT& area, float zoom, int x, int y, int opacity = -1) override;

    COLORREF color1 = 0;
    COLORREF color2 = 0xFFFFFF;
    // 0 solid; 1 and 4 horizontal, others vertical; colour 1 first for 1 and 16.
    int gradientMode = 0;
};
