#include "dialogs/welcome/TipRing.h"
#include "resources/options_ids.h"

namespace {
const unsigned kTipIds[kTipCount] = {IDS_TIP_1, IDS_TIP_2, IDS_TIP_3, IDS_TIP_4,
                                     IDS_TIP_5, IDS_TIP_6, IDS_TIP_7, IDS_TIP_8};
}

int32_t TipIndexToShow(int32_t storedIndex) {
    return storedIndex >= 0 && storedIndex < kTipCount ? storedIndex : 0;
}

unsigned TipStringId(int32_t index) { return kTipIds[TipIndexToShow(index)]; }

int32_t TipIndexAfter(int32_t index) { return (TipIndexToShow(index) + 1) % kTipCount; }
