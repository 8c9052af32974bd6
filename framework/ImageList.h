#pragma once
// An image list this code made (ImageList_Create, or a control's drag image): destroyed when its
// owner goes. A control it is given to only borrows it, so the owner must outlive the control's
// use of it, or take it back from the control first.
#include <windows.h>
#include <commctrl.h>
#include "framework/OwnedHandle.h"

struct DestroyImageList {
    void operator()(HIMAGELIST images) const { ::ImageList_Destroy(images); }
};
using ImageList = OwnedHandle<HIMAGELIST, DestroyImageList>;
