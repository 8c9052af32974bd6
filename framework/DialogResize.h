#pragma once
// Lets a dialog be resized by its user: controls follow the right and bottom edges by rules, a
// size grip sits in the bottom-right corner, and the dialog never gets smaller than it started.
// The dialog chains its messages to the member:
//     CHAIN_MSG_MAP_MEMBER(resize_)
// and calls Init at WM_INITDIALOG, once every control (created ones too) is in place.
#include <windows.h>
#include <vector>
#include "framework/MessageMap.h"

enum DialogResizeFlags : unsigned {
    kResizeMoveX = 1,  // follows the right edge
    kResizeMoveY = 2,  // follows the bottom edge
    kResizeSizeX = 4,  // widens with the dialog
    kResizeSizeY = 8,  // grows taller with the dialog
};

struct DialogResizeRule {
    int controlId;
    unsigned flags;
};

// Where a control that stood at initial goes when the client area grew by (dx, dy).
RECT ResizedControlRect(const RECT& initial, int dx, int dy, unsigned flags);

class CDialogResize : public CMessageMap {
public:
    static constexpr int kSizeGripId = 0x7FF0;

    void Init(HWND dialog, const std::vector<DialogResizeRule>& rules);

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult) override;

private:
    struct Placed {
        HWND control;
        RECT initial;
        unsigned flags;
    };
    void Layout();

    HWND dialog_ = nullptr;
    SIZE initialClient_ = {};
    SIZE minimumTrack_ = {};
    std::vector<Placed> placed_;
};
