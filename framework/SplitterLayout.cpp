#include "framework/SplitterLayout.h"
#include <algorithm>

namespace {
int Extent(const SplitterGeometry& g) {
    return g.vertical ? g.rect.right - g.rect.left : g.rect.bottom - g.rect.top;
}
RECT Empty() { return RECT{0, 0, 0, 0}; }
}  // namespace

RECT SplitterPaneRect(const SplitterGeometry& g, int pane) {
    if (pane != 0 && pane != 1) return Empty();
    if (g.singlePane != kSplitPaneNone) return g.singlePane == pane ? g.rect : Empty();
    if (g.position < 0) return Empty();
    RECT r = g.rect;
    const int barStart = std::min(g.position, Extent(g));
    const int barEnd = std::min(barStart + g.barWidth, Extent(g));
    if (g.vertical) {
        if (pane == 0) r.right = r.left + barStart;
        else r.left = r.left + barEnd;
    } else {
        if (pane == 0) r.bottom = r.top + barStart;
        else r.top = r.top + barEnd;
    }
    return r;
}

RECT SplitterBarRect(const SplitterGeometry& g) {
    if (g.singlePane != kSplitPaneNone || g.position < 0) return Empty();
    RECT r = g.rect;
    const int barStart = std::min(g.position, Extent(g));
    const int barEnd = std::min(barStart + g.barWidth, Extent(g));
    if (g.vertical) {
        r.left = g.rect.left + barStart;
        r.right = g.rect.left + barEnd;
    } else {
        r.top = g.rect.top + barStart;
        r.bottom = g.rect.top + barEnd;
    }
    return r;
}

int ClampSplitterPosition(const SplitterGeometry& g, int position, int minPane) {
    const int extent = Extent(g);
    const int highest = extent - g.barWidth - minPane;
    if (highest < minPane) return std::max(0, std::min(position, std::max(0, extent - g.barWidth)));
    return std::max(minPane, std::min(position, highest));
}

int SplitterProportion(const SplitterGeometry& g) {
    const int room = Extent(g) - g.barWidth;
    if (room <= 0 || g.position < 0) return -1;
    return static_cast<int>((static_cast<long long>(std::min(g.position, room)) * kSplitterProportionScale + room / 2) /
                            room);
}

int SplitterPositionFromProportion(const SplitterGeometry& g, int proportion) {
    const int room = Extent(g) - g.barWidth;
    if (room <= 0 || proportion < 0) return g.position;
    return static_cast<int>((static_cast<long long>(proportion) * room + kSplitterProportionScale / 2) /
                            kSplitterProportionScale);
}
