#pragma once
// How a list control's selection goes from what it is to what is wanted with the fewest row
// messages: each row message costs the list a notification and a repaint request, so a whole-list
// change (select all, invert, a condition) is done as one "all rows" message and the exceptions.
#include <cstddef>
#include "ui/PictureIndexList.h"

struct SelectionChanges {
    enum Start { kKeep, kClearAll, kSelectAll };
    Start start = kKeep;
    PictureIndexList select;    // rows to select after the start
    PictureIndexList deselect;  // rows to deselect after the start
    size_t Messages() const { return (start == kKeep ? 0 : 1) + select.size() + deselect.size(); }
};

// current and wanted: rows in any order (out-of-range rows and repeats are ignored).
SelectionChanges PlanSelectionChanges(int rows, const PictureIndexList& current, const PictureIndexList& wanted);

// Every row of 0..rows-1 that is not in `rows` (which may be in any order).
PictureIndexList OtherRows(int rows, const PictureIndexList& listed);
