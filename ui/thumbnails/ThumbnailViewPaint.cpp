// Drawing of the thumbnail control: one back buffer, only the items that meet the paint
// rectangle, the focused item last so its wrapped caption lies over its neighbours.
#include "ui/thumbnails/ThumbnailView.h"
#include "framework/GdiHolders.h"
#include "framework/SystemFont.h"

#include <algorithm>
#include <cstddef>

void CThumbnailView::CreateDrawingObjects() {
    selectionPen_.Reset(::CreatePen(PS_INSIDEFRAME, look_.selectionFrameWidth, look_.highlightColor));
    inactiveSelectionPen_.Reset(::CreatePen(PS_INSIDEFRAME, look_.selectionFrameWidth, look_.faceColor));
    framePen_.Reset(::CreatePen(PS_INSIDEFRAME, look_.frameWidth, look_.faceColor));
    font_.Reset(CreateSystemMessageFont());
    if (!font_) font_.Reset(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    LOGFONTA logFont = {};
    ::GetObjectA(font_.Get(), sizeof(logFont), &logFont);
    lineHeight_ = 2 - ::MulDiv(logFont.lfHeight, ::GetDeviceCaps(WindowDc(nullptr).Get(), LOGPIXELSY), 72);
    if (lineHeight_ < 4) lineHeight_ = 16;
    backgroundBrush_.Reset(::CreateSolidBrush(look_.backgroundColor));
    highlightBrush_.Reset(::CreateSolidBrush(look_.highlightColor));
    shadowBrush_.Reset(::CreateSolidBrush(look_.shadowColor));
}

LRESULT CThumbnailView::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    if (!backBuffer_) {
        PaintDc target(m_hWnd);
        ::FillRect(target.Get(), &target.Info().rcPaint, backgroundBrush_.Get());
        return 0;
    }
    PaintBuffered();
    // Painting means the control shows: fetching may go on.
    if (pendingCount_ > 0 && loadingEnabled_ && !loadTimerRunning_) StartLoadTimer();
    return 0;
}

void CThumbnailView::PaintBuffered() {
    PaintDc target(m_hWnd);
    const PAINTSTRUCT& ps = target.Info();
    MemoryDc buffer(target.Get(), backBuffer_.Get());
    const HDC dc = buffer.Get();
    SelectedObject font(dc, font_.Get());
    ::FillRect(dc, &ps.rcPaint, backgroundBrush_.Get());

    RECT content = ps.rcPaint;
    ::OffsetRect(&content, scroll_.x, scroll_.y);
    int first = 0, last = -1;
    ThumbnailRowSpan(grid_, look_, GetItemCount(), content.top - grid_.cellHeight, content.bottom, first, last);
    MeasureCaptions(first, last, dc);
    if (focused_ >= 0) MeasureCaptions(focused_, focused_, dc);
    for (int i = first; i <= last; ++i)
        if (i != focused_ && ItemMeets(i, content)) PaintItem(dc, i);
    if (focused_ >= 0 && focused_ < GetItemCount() && ItemMeets(focused_, content)) {
        PaintItem(dc, focused_);
        if (hasFocus_) PaintFocusCaption(dc);
    }
    if (dragging_) {
        RECT band = {std::min(bandStart_.x, bandCorner_.x), std::min(bandStart_.y, bandCorner_.y),
                     std::max(bandStart_.x, bandCorner_.x), std::max(bandStart_.y, bandCorner_.y)};
        band = ToClient(band);
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(255, 255, 255));
        ::DrawFocusRect(dc, &band);
    }
    ::BitBlt(target.Get(), ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
             ps.rcPaint.bottom - ps.rcPaint.top, dc, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
}

void CThumbnailView::PaintItem(HDC dc, int index) {
    const CThumbnailItem& item = *items_[index];
    const RECT cell = ToClient(item.cell);
    RECT frame = ToClient(item.FrameArea(look_, lineHeight_));
    {
        SelectedObject hollow(dc, ::GetStockObject(NULL_BRUSH));
        if (look_.frameWidth > 0) {
            RECT inner = frame;
            const int inset = look_.selectionFrameWidth - look_.frameWidth;
            if (inset > 0) ::InflateRect(&inner, -inset, -inset);
            SelectedObject pen(dc, framePen_.Get());
            ::Rectangle(dc, inner.left, inner.top, inner.right, inner.bottom);
        }
        if (item.selected && look_.selectionFrameWidth > 0) {
            SelectedObject pen(dc, hasFocus_ ? selectionPen_.Get() : inactiveSelectionPen_.Get());
            ::Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
        }
    }

    const ThumbnailItemData& data = item.Data();
    const int sourceWidth = data.source.right - data.source.left;
    const int sourceHeight = data.source.bottom - data.source.top;
    if (data.bitmap && sourceWidth > 0 && sourceHeight > 0) {
        const SIZE size = FitIntoCell(sourceWidth, sourceHeight, look_.thumbnailWidth, look_.thumbnailHeight);
        RECT picture;
        picture.left = cell.left + (cell.right - cell.left) / 2 - size.cx / 2;
        picture.top = cell.top + look_.shadowWidth + look_.thumbnailHeight / 2 +
                      std::max(look_.selectionFrameWidth, look_.frameWidth) - size.cy / 2;
        picture.right = picture.left + size.cx;
        picture.bottom = picture.top + size.cy;
        PaintShadow(dc, picture);
        MemoryDc source(dc, data.bitmap);
        ::SetStretchBltMode(dc, HALFTONE);
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
        ::StretchBlt(dc, picture.left, picture.top, size.cx, size.cy, source.Get(), data.source.left,
                     data.source.top, sourceWidth, sourceHeight, SRCCOPY);
    }
    PaintCaption(dc, index);
}

void CThumbnailView::PaintShadow(HDC dc, const RECT& picture) {
    const int s = look_.shadowWidth;
    if (s <= 0) return;
    const RECT right = {picture.right, picture.top + s, picture.right + s, picture.bottom + s};
    const RECT below = {picture.left + s, picture.bottom, picture.right + s, picture.bottom + s};
    if (!look_.gradientShadow || !gradientFill_) {
        ::FillRect(dc, &right, shadowBrush_.Get());
        ::FillRect(dc, &below, shadowBrush_.Get());
        return;
    }
    auto vertex = [](LONG x, LONG y, COLORREF c) {
        TRIVERTEX v;
        v.x = x;
        v.y = y;
        v.Red = static_cast<COLOR16>(GetRValue(c) << 8);
        v.Green = static_cast<COLOR16>(GetGValue(c) << 8);
        v.Blue = static_cast<COLOR16>(GetBValue(c) << 8);
        v.Alpha = 0;
        return v;
    };
    const COLORREF dark = look_.shadowColor, light = look_.backgroundColor;
    // Right strip fades to the right, lower strip fades downwards.
    TRIVERTEX h[2] = {vertex(picture.right, picture.top + s, dark), vertex(picture.right + s, picture.bottom, light)};
    GRADIENT_RECT one = {0, 1};
    gradientFill_(dc, h, 2, &one, 1, GRADIENT_FILL_RECT_H);
    TRIVERTEX v[2] = {vertex(picture.left + s, picture.bottom, dark), vertex(picture.right, picture.bottom + s, light)};
    gradientFill_(dc, v, 2, &one, 1, GRADIENT_FILL_RECT_V);
    // The corner below right: dark at its top-left, fading to the other three corners.
    TRIVERTEX corner[4] = {vertex(picture.right, picture.bottom, dark), vertex(picture.right + s, picture.bottom, light),
                           vertex(picture.right + s, picture.bottom + s, light),
                           vertex(picture.right, picture.bottom + s, light)};
    GRADIENT_TRIANGLE triangles[2] = {{0, 1, 2}, {0, 2, 3}};
    gradientFill_(dc, corner, 4, triangles, 2, GRADIENT_FILL_TRIANGLE);
}

void CThumbnailView::PaintCaption(HDC dc, int index) {
    const CThumbnailItem& item = *items_[index];
    if (item.Data().caption.empty()) return;
    const bool wrapped = HasFocusedCaption(index);
    const RECT area = ToClient(item.CaptionArea(wrapped, lineHeight_));
    if (index == focused_) ::FillRect(dc, &area, backgroundBrush_.Get());
    const bool highlighted = item.selected && hasFocus_;
    if (highlighted) ::FillRect(dc, &area, highlightBrush_.Get());
    ::SetTextColor(dc, highlighted ? look_.highlightTextColor : look_.textColor);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextAlign(dc, TA_CENTER | TA_TOP);
    const int centre = (area.left + area.right) / 2;
    if (wrapped) {
        int y = area.top;
        for (const std::string& line : item.WrappedLines()) {
            ::TextOutA(dc, centre, y, line.c_str(), static_cast<int>(line.size()));
            y += lineHeight_ - 2;
        }
    } else {
        const std::string& text = item.OneLineCaption();
        ::TextOutA(dc, centre, area.top, text.c_str(), static_cast<int>(text.size()));
    }
    ::SetTextAlign(dc, TA_LEFT | TA_TOP);
}

void CThumbnailView::PaintFocusCaption(HDC dc) {
    const RECT area = ToClient(ItemCaptionArea(focused_));
    const bool selected = items_[focused_]->selected;
    ::SetTextColor(dc, look_.textColor);
    ::SetBkColor(dc, selected ? look_.highlightColor : look_.backgroundColor);
    ::DrawFocusRect(dc, &area);
}
