#pragma once
// Counts the device contexts, GDI objects, paints, loaded menus and image lists this program holds, by
// routing its own calls of the creating and freeing functions through counters (the program's
// import table is patched while a ledger lives). Wine answers GetGuiResources with 0, so this
// is how tests see a leak.
#include <windows.h>

namespace testsupport {

struct GdiCounts {
    long deviceContexts = 0;   // CreateCompatibleDC and GetDC not yet deleted or released
    long objects = 0;          // bitmaps, brushes, pens, fonts and regions not yet deleted
    long paints = 0;           // BeginPaint without its EndPaint
    long menus = 0;            // LoadMenuA without its DestroyMenu
    long imageLists = 0;       // ImageList_Create without its ImageList_Destroy

    bool operator==(const GdiCounts& other) const {
        return deviceContexts == other.deviceContexts && objects == other.objects && paints == other.paints &&
               menus == other.menus && imageLists == other.imageLists;
    }
};

class GdiLedger {
public:
    GdiLedger();    // starts counting
    ~GdiLedger();   // puts the program's imports back
    GdiLedger(const GdiLedger&) = delete;
    GdiLedger& operator=(const GdiLedger&) = delete;
    // Whether the paint and menu functions could be routed through the ledger.
    bool Ok() const { return ok_; }
    GdiCounts Counts() const;

private:
    bool ok_;
};

}  // namespace testsupport
