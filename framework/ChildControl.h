#pragma once
// Making a common control child of a window from a few named arguments; the thin control
// classes (list view, tree view, tab, header, toolbar) build theirs through it.
#include <windows.h>

struct ControlArgs {
    HWND parent = nullptr;
    DWORD style = 0;    // besides WS_CHILD | WS_VISIBLE, which every one has
    DWORD exStyle = 0;
    int id = 0;
    RECT place = {};    // the parent's client coordinates; empty for a control its owner lays out later
};

// Null when the control could not be made.
HWND CreateChildControl(const char* className, const ControlArgs& args);
// Where the dialog's child with this id sits, in the dialog's client coordinates (a control made
// over a placeholder takes its place).
RECT PlaceOfChild(HWND dialog, int id);
