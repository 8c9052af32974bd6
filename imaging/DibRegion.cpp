#include "imaging/DibRegion.h"

#include <climits>

#include "imaging/DibAccess.h"
#include "imaging/DibHelpers.h"

namespace {

const DWORD kGrowBy = 100;
const DWORD kFlushAt = 2000;

// Collects rectangles in a movable global block laid out as region data, and turns every
// kFlushAt of them into a region OR-combined into the result.
class RegionBuilder {
public:
    RegionBuilder() { Reset(); }
    ~RegionBuilder() {
        if (block_) GlobalFree(block_);
        if (result_) DeleteObject(result_);
    }
    RegionBuilder(const RegionBuilder&) = delete;
    RegionBuilder& operator=(const RegionBuilder&) = delete;

    bool Init() {
        capacity_ = kGrowBy;
        block_ = GlobalAlloc(GMEM_MOVEABLE, sizeof(RGNDATAHEADER) + sizeof(RECT) * capacity_);
        return block_ != nullptr;
    }

    bool Add(LONG x1, LONG y, LONG x2) {
        if (count_ >= capacity_) {
            HGLOBAL bigger = GlobalReAlloc(block_, sizeof(RGNDATAHEADER) + sizeof(RECT) * (capacity_ + kGrowBy),
                                           GMEM_MOVEABLE);
            if (!bigger) return false;
            block_ = bigger;
            capacity_ += kGrowBy;
        }
        RGNDATA* data = static_cast<RGNDATA*>(GlobalLock(block_));
        if (!data) return false;
        RECT* rects = reinterpret_cast<RECT*>(data->Buffer);
        SetRect(&rects[count_], x1, y, x2, y + 1);
        GlobalUnlock(block_);
        ++count_;
        if (x1 < bounds_.left) bounds_.left = x1;
        if (y < bounds_.top) bounds_.top = y;
        if (x2 > bounds_.right) bounds_.right = x2;
        if (y + 1 > bounds_.bottom) bounds_.bottom = y + 1;
        return count_ < kFlushAt || Flush();
    }

    // Makes a region of what has collected and starts again.
    bool Flush() {
        RGNDATA* data = static_cast<RGNDATA*>(GlobalLock(block_));
        if (!data) return false;
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = count_;
        data->rdh.nRgnSize = 0;
        data->rdh.rcBound = bounds_;
        HRGN part = ExtCreateRegion(nullptr, sizeof(RGNDATAHEADER) + sizeof(RECT) * capacity_, data);
        GlobalUnlock(block_);
        if (!part) return false;
        if (!result_) {
            result_ = part;
        } else {
            CombineRgn(result_, result_, part, RGN_OR);
            DeleteObject(part);
        }
        Reset();
        return true;
    }

    HRGN Release() {
        HRGN r = result_;
        result_ = nullptr;
        return r;
    }

private:
    void Reset() {
        count_ = 0;
        SetRect(&bounds_, LONG_MAX, LONG_MAX, 0, 0);
    }

    HGLOBAL block_ = nullptr;
    DWORD capacity_ = 0;
    DWORD count_ = 0;
    RECT bounds_;
    HRGN result_ = nullptr;
};

inline BYTE Upper(BYTE key, BYTE tolerance) {
    const int v = key + tolerance;
    return static_cast<BYTE>(v > 255 ? 255 : v);
}

}  // namespace

HRGN BitmapToRegion(HBITMAP bitmap, DWORD key, DWORD tolerance) {
    int w, h;
    if (!dibaccess::GetBitmapSize(bitmap, w, h) || w <= 0 || h <= 0) return nullptr;

    BITMAPINFO info;
    ZeroMemory(&info, sizeof(info));
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!copy) return nullptr;
    bool drawn;
    {
        dibaccess::MemoryDc from(nullptr, bitmap);
        dibaccess::MemoryDc to(nullptr, copy);
        drawn = from.Ok() && to.Ok() && BitBlt(to.Get(), 0, 0, w, h, from.Get(), 0, 0, SRCCOPY);
    }
    dibk::DibView v;
    if (!drawn || !dibaccess::GetDibView(copy, v)) {
        DeleteObject(copy);
        return nullptr;
    }
    GdiFlush();
    // The copy is bottom-up: walk its memory from the last row so that rows run top to bottom.
    v.bits += static_cast<ptrdiff_t>(h - 1) * v.stride;
    v.stride = -v.stride;

    const BYTE lo[3] = {static_cast<BYTE>(key), static_cast<BYTE>(key >> 8), static_cast<BYTE>(key >> 16)};
    const BYTE hi[3] = {Upper(lo[0], static_cast<BYTE>(tolerance)), Upper(lo[1], static_cast<BYTE>(tolerance >> 8)),
                        Upper(lo[2], static_cast<BYTE>(tolerance >> 16))};
    auto transparent = [&](const uint8_t* p) {
        return p[0] >= lo[0] && p[0] <= hi[0] && p[1] >= lo[1] && p[1] <= hi[1] && p[2] >= lo[2] && p[2] <= hi[2];
    };

    RegionBuilder builder;
    bool ok = builder.Init();
    for (int y = 0; ok && y < h; ++y) {
        const uint8_t* row = v.Row(y);
        for (int x = 0; ok && x < w; ++x) {
            if (transparent(row + 4 * x)) continue;
            const int x1 = x;
            while (x < w && !transparent(row + 4 * x)) ++x;
            ok = builder.Add(x1, y, x);
        }
    }
    if (ok) ok = builder.Flush();
    DeleteObject(copy);
    return ok ? builder.Release() : nullptr;
}

HRGN SkinRegionFromQuadrants(HBITMAP bitmap, DWORD key, int newWidth, int newHeight, DWORD tolerance) {
    int w, h;
    if (!dibaccess::GetBitmapSize(bitmap, w, h)) return nullptr;
    const int hw = w / 2;
    const int hh = h / 2;
    if (hw <= 0 || hh <= 0) return nullptr;

    HRGN result = CreateRectRgn(hw, 0, newWidth - hw, newHeight);
    if (!result) return nullptr;
    HRGN band = CreateRectRgn(0, hh, newWidth, newHeight - hh);
    if (band) {
        CombineRgn(result, result, band, RGN_OR);
        DeleteObject(band);
    }
    const int offsets[4][2] = {{0, 0}, {newWidth - hw, 0}, {0, newHeight - hh}, {newWidth - hw, newHeight - hh}};
    for (int q = 0; q < 4; ++q) {
        HBITMAP part = CreateDibSection24(nullptr, hw, hh);
        if (!part) continue;
        const int col = (q & 1) ? hw : 0;
        const int row = (q & 2) ? hh : 0;
        const RECT src = {col, row, col + hw - 1, row + hh - 1};
        CopyDibRect(part, nullptr, bitmap, &src);
        HRGN rgn = BitmapToRegion(part, key, tolerance);
        DeleteObject(part);
        if (!rgn) continue;
        OffsetRgn(rgn, offsets[q][0], offsets[q][1]);
        CombineRgn(result, result, rgn, RGN_OR);
        DeleteObject(rgn);
    }
    return result;
}
