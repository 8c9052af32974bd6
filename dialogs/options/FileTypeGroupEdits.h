#pragma once
// Edits of a list of file-type groups (name first, then extensions), as the file-types page
// makes them. Groups are found by name: the first group with that name.
#include <string>
#include <vector>
#include "core/FileTypes.h"

// The names of every group but the one named `except` (that one only once: only the first group
// of that name is left out); empty groups have no name.
std::vector<std::string> FileTypeGroupNames(const std::vector<FileTypeGroup>& groups,
                                            const std::string* except = nullptr);
// The first group of that name, or null.
FileTypeGroup* FindFileTypeGroup(std::vector<FileTypeGroup>& groups, const std::string& name);
// Gives the first group named oldName the new name and extensions; false when none has that name.
bool ReplaceFileTypeGroup(std::vector<FileTypeGroup>& groups, const std::string& oldName,
                          const std::string& newName, const std::vector<std::string>& extensions);
// Removes the first group of that name.
bool RemoveFileTypeGroup(std::vector<FileTypeGroup>& groups, const std::string& name);
// Removes the first equal extension of the first group of that name.
bool RemoveFileTypeExtension(std::vector<FileTypeGroup>& groups, const std::string& groupName,
                             const std::string& extension);
