#include "dialogs/options/FileTypeGroupEdits.h"
#include <algorithm>

std::vector<std::string> FileTypeGroupNames(const std::vector<FileTypeGroup>& groups, const std::string* except) {
    std::vector<std::string> names;
    bool exceptionTaken = false;
    for (const FileTypeGroup& group : groups) {
        if (group.empty()) continue;
        if (except && !exceptionTaken && group.front() == *except) {
            exceptionTaken = true;
            continue;
        }
        names.push_back(group.front());
    }
    return names;
}

FileTypeGroup* FindFileTypeGroup(std::vector<FileTypeGroup>& groups, const std::string& name) {
    for (FileTypeGroup& group : groups) {
        if (!group.empty() && group.front() == name) return &group;
    }
    return nullptr;
}

bool ReplaceFileTypeGroup(std::vector<FileTypeGroup>& groups, const std::string& oldName,
                          const std::string& newName, const std::vector<std::string>& extensions) {
    FileTypeGroup* group = FindFileTypeGroup(groups, oldName);
    if (!group) return false;
    group->assign(1, newName);
    group->insert(group->end(), extensions.begin(), extensions.end());
    return true;
}

bool RemoveFileTypeGroup(std::vector<FileTypeGroup>& groups, const std::string& name) {
    FileTypeGroup* group = FindFileTypeGroup(groups, name);
    if (!group) return false;
    groups.erase(groups.begin() + (group - groups.data()));
    return true;
}

bool RemoveFileTypeExtension(std::vector<FileTypeGroup>& groups, const std::string& groupName,
                             const std::string& extension) {
    FileTypeGroup* group = FindFileTypeGroup(groups, groupName);
    if (!group) return false;
    // The name in front is no extension.
    auto found = std::find(group->begin() + 1, group->end(), extension);
    if (found == group->end()) return false;
    group->erase(found);
    return true;
}
