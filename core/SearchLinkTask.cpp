#include "core/SearchLinkTask.h"

#include "core/PropertyBag.h"
#include "core/TaskFileNames.h"
#include "core/TaskListBlobs.h"

const char* const SearchLinkTask::kProfileExtension = ".profile";

SearchLinkTask::SearchLinkTask() = default;

SearchLinkTask::~SearchLinkTask() = default;

void SearchLinkTask::SaveOwnKeys(PropertyBag& bag) const
{
    SetFixedStringList(bag, "ImageExcludedUrls", ImageExcludedUrls, kFilterFieldSize);
    SetFixedStringList(bag, "ImageIncludedUrls", ImageIncludedUrls, kFilterFieldSize);
    SetFixedStringList(bag, "ExcludedUrls", ExcludedUrls, kFilterFieldSize);
    SetFixedStringList(bag, "IncludedUrls", IncludedUrls, kFilterFieldSize);
    SetFixedStringList(bag, "ExcludedNames", ExcludedNames, kFilterFieldSize);
    SetFixedStringList(bag, "IncludedNames", IncludedNames, kFilterFieldSize);
    bag.SetInt32("Levels", Levels);
    bag.SetInt32("ImageLinksLocation", ImageLinksLocation);
    bag.SetInt32("PageLinksLocation", PageLinksLocation);
    bag.SetInt32("ScanningType", ScanningType);
    bag.SetFlag("DownloadImagesOnlyFromSite", DownloadImagesOnlyFromSite);
}

bool SearchLinkTask::LoadOwnKeys(PropertyBag& bag)
{
    bool whole = GetFixedStringList(bag, "ImageExcludedUrls", kFilterFieldSize, ImageExcludedUrls);
    whole = GetFixedStringList(bag, "ImageIncludedUrls", kFilterFieldSize, ImageIncludedUrls) && whole;
    whole = GetFixedStringList(bag, "ExcludedUrls", kFilterFieldSize, ExcludedUrls) && whole;
    whole = GetFixedStringList(bag, "IncludedUrls", kFilterFieldSize, IncludedUrls) && whole;
    whole = GetFixedStringList(bag, "ExcludedNames", kFilterFieldSize, ExcludedNames) && whole;
    whole = GetFixedStringList(bag, "IncludedNames", kFilterFieldSize, IncludedNames) && whole;
    bag.GetInt32("Levels", Levels);
    bag.GetInt32("ImageLinksLocation", ImageLinksLocation);
    bag.GetInt32("PageLinksLocation", PageLinksLocation);
    bag.GetInt32("ScanningType", ScanningType);
    bag.GetFlag("DownloadImagesOnlyFromSite", DownloadImagesOnlyFromSite);
    return whole;
}

void SearchLinkTask::WriteProfileTo(PropertyBag& bag) const
{
    bag.SetInt32("Levels", Levels);
    bag.SetInt32("ImageLinksLocation", ImageLinksLocation);
    bag.SetInt32("PageLinksLocation", PageLinksLocation);
    WriteFileTypeKeys(bag);
    bag.SetFlag("DownloadImagesOnlyFromSite", DownloadImagesOnlyFromSite);
}

void SearchLinkTask::ReadProfileFrom(const PropertyBag& bag)
{
    bag.GetInt32("Levels", Levels);
    bag.GetInt32("ImageLinksLocation", ImageLinksLocation);
    bag.GetInt32("PageLinksLocation", PageLinksLocation);
    ReadFileTypeKeys(bag);
    bag.GetFlag("DownloadImagesOnlyFromSite", DownloadImagesOnlyFromSite);
}

bool SearchLinkTask::SaveProfile(const std::string& name) const
{
    const std::string fileName = name + kProfileExtension;
    if (!IsSafeFileName(name) || !IsSafeFileName(fileName))
        return false;
    PropertyBag bag;
    bag.SetCurrentVersion();
    WriteProfileTo(bag);
    return bag.Save(GetProfilesFolder() + fileName);
}

bool SearchLinkTask::LoadProfile(const std::string& fileName)
{
    return LoadProfileFrom(GetProfilesFolder(), fileName);
}

bool SearchLinkTask::LoadProfileFrom(const std::string& folder, const std::string& fileName)
{
    if (!IsSafeFileName(fileName))
        return false;
    PropertyBag bag;
    if (!bag.Load(folder + fileName))
        return false;
    ReadProfileFrom(bag);
    return true;
}

namespace {
bool SameFilter(const SizeFilter& a, const SizeFilter& b)
{
    return a.enabled == b.enabled && a.value == b.value;
}
}  // namespace

bool SearchLinkTask::MatchesProfile(const SearchLinkTask& other) const
{
    return Levels == other.Levels && ImageLinksLocation == other.ImageLinksLocation &&
           PageLinksLocation == other.PageLinksLocation && ScanningType == other.ScanningType &&
           UseAllFileTypes == other.UseAllFileTypes && Filetypes == other.Filetypes &&
           SameFilter(MinimumWidth, other.MinimumWidth) && SameFilter(MinimumHeight, other.MinimumHeight) &&
           SameFilter(MinimumSize, other.MinimumSize) && SameFilter(MaximumSize, other.MaximumSize) &&
           DownloadImagesOnlyFromSite == other.DownloadImagesOnlyFromSite;
}
