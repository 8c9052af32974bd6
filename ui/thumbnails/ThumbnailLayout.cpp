#include "ui/thumbnails/ThumbnailLayout.h"

#include <algorithm>

void LoadSystemThumbnailColors(ThumbnailLook& look) {
    look.highlightColor = ::GetSysColor(COLOR_HIGHLIGHT);
    look.faceColor = ::GetSysColor(COLOR_BTNFACE);
    look.highlightTextColor = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    look.textColor = ::GetSysColor(COLOR_WINDOWTEXT);
    look.shadowColor = ::GetSysColor(COLOR_BTNSHADOW);
    look.backgroundColor = ::GetSysColor(COLOR_WINDOW);
}

int ThumbnailFrameInset(const ThumbnailLook& look) {
    return std::max(look.selectionFrameWidth, look.frameWidth) + look.shadowWidth;
}

SIZE ThumbnailCellSize(const ThumbnailLook& look, int lineHeight) {
    const int inset = ThumbnailFrameInset(look);
    SIZE size;
    size.cx = look.thumbnailWidth + 2 * inset;
    size.cy = 2 * inset + lineHeight + look.captionGap + look.thumbnailHeight;
    return size;
}

ThumbnailGrid ComputeThumbnailGrid(const ThumbnailLook& look, int lineHeight, int clientWidth,
                                   int clientHeight, int itemCount, int lastRowCaptionExtra) {
    ThumbnailGrid grid;
    const SIZE cellSize = ThumbnailCellSize(look, lineHeight);
    const struct { int cx, cy; } cell = {static_cast<int>(cellSize.cx), static_cast<int>(cellSize.cy)};
    grid.cellWidth = cell.cx;
    grid.cellHeight = cell.cy;
    const int columns = (look.horizontalSpacing + clientWidth - 2 * look.horizontalMargin) /
                        (cell.cx + look.horizontalSpacing);
    grid.columns = std::max(1, std::min(columns, itemCount));
    grid.rows = std::max(1, (itemCount + grid.columns - 1) / grid.columns);
    grid.visibleRows = std::max(1, (look.verticalSpacing + clientHeight - 2 * look.verticalMargin) /
                                       (cell.cy + look.verticalSpacing));
    if (grid.columns == 1) {
        grid.gap = look.horizontalSpacing;
        grid.firstLeft = std::max(look.horizontalMargin, clientWidth / 2 - cell.cx / 2);
    } else {
        grid.firstLeft = look.horizontalMargin;
        grid.gap = (clientWidth - 2 * look.horizontalMargin - grid.columns * cell.cx) / (grid.columns - 1);
    }
    // A centred single column fits whenever the cell and its margins do: rounding its start to a
    // whole pixel must not leave a pixel to scroll.
    const int usedWidth = grid.columns == 1 ? cell.cx + 2 * look.horizontalMargin
                                            : (grid.columns - 1) * grid.gap + grid.columns * cell.cx + 2 * grid.firstLeft;
    grid.contentWidth = std::max(clientWidth, usedWidth);
    // Room below the last row for a wrapped caption, so a focused item there shows it whole.
    const int height = grid.rows * cell.cy + (grid.rows - 1) * look.verticalSpacing +
                       2 * look.verticalMargin + std::max(0, lastRowCaptionExtra);
    grid.contentHeight = std::max(clientHeight, height);
    return grid;
}

RECT ThumbnailCellRect(const ThumbnailGrid& grid, const ThumbnailLook& look, int index) {
    const int row = index / grid.columns;
    const int column = index % grid.columns;
    RECT cell;
    cell.left = grid.firstLeft + column * (grid.cellWidth + grid.gap);
    cell.top = look.verticalMargin + row * (grid.cellHeight + look.verticalSpacing);
    cell.right = cell.left + grid.cellWidth;
    cell.bottom = cell.top + grid.cellHeight;
    return cell;
}

void ThumbnailRowSpan(const ThumbnailGrid& grid, const ThumbnailLook& look, int itemCount, int top,
                      int bottom, int& first, int& last) {
    first = 0;
    last = -1;
    if (itemCount <= 0 || bottom <= top) return;
    const int step = grid.cellHeight + look.verticalSpacing;
    // A row meets the span when its top lies above bottom and its bottom below top.
    int firstRow = (top - look.verticalMargin - grid.cellHeight) / step;
    if (top - look.verticalMargin - grid.cellHeight >= 0) ++firstRow;
    firstRow = std::max(0, firstRow);
    int lastRow = bottom - 1 - look.verticalMargin;
    if (lastRow < 0) return;
    lastRow /= step;
    lastRow = std::min(lastRow, grid.rows - 1);
    if (lastRow < firstRow) return;
    first = firstRow * grid.columns;
    last = std::min(itemCount - 1, (lastRow + 1) * grid.columns - 1);
    if (first > last) {
        first = 0;
        last = -1;
    }
}

SIZE FitIntoCell(int width, int height, int cellWidth, int cellHeight) {
    long long w = width, h = height;
    const long long cw = cellWidth, ch = cellHeight;
    if (w > cw && h > ch) {
        if (w < h) {
            w = w * ch / h;
            h = ch;
        } else {
            h = cw * h / w;
            w = cw;
        }
    }
    if (w > cw && h <= ch) {
        h = cw * h / w;
        w = cw;
    }
    if (h > ch) {
        w = w * ch / h;
        h = ch;
    }
    SIZE size;
    size.cx = static_cast<LONG>(w);
    size.cy = static_cast<LONG>(h);
    return size;
}

POINT ScrollToShowCell(const RECT& cell, POINT scroll, int clientWidth, int clientHeight) {
    const bool inside = cell.left >= scroll.x && cell.right <= scroll.x + clientWidth &&
                        cell.top >= scroll.y && cell.bottom <= scroll.y + clientHeight;
    if (inside) return scroll;
    POINT to;
    const int width = cell.right - cell.left, height = cell.bottom - cell.top;
    to.x = (cell.left >= scroll.x && width < clientWidth) ? cell.right - clientWidth : cell.left;
    to.y = (cell.top < scroll.y || height >= clientHeight) ? cell.top : cell.bottom - clientHeight;
    return to;
}

int NavigateThumbnailFocus(int index, UINT virtualKey, int columns, int visibleRows, int count) {
    if (count <= 0 || columns <= 0) return index;
    int row = index / columns;
    int column = index % columns;
    const int lastRow = (count - 1) / columns;
    // The last row that still has an item in this column.
    const int lastRowInColumn = (lastRow * columns + column < count) ? lastRow : lastRow - 1;
    switch (virtualKey) {
    case VK_LEFT:
        if (column - 1 >= 0) --column;
        break;
    case VK_UP:
        if (row - 1 >= 0) --row;
        break;
    case VK_RIGHT:
        if (column + 1 < columns && row * columns + column + 1 < count) ++column;
        break;
    case VK_DOWN:
        if (row + 1 <= lastRowInColumn) ++row;
        break;
    case VK_PRIOR:
        row = std::max(0, row - visibleRows);
        break;
    case VK_NEXT:
        row = std::min(row + visibleRows, std::max(0, lastRowInColumn));
        break;
    default:
        return index;
    }
    return row * columns + column;
}

std::string FitCaptionWithEllipsis(const std::string& caption, int width, const TextWidthFn& measure) {
    std::string text = caption.substr(0, 1024);
    if (measure(text.c_str(), static_cast<int>(text.size())) < width) return text;
    const int dots = measure("...", 3);
    if (dots > width) return "...";
    if (dots == width) return std::string();
    int m = 0;
    while (m + 1 <= static_cast<int>(text.size())) {
        const std::string probe = text.substr(0, m + 1) + "...";
        if (measure(probe.c_str(), static_cast<int>(probe.size())) >= width) break;
        ++m;
    }
    if (m == 0) return std::string();
    return text.substr(0, m - 1) + "...";
}

std::vector<std::string> WrapCaption(const std::string& caption, int width, const TextWidthFn& measure) {
    std::vector<std::string> lines;
    auto fits = [&](const std::string& s) { return measure(s.c_str(), static_cast<int>(s.size())) <= width; };
    std::string line;
    bool lineOpen = false;
    size_t at = 0;
    while (at <= caption.size()) {
        size_t end = caption.find(' ', at);
        if (end == std::string::npos) end = caption.size();
        std::string word = caption.substr(at, end - at);
        at = end + 1;
        if (lineOpen && fits(line + " " + word)) {
            line += " " + word;
        } else {
            if (lineOpen) lines.push_back(line);
            if (fits(word)) {
                line = word;
            } else {
                // Break the word: a piece ends with the first character that makes it too wide.
                std::string piece;
                for (char c : word) {
                    piece += c;
                    if (!fits(piece)) {
                        lines.push_back(piece);
                        piece.clear();
                    }
                }
                line = piece;
                if (line.empty()) {
                    lineOpen = false;
                    continue;
                }
                // The rest of a broken word stands on its own line.
                lines.push_back(line);
                lineOpen = false;
                continue;
            }
            lineOpen = true;
        }
    }
    if (lineOpen) lines.push_back(line);
    if (lines.empty()) lines.push_back(std::string());
    return lines;
}
