#pragma once
// The eight tips of the day, in the order they are shown; the position lives in the settings
// ("CurrentTip").
#include <cstdint>

const int32_t kTipCount = 8;

// The tip a stored position shows: a position outside the ring (the settings file is not
// checked) shows the first tip.
int32_t TipIndexToShow(int32_t storedIndex);
// The string id of the tip at a position of the ring (0..7).
unsigned TipStringId(int32_t index);
// The position after showing the tip at index: the next one, back to 0 after the last.
int32_t TipIndexAfter(int32_t index);
