#pragma once
// Splitting file paths and creating folder chains on disk.
#include <cstddef>
#include <string>

// When path holds a backslash: folder gets the text before the last one and name the text after
// it, each cut to length - 1 characters and always terminated. Without a backslash both become
// empty. Callers use buffers of 10000 characters.
void SplitPathAtLastBackslash(const char* path, char* folder, char* name, size_t length);
// The same for strings (no length limit).
void SplitPathAtLastBackslash(const std::string& path, std::string& folder, std::string& name);

// Creates every missing folder of a folder path ("C:\a\b\c" creates C:\a, C:\a\b and C:\a\b\c;
// the drive root is never created). The path must name a folder, not a file. 0 when the folder
// is there at the end, else the system's error code of the first level that could not be made
// (ERROR_ALREADY_EXISTS: a file stands in a folder's place).
unsigned long CreateFolderPath(const std::string& folderPath);
// 0 when a file can be made in this folder (one that vanishes at once is made), else the
// system's reason.
unsigned long ProbeFolderForFiles(const std::string& folder);
