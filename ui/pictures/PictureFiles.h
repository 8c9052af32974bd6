#pragma once
// File work behind the picture commands: where a copied picture goes, the shell's double-NUL
// path lists, and which local paths still name a picture file.
#include <string>
#include <vector>

// Longest path the copy and delete lists take; longer ones are left out.
const size_t kMaxPictureListPath = 10000;

// The copy target of a picture below the chosen folder: the part of localPath under the task's
// save folder (sub-folders kept) when localPath lies in it, else just the file name.
// folderToCreate receives the folder the target needs. The names come from the stored picture
// list (a file anyone could have changed): empty when a part of them is not a plain name
// (IsPlainFileName), so a copy never lands outside the chosen folder.
std::string CopyDestination(const std::string& localPath, const std::string& fileName, const std::string& saveFolder,
                            const std::string& chosenFolder, std::string* folderToCreate);
// True for a name that stays in its folder: not empty, not "." or "..", no drive or stream
// colon, no separator or character Windows refuses in names, no trailing dot or space, and no
// device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with any extension).
bool IsPlainFileName(const std::string& name);
// "a\0b\0\0": sized from the entries themselves.
std::string DoubleNulList(const std::vector<std::string>& paths);
// True when path exists and names a file (not a folder).
bool IsExistingFile(const std::string& path);
