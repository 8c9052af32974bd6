#include "ui/tasks/HeldTaskPlaces.h"

void HeldTaskPlaces::Hold(const std::string& fileName, HTREEITEM parent, HTREEITEM after) {
    if (!Holds(fileName)) places_.push_back({fileName, parent, after, false});
}

bool HeldTaskPlaces::Holds(const std::string& fileName) const {
    for (const Place& place : places_)
        if (place.fileName == fileName) return true;
    return false;
}

void HeldTaskPlaces::ItemCopied(HTREEITEM item, HTREEITEM copy) {
    for (Place& place : places_) {
        if (place.parent == item) place.parent = copy;
        if (place.after == item) place.after = copy;
    }
}

void HeldTaskPlaces::BeginWrite() {
    for (Place& place : places_) place.written = false;
}

void HeldTaskPlaces::Write(Place& place, std::vector<TreeFileNode>& nodes) {
    TreeFileNode node;
    node.name = place.fileName;
    nodes.push_back(std::move(node));
    place.written = true;
}

void HeldTaskPlaces::WriteAfter(HTREEITEM parent, HTREEITEM after, std::vector<TreeFileNode>& nodes) {
    for (Place& place : places_)
        if (!place.written && place.parent == parent && place.after == after) Write(place, nodes);
}

void HeldTaskPlaces::WriteRest(HTREEITEM parent, std::vector<TreeFileNode>& nodes) {
    for (Place& place : places_)
        if (!place.written && (!parent || place.parent == parent)) Write(place, nodes);
}
