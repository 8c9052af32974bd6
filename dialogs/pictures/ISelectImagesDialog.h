#pragma once
// The selection-by-condition dialog as the main frame keeps it: one object for the frame's life,
// so the conditions chosen last are offered again.
#include <windows.h>

struct PictureCriteria;

class ISelectImagesDialog {
public:
    virtual ~ISelectImagesDialog() = default;
    // Runs modally over `owner`; IDOK when the user chose a selection.
    virtual INT_PTR DoModal(HWND owner) = 0;
    // The conditions chosen last (null when the dialog keeps none).
    virtual const PictureCriteria* GetCriteria() const { return nullptr; }
};
