#pragma once
// What the picture container asks of either picture view when the rows are rebuilt under it (a
// sort): the selected and focused pictures before, and the same pictures marked again after.
#include "ui/PictureIndexList.h"

class IPictureRows {
public:
    virtual void GetSelected(PictureIndexList& indices) const = 0;
    virtual int GetFocusedIndex() const = 0;
    // Rebuilds every row from the current task's records.
    virtual void LoadTask() = 0;
    // Exactly `selected` selected (whatever was before) and `focused` (-1: none) focused and in view.
    virtual void ApplyStates(const PictureIndexList& selected, int focused) = 0;

protected:
    ~IPictureRows() = default;
};
