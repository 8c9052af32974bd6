#include "ui/pictures/KeptSelection.h"

void KeptSelection::Remember(const ImageRecordList& records, const PictureIndexList& selected, int focused) {
    selectedPaths_.clear();
    focusedPath_.clear();
    const int count = records.GetCount();
    for (int32_t row : selected) {
        if (row >= 0 && row < count) selectedPaths_.insert(records.GetAt(row).localPath);
    }
    if (focused >= 0 && focused < count) focusedPath_ = records.GetAt(focused).localPath;
}

void KeptSelection::TakeRows(const ImageRecordList& records, PictureIndexList& selected, int& focused) {
    selected.clear();
    focused = -1;
    const int count = records.GetCount();
    for (int row = 0; row < count && (!selectedPaths_.empty() || !focusedPath_.empty()); ++row) {
        const std::string& path = records.GetAt(row).localPath;
        if (selectedPaths_.count(path)) selected.push_back(row);
        if (focused < 0 && !focusedPath_.empty() && path == focusedPath_) focused = row;
    }
    selectedPaths_.clear();
    focusedPath_.clear();
}
