#pragma once
// The task kind that crawls a web site: the download manager follows the links of fetched pages
// that pass this task's link test (URL filters, file-name masks, depth and location rules). The
// same class serves as a download profile: a named preset of some of its options kept in
// "Profiles\<name>.profile".
#include <cstdint>
#include <string>
#include <vector>

#include "core/TaskOptions.h"

class SearchLinkTask : public TaskOptions {
public:
    static const size_t kFilterFieldSize = 1024;
    static const char* const kProfileExtension;  // ".profile"

    SearchLinkTask();
    ~SearchLinkTask() override;

    // The link test (core/SearchLinkTaskLinkTest.cpp).
    bool AcceptLink(const UrlQueueEntry& entry) override;
    void SaveOwnKeys(PropertyBag& bag) const override;
    bool LoadOwnKeys(PropertyBag& bag) override;

    // Writes the profile keys to GetProfilesFolder() + name + ".profile". False when name cannot
    // stand as a file name as it is (IsSafeFileName) or the file could not be written.
    bool SaveProfile(const std::string& name) const;
    // Reads the profile GetProfilesFolder() + fileName (extension included) into this task; the
    // version is not judged. False when fileName is no plain file name or the file cannot be read.
    bool LoadProfile(const std::string& fileName);
    // The same from the given folder (trailing backslash), for whoever listed the profiles there.
    bool LoadProfileFrom(const std::string& folder, const std::string& fileName);
    // The profile keys as a bag, and back.
    void WriteProfileTo(PropertyBag& bag) const;
    void ReadProfileFrom(const PropertyBag& bag);
    // True when every option a profile carries (and the scanning type) equals other's.
    bool MatchesProfile(const SearchLinkTask& other) const;

    std::vector<std::string> ExcludedUrls;       // a page link containing one of them is refused
    std::vector<std::string> IncludedUrls;       // when not empty, a page link must contain one
    std::vector<std::string> ImageExcludedUrls;  // a picture link containing one of them is refused
    std::vector<std::string> ImageIncludedUrls;  // when not empty, a picture link must contain one
    std::vector<std::string> ExcludedNames;      // file-name masks that refuse a picture
    std::vector<std::string> IncludedNames;      // when not empty, a picture's name must match one
    int32_t Levels = -1;                 // deepest page level followed; -1 no limit
    int32_t ImageLinksLocation = 1;      // 0 same host and path, 1 same host, 2 anywhere
    int32_t PageLinksLocation = 1;       // 0 same host and path, 1 same host, 2 anywhere
    bool DownloadImagesOnlyFromSite = false;
};
