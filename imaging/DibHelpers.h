#pragma once
// DIB-section toolkit: free functions over GDI bitmaps, most of them over 24- or 32-bit DIB
// sections whose pixels they change directly. Failure is a 0 or null result, never an exception.
//
// Colour arguments are COLORREF values. Rectangles are inclusive (right and bottom name the last
// column and row) and are clamped to the bitmap; a null rectangle means the whole bitmap.
// Created bitmaps belong to the caller, who deletes them with DeleteObject.
#include <windows.h>
#include <cstdint>

struct RectF {
    float left, top, right, bottom;
};

// ---- creation, sizes and descriptions ----
HBITMAP CreateDibSection24(HDC dc, int width, int height);
HBITMAP CreateDibSection32(HDC dc, int width, int height);
HBITMAP CreateDibSection8Grey(HDC dc, int width, int height);
SIZE GetScaledBitmapSize(HBITMAP bitmap, float scale);
RECT* GetBitmapRect(RECT* out, HBITMAP bitmap);
int GetBitmapBounds(RECT* out, HBITMAP bitmap);
int GetDibHeaderSize(int colours);
int GetDibColorCount(const BITMAPINFOHEADER* header);
// 4 x ((width x bits - 1) / 32 + 1) x abs(height); 64-bit so hostile headers cannot wrap it.
uint64_t GetDibImageSize(int width, int height, int bits);
void GetRotatedBounds(int width, int height, float scale, float sine, float cosine, RECT* out);
void GetRotatedBoundsF(int width, int height, float scale, float sine, float cosine, RectF* out);

// ---- colour values ----
uint32_t ColorRefToArgb(COLORREF colour);
uint32_t ColorRefToRgb(COLORREF colour);
BYTE* ColorRefToTriple(BYTE* out, COLORREF colour);

// ---- pixels ----
uint32_t GetDibPixel(HBITMAP bitmap, int x, int y);
int SetFirstDibPixel(HBITMAP bitmap, COLORREF colour);
int ClearDib(HBITMAP bitmap);
int FillDibRect(HBITMAP bitmap, const RECT* rect, COLORREF colour);
int XorDibRect(HBITMAP bitmap, const RECT* rect, COLORREF colour);
int InvertDibRect(HBITMAP bitmap, const RECT* rect);
int GradientFillDibRect(HBITMAP bitmap, const RECT* rect, COLORREF top, COLORREF bottom);
int GradientFillDibRectH(HBITMAP bitmap, const RECT* rect, COLORREF left, COLORREF right);
int GradientBlendDibRectH(HBITMAP bitmap, const RECT* rect, COLORREF left, COLORREF right, DWORD opacity);
int ScaleAlphaDibRect(HBITMAP bitmap, const RECT* rect, DWORD level);
int AlphaGradientDibRect(HBITMAP bitmap, const RECT* rect, DWORD leftLevel, DWORD rightLevel);
// Thresholds are luminances 76 R + 149 G + 30 B (0..65025).
int ThresholdDib(HBITMAP bitmap, COLORREF dark, COLORREF light, int threshold);
int BandThresholdDib(HBITMAP bitmap, COLORREF outside, COLORREF inside, int low, int high);
int ThresholdDibByColor(HBITMAP bitmap, COLORREF dark, COLORREF light, COLORREF threshold);
int BandThresholdDibByColor(HBITMAP bitmap, COLORREF outside, COLORREF inside, COLORREF low, COLORREF high);
int ReplaceDibColor(HBITMAP bitmap, DWORD strength, COLORREF from, COLORREF to);
typedef void (*DibPixelCallback)(BYTE* srcPixel, BYTE* dstPixel, int srcX, int srcY, int srcWidth,
                                 int srcHeight);
int ForEachDibPixel(HBITMAP dst, POINT* position, HBITMAP src, const RECT* srcRect, DibPixelCallback callback);
int DrawBevelFrame(HBITMAP bitmap, const RECT* rect, COLORREF fill, COLORREF light, COLORREF dark, int thickness);
int DrawBevelPanel(HBITMAP bitmap, const RECT* rect, COLORREF fill, COLORREF light, COLORREF dark, int thickness,
                   HBITMAP pattern, DWORD opacity);

// ---- grey and alpha ----
HBITMAP MakeGreyCopy(HBITMAP bitmap);
HBITMAP CombineColorAndAlpha(HBITMAP colour, HBITMAP mask);

// ---- copies between sections (position null: 0,0; source rect null: the whole source). The
// position moves right/down when the source rect starts left of or above the source. ----
int CopyDibRect(HBITMAP dst, POINT* position, HBITMAP src, const RECT* srcRect);
int CopyDibRectKeyed(HBITMAP dst, POINT* position, HBITMAP src, const RECT* srcRect, COLORREF key);
int CopyDibRectOpacity(HBITMAP dst, POINT* position, HBITMAP src, const RECT* srcRect, DWORD opacity);
int CopyDibRectOpacityKeyed(HBITMAP dst, POINT* position, HBITMAP src, const RECT* srcRect, DWORD opacity,
                            COLORREF key);
int TileDibRect(HBITMAP dst, const RECT* rect, HBITMAP pattern, DWORD opacity);
int PaintNineGrid(HBITMAP dst, const RECT* rect, HBITMAP skin);
int PaintNineGridSolidCentre(HBITMAP dst, const RECT* rect, HBITMAP skin);
int PaintNineGridOpacity(HBITMAP dst, const RECT* rect, HBITMAP skin, DWORD opacity);
// Here the rect is an ordinary (exclusive) device rectangle.
int TileBitmapOnDc(HDC dc, const RECT* rect, HBITMAP bitmap);
HBITMAP TileBitmapToNew(HBITMAP pattern, int width, int height);
HBITMAP FitAndTileBitmap(HBITMAP bitmap, int width, int height);

// ---- scaling (HALFTONE StretchBlt into new 24-bit top-down sections) ----
HBITMAP ScaleBitmapToSize(HBITMAP bitmap, int width, int height);
HBITMAP ScaleBitmapToSizeMargin(HBITMAP bitmap, int width, int height, int margin);
// anchor 4: bottom-right part of the source, 8: centred part, otherwise the top-left part.
HBITMAP ScaleBitmapToFill(HBITMAP bitmap, int width, int height, int anchor, int margin);
HBITMAP ScaleBitmapCompatible(HBITMAP bitmap, float scale);
HBITMAP ScaleBitmapToFit(HBITMAP bitmap, int maxWidth, int maxHeight, int margin);
HBITMAP ShrinkBitmapToFit(HBITMAP bitmap, int maxWidth, int maxHeight, int margin);
HBITMAP FitBitmapOnBackground(HBITMAP bitmap, int width, int height, int sysColorIndex);
// Here the rect is exclusive.
HBITMAP CopyBitmapRect(HBITMAP bitmap, const RECT* rect);
HBITMAP CopyBitmapAs24(HBITMAP bitmap);

// ---- transition effects ----
// One step of a mask-driven transition; all three bitmaps 24-bit sections. Flag 1: soft edge of
// edgeWidth mask units; flag 2: copy the source where the mask is below the level.
int BlendTransitionStep(HBITMAP dst, HBITMAP src, HBITMAP mask, int level, int edgeWidth, unsigned flags);
