#include "ui/pictures/SelectionChanges.h"

#include <vector>

namespace {

std::vector<bool> Marks(int rows, const PictureIndexList& listed, size_t* count) {
    std::vector<bool> marks(static_cast<size_t>(rows > 0 ? rows : 0), false);
    *count = 0;
    for (int32_t row : listed) {
        if (row < 0 || row >= rows || marks[static_cast<size_t>(row)]) continue;
        marks[static_cast<size_t>(row)] = true;
        ++*count;
    }
    return marks;
}

}  // namespace

PictureIndexList OtherRows(int rows, const PictureIndexList& listed) {
    size_t count = 0;
    const std::vector<bool> marks = Marks(rows, listed, &count);
    PictureIndexList others;
    others.reserve(marks.size() - count);
    for (int row = 0; row < rows; ++row)
        if (!marks[static_cast<size_t>(row)]) others.push_back(row);
    return others;
}

SelectionChanges PlanSelectionChanges(int rows, const PictureIndexList& current, const PictureIndexList& wanted) {
    size_t currentCount = 0, wantedCount = 0;
    const std::vector<bool> now = Marks(rows, current, &currentCount);
    const std::vector<bool> want = Marks(rows, wanted, &wantedCount);
    size_t differing = 0;
    for (size_t row = 0; row < want.size(); ++row) differing += now[row] != want[row] ? 1 : 0;
    const size_t unwanted = want.size() - wantedCount;

    SelectionChanges plan;
    if (differing <= 1 + wantedCount && differing <= 1 + unwanted) {
        plan.start = SelectionChanges::kKeep;
    } else if (wantedCount <= unwanted) {
        plan.start = SelectionChanges::kClearAll;
    } else {
        plan.start = SelectionChanges::kSelectAll;
    }
    for (int row = 0; row < rows; ++row) {
        const size_t r = static_cast<size_t>(row);
        const bool before = plan.start == SelectionChanges::kKeep ? now[r] : plan.start == SelectionChanges::kSelectAll;
        if (before == want[r]) continue;
        (want[r] ? plan.select : plan.deselect).push_back(row);
    }
    return plan;
}
