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

// Proportional mode keeps the bar's place as a share of the room the panes have (extent less the
// bar), in units of kSplitterProportionScale, so the panes keep their proportion as the window
// grows or shrinks.
const int kSplitterProportionScale = 10000;
// The share of position; -1 when the splitter has no room yet or no position.
int SplitterProportion(const SplitterGeometry& geometry);
// The position that share gives in geometry's rectangle.
int SplitterPositionFromProportion(const SplitterGeometry& geometry, int proportion);
