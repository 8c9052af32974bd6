#pragma once
// How one picture gives way to the next: the new picture spreads over the old one in the order
// of the mask's red values, with a soft border `edgeWidth` mask units wide.
#include <windows.h>

struct TransitionEffect {
    HBITMAP mask = nullptr;      // not owned; none: no transition
    int edgeWidth = 80;
    float duration = 1.0f;       // seconds
    int busyShare = 96;          // percent of the time spent drawing; the rest is slept
    bool stretchToFill = false;  // false: the mask is stretched to the window as a whole
};
