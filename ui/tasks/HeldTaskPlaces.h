#pragma once
// The places in the tree file of tasks left out of this run (their file or its ".downloads" held
// by another program at start, a folder in the file's place): the tree does not show them, but
// the tree file written at close keeps each in its folder after the same neighbour, so the task
// is back where it was once it can be loaded again.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

#include "ui/tasks/TreeFile.h"

class HeldTaskPlaces {
public:
    // The task file fileName stood in folder item parent after item after (null: first).
    void Hold(const std::string& fileName, HTREEITEM parent, HTREEITEM after);
    bool Holds(const std::string& fileName) const;
    // A drag copied item to copy (the original goes): places in or after it follow the copy.
    void ItemCopied(HTREEITEM item, HTREEITEM copy);

    // Writing the tree file: every place is unwritten again.
    void BeginWrite();
    // Appends the unwritten tasks that stood in parent after after.
    void WriteAfter(HTREEITEM parent, HTREEITEM after, std::vector<TreeFileNode>& nodes);
    // Appends the unwritten tasks of parent whose neighbour is gone; with a null parent, every
    // unwritten task (its folder is gone).
    void WriteRest(HTREEITEM parent, std::vector<TreeFileNode>& nodes);

private:
    struct Place {
        std::string fileName;
        HTREEITEM parent;
        HTREEITEM after;
        bool written;
    };
    void Write(Place& place, std::vector<TreeFileNode>& nodes);

    std::vector<Place> places_;
};
