#pragma once
// A rebar at the top of a frame holding bars as bands, each band optionally on its own row.
#include <windows.h>
#include "framework/Window.h"

class CReBarCtrl : public CWindow {
public:
    HWND Create(HWND parent, UINT id);
    // Adds the child window as the last band, sized to the child's natural size.
    bool AddBand(HWND child, bool newRow);
    int GetBandCount() const;
    HWND GetBandChild(int band) const;
    int FindBand(HWND child) const;
    bool ShowBand(int band, bool show);
    bool IsBandVisible(int band) const;
    // Height of the rebar's window.
    int GetHeight() const;
};
