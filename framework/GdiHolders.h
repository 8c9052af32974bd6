#pragma once
// Owners for the GDI resources code borrows or makes while it paints, measures or draws: each
// gives its resource back on every path, an exception's included.
#include <windows.h>
#include "framework/OwnedHandle.h"

// BeginPaint ... EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(::BeginPaint(window, &ps_)) {}
    ~PaintDc() { ::EndPaint(window_, &ps_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc_; }
    const PAINTSTRUCT& Info() const { return ps_; }

private:
    HWND window_;
    PAINTSTRUCT ps_ = {};
    HDC dc_;
};

// GetDC ... ReleaseDC (the screen's when the window is null).
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    // One the window gave otherwise (GetDCEx, GetWindowDC), released the same way.
    WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
    ~WindowDc() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// CreateCompatibleDC ... DeleteDC, with the bitmap selected into it (if any) taken out first.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith, HBITMAP select = nullptr) : dc_(::CreateCompatibleDC(compatibleWith)) {
        if (dc_ && select) Select(select);
    }
    ~MemoryDc() {
        if (!dc_) return;
        if (old_) ::SelectObject(dc_, old_);
        ::DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Get() const { return dc_; }
    bool Ok() const { return dc_ != nullptr; }
    // False when the last bitmap could not be selected (for example, selected elsewhere).
    bool Selected() const { return selected_; }
    void Select(HBITMAP bitmap) {
        HGDIOBJ previous = ::SelectObject(dc_, bitmap);
        selected_ = previous != nullptr && previous != HGDI_ERROR;
        if (!old_ && selected_) old_ = previous;
    }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
    bool selected_ = false;
};

// A device context handed over to be deleted: one made by CreateDC, or the print dialog's.
class CreatedDc {
public:
    explicit CreatedDc(HDC dc = nullptr) : dc_(dc) {}
    ~CreatedDc() {
        if (dc_) ::DeleteDC(dc_);
    }
    CreatedDc(const CreatedDc&) = delete;
    CreatedDc& operator=(const CreatedDc&) = delete;
    CreatedDc(CreatedDc&& other) noexcept : dc_(other.dc_) { other.dc_ = nullptr; }
    CreatedDc& operator=(CreatedDc&&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// A pen, brush, font, bitmap, palette or region this code created; deleted when the owner goes.
struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
template <class Handle>
using GdiObject = OwnedHandle<Handle, DeleteGdiObject>;

// An enhanced metafile this code made; DeleteEnhMetaFile, not DeleteObject, frees it.
struct DeleteEnhancedMetafile {
    void operator()(HENHMETAFILE metafile) const { ::DeleteEnhMetaFile(metafile); }
};
using EnhancedMetafile = OwnedHandle<HENHMETAFILE, DeleteEnhancedMetafile>;

// An object selected into a device context, and the one it replaced put back at the end.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? ::SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (old_) ::SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// The same for a palette, which only SelectPalette takes; nothing is selected for a null one.
class SelectedPalette {
public:
    SelectedPalette(HDC dc, HPALETTE palette)
        : dc_(dc), old_(dc && palette ? ::SelectPalette(dc, palette, FALSE) : nullptr) {}
    ~SelectedPalette() {
        if (old_) ::SelectPalette(dc_, old_, FALSE);
    }
    SelectedPalette(const SelectedPalette&) = delete;
    SelectedPalette& operator=(const SelectedPalette&) = delete;

private:
    HDC dc_;
    HPALETTE old_;
};
