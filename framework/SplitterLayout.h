#pragma once
// Arithmetic of a two-pane splitter, apart from any window: where the bar and each pane lie for a
// given rectangle, bar position and single-pane setting.
#include <windows.h>

enum SplitterPane { kSplitPaneNone = -1, kSplitPaneLeft = 0, kSplitPaneRight = 1 };

struct SplitterGeometry {
    RECT rect;            // the splitter's client rectangle
    int position;         // bar position from the left (top) edge; -1 until set
    int barWidth;         // bar thickness including its edges
    bool vertical;        // true: panes side by side, bar upright
    int singlePane;       // SplitterPane
};

// The rectangle of pane 0 or 1; empty when that pane is not shown.
RECT SplitterPaneRect(const SplitterGeometry& geometry, int pane);
// The bar's rectangle; empty in single-pane mode or before a position was set.
RECT SplitterBarRect(const SplitterGeometry& geometry);
// Keeps a dragged or requested position inside the rectangle, leaving each pane `minPane` pixels
// where there is room for both.
int ClampSplitterPosition(const SplitterGeometry& geometry, int position, int minPane);
