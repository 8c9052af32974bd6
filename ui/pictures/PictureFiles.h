#pragma once
// File work behind the picture commands: where a copied picture goes, the shell's double-NUL
// path lists, and which local paths still name a picture file.
#include <string>
#include <vector>

// Longest path the copy and delete lists take; longer ones are left out.
const size_t kMaxPictureListPath = 10000;

// The copy target of a picture below the chosen folder: the part of localPath under the task's
// save folder (sub-folders kept) when localPath starts with it, else just the file name.
// folderToCreate receives the folder the target needs.
std::string CopyDestination(const std::string& localPath, const std::string& fileName, const std::string& saveFolder,
                            const std::string& chosenFolder, std::string* folderToCreate);
// "a\0b\0\0": sized from the entries themselves.
std::string DoubleNulList(const std::vector<std::string>& paths);
// True when path exists and names a file (not a folder).
bool IsExistingFile(const std::string& path);
