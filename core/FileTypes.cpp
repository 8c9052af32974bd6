#include "core/FileTypes.h"

#include <algorithm>

#include "core/StringHelpers.h"
#include "core/UrlHelpers.h"

bool IsListedFileType(const std::vector<FileTypeGroup>& groups, const std::string& extension)
{
    for (const FileTypeGroup& group : groups) {
        for (size_t i = 1; i < group.size(); ++i) {
            if (EqualsNoCase(group[i], extension))
                return true;
        }
    }
    return false;
}

bool IsKnownFileType(const std::vector<FileTypeGroup>& groups, const std::string& url, std::string* extension)
{
    const std::string ext = GetUrlFileExtension(url);
    if (extension)
        *extension = ext;
    return !ext.empty() && IsListedFileType(groups, ext);
}

void RemoveUnknownFileTypes(const std::vector<FileTypeGroup>& groups, std::vector<std::string>& fileTypes)
{
    fileTypes.erase(std::remove_if(fileTypes.begin(), fileTypes.end(),
                                   [&](const std::string& ext) { return !IsListedFileType(groups, ext); }),
                    fileTypes.end());
}

std::vector<FileTypeGroup> DefaultFileTypeGroups()
{
    return {
        {"Internet Pictures", ".gif", ".jpg", ".jpe", ".jpeg", ".png"},
        {"Graphics", ".tif", ".tiff", ".psd", ".psp", ".wmf", ".ico", ".bmp", ".cur", ".ani"},
    };
}
