#pragma once
// One rule for every file the program keeps for itself (settings, tree file, task files, picture
// lists, resume files): a file this run cannot read whole (cut short, a length or a count that
// does not fit, not a property bag at all) or one written by a newer version is never written
// over and never deleted unseen. Before its owner may write its own file there, a byte-identical
// copy is kept beside it under a name that says why ("<name>.damaged", "<name>.newer", then
// "<name>.damaged-2" and so on: an earlier copy is never replaced), and the user is told once
// which file, where the copy is and what happens next. The owner goes on with what it could read.
// When no copy can be made, or the file is there but out of reach (locked, forbidden), the owner
// must leave the file as it is for the rest of the run.
//
//   StoredFileGuard guard(path);
//   PropertyBag bag;
//   guard.Load(bag);                       // judges magic, length, count and version
//   if (!DecodeMyList(blob)) guard.Damaged();   // a value inside it that did not read whole
//   ... later: if (guard.MayWrite()) bag.Save(path);
#include <functional>
#include <string>

#include "core/PropertyBag.h"

class StoredFileGuard {
public:
    // Tells the user one text; the default shows a warning box through the prompts seam.
    using Teller = std::function<void(const std::string& text)>;

    explicit StoredFileGuard(const std::string& path, Teller teller = Teller());

    // Loads the file into bag. A file that did not read whole is kept aside as damaged, a newer
    // version's file as newer (its entries stay in bag either way). Unreadable is only reported:
    // the owner tells the user in its own words, and MayWrite() turns false.
    PropertyBag::LoadStatus Load(PropertyBag& bag);
    // The owner found a value it could not read whole: the file is kept aside as damaged.
    void Damaged();
    // The owner found the file to be of a newer version than it writes.
    void Newer();

    // True when writing over the file cannot lose anything: it was read whole, it is missing, or
    // a copy of what it holds lies beside it.
    bool MayWrite() const { return mayWrite_; }
    // The copy kept beside the file; empty when none was needed or none could be made.
    const std::string& KeptCopy() const { return keptCopy_; }
    const std::string& Path() const { return path_; }

    // The name a copy for this reason gets: the first of "<path><suffix>", "<path><suffix>-2", ...
    // that is free, or that already holds these very bytes (then alreadyKept is set).
    static bool ChooseCopyName(const std::string& path, const char* suffix, std::string& copy, bool& alreadyKept);

private:
    void KeepAside(const char* suffix, unsigned keptTextId);
    void Tell(const std::string& text) const;

    std::string path_;
    Teller teller_;
    bool mayWrite_ = true;
    bool handled_ = false;  // kept aside (or given up on) once: later faults add nothing
    std::string keptCopy_;
};
