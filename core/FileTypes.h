#pragma once
// File-type groups (what counts as a picture) and the look-ups against them.
#include <string>
#include <vector>

// A list of strings: the first is the group's name, the others its extensions with the leading
// dot (".jpg").
using FileTypeGroup = std::vector<std::string>;

// True when some group lists extension (letter case ignored); group names are not extensions.
bool IsListedFileType(const std::vector<FileTypeGroup>& groups, const std::string& extension);

// True when the URL's file extension (GetUrlFileExtension) is listed in a group. The extension
// is stored in *extension when that is given, known or not. An empty extension is unknown.
bool IsKnownFileType(const std::vector<FileTypeGroup>& groups, const std::string& url, std::string* extension);

// Removes from fileTypes every extension that no group lists; the others keep their order.
void RemoveUnknownFileTypes(const std::vector<FileTypeGroup>& groups, std::vector<std::string>& fileTypes);

// The built-in groups: "Internet Pictures" and "Graphics".
std::vector<FileTypeGroup> DefaultFileTypeGroups();
