#pragma once
// The selected and focused pictures of a view, kept by their files across a rebuild of its rows
// (a sort reorders the records, so row numbers alone would point at other pictures).
#include <string>
#include <unordered_set>
#include "core/ImageRecord.h"
#include "ui/PictureIndexList.h"

class KeptSelection {
public:
    void Remember(const ImageRecordList& records, const PictureIndexList& selected, int focused);
    // Where the kept pictures are now: their rows in `records`, in order, and the focused row (-1
    // when the focused picture is gone or none was kept). Forgets what it kept.
    void TakeRows(const ImageRecordList& records, PictureIndexList& selected, int& focused);
    const std::string& FocusedPath() const { return focusedPath_; }

private:
    std::unordered_set<std::string> selectedPaths_;
    std::string focusedPath_;
};
