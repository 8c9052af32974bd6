#include "core/ProgramSettings.h"

#include <windows.h>

#include "core/SearchLinkTask.h"
#include "core/StringHelpers.h"

void ProgramSettings::ScanProfiles()
{
    const std::string extension = ".profile";
    // Listed and loaded from one folder: the settings' own program folder.
    const std::string folder = programFolder_ + "Profiles\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*" + extension).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const std::string fileName = found.cFileName;
        // The pattern also admits longer extensions such as ".profile2" through short names.
        if (fileName.size() <= extension.size() ||
            !EqualsNoCase(fileName.substr(fileName.size() - extension.size()), extension))
            continue;
        SearchLinkTask* profile = new SearchLinkTask();
        if (!profile->LoadProfileFrom(folder, fileName)) {
            delete profile;
            continue;
        }
        const std::string name = fileName.substr(0, fileName.size() - extension.size());
        auto it = Profiles.find(name);
        if (it != Profiles.end()) {
            delete it->second;
            it->second = profile;
        } else {
            Profiles[name] = profile;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void ProgramSettings::DeleteProfiles()
{
    for (auto& entry : Profiles)
        delete entry.second;
    Profiles.clear();
}
