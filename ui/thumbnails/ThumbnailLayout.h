#pragma once
// The arithmetic of the thumbnail grid, kept apart from the window so tests can call it: sizes
// of cells, columns and gaps, where each cell lies, which items a view shows, fitting a picture
// into a thumbnail, where the keys move the focus, and caption fitting and wrapping.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

// Colours and measures of a thumbnail control.
struct ThumbnailLook {
    COLORREF highlightColor = 0;
    COLORREF faceColor = 0;
    COLORREF highlightTextColor = 0;
    COLORREF textColor = 0;
    COLORREF shadowColor = 0;
    COLORREF backgroundColor = 0;
    int thumbnailWidth = 80;
    int thumbnailHeight = 100;
    int selectionFrameWidth = 3;
    int frameWidth = 0;
    int shadowWidth = 4;
    int captionGap = 5;
    int horizontalSpacing = 20;
    int verticalSpacing = 20;
    int horizontalMargin = 30;
    int verticalMargin = 30;
    bool gradientShadow = true;
    bool systemColors = true;  // the six colours follow the system's
};

// Reads the six colours from the system.
void LoadSystemThumbnailColors(ThumbnailLook& look);

// Where the cells of a grid lie and how big its content is.
struct ThumbnailGrid {
    int cellWidth = 0;
    int cellHeight = 0;
    int columns = 1;
    int rows = 1;
    int visibleRows = 1;
    int firstLeft = 0;  // left edge of the first cell of each row
    int gap = 0;        // horizontal distance between neighbouring cells
    int contentWidth = 0;
    int contentHeight = 0;
};

// Width of what surrounds the picture inside a cell on each side (frame and shadow).
int ThumbnailFrameInset(const ThumbnailLook& look);
SIZE ThumbnailCellSize(const ThumbnailLook& look, int lineHeight);

// lastRowCaptionExtra: how far the tallest wrapped caption of the last row reaches below a
// one-line caption (0 when none does).
ThumbnailGrid ComputeThumbnailGrid(const ThumbnailLook& look, int lineHeight, int clientWidth,
                                   int clientHeight, int itemCount, int lastRowCaptionExtra);

// The cell of item index in content coordinates.
RECT ThumbnailCellRect(const ThumbnailGrid& grid, const ThumbnailLook& look, int index);

// Items whose cells meet the rows between top and bottom (content coordinates): [first, last],
// or first > last when none.
void ThumbnailRowSpan(const ThumbnailGrid& grid, const ThumbnailLook& look, int itemCount, int top,
                      int bottom, int& first, int& last);

// A picture of width x height fitted into a cell of cellWidth x cellHeight, keeping its
// proportions; a picture that fits is never enlarged.
SIZE FitIntoCell(int width, int height, int cellWidth, int cellHeight);

// The scroll position that brings cell into a view of clientWidth x clientHeight that now
// starts at scroll; unchanged when the cell is wholly inside.
POINT ScrollToShowCell(const RECT& cell, POINT scroll, int clientWidth, int clientHeight);

// Where an arrow or Page key moves the focus from index in a grid of columns and visibleRows
// holding count items; index itself when the key leads nowhere.
int NavigateThumbnailFocus(int index, UINT virtualKey, int columns, int visibleRows, int count);

// Caption shaping with a text measurer (pixel width of the first n characters of text).
typedef std::function<int(const char* text, int length)> TextWidthFn;

// The caption cut to a prefix and "..." when it is not narrower than width.
std::string FitCaptionWithEllipsis(const std::string& caption, int width, const TextWidthFn& measure);

// The caption split at spaces into lines no wider than width; a word too wide for a line is
// broken into pieces.
std::vector<std::string> WrapCaption(const std::string& caption, int width, const TextWidthFn& measure);
