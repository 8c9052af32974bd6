#pragma once
// File-path routines; paths are Windows paths with backslashes. The program calls none of them at
// present; they are kept, with their tests (tests/oshelpers), as the helper module's set.
#include <string>

void GetDriveAndFolder(const std::string& path, std::string& out);      // "C:\a\b.jpg" -> "C:\a\"
std::string GetExtensionLowerCase(const std::string& path);             // ".jpg", or "" without one
void GetFileTitleOfPath(const std::string& path, std::string& out);     // name without extension
void GetFileNameOfPath(const std::string& path, std::string& out);      // name with extension
// Replaces the text after the last '.' of the file name, or appends '.' and the extension.
void ReplaceExtensionInPlace(std::string& path, const std::string& extension);
void CopyWithNewExtension(const std::string& source, std::string& out, const std::string& extension);
void AppendBackslash(std::string& path);
void JoinPath(const std::string& folder, const std::string& name, std::string& out);
bool IsExistingFolder(const std::string& path);
int GetPathKind(const std::string& path);                 // 1 file, -1 folder, 0 nothing
size_t ExistingFolderPrefixLength(const std::string& path);
bool GetPathWithStoredCase(const std::string& path, std::string& out);
bool CreateFolderTree(const std::string& path);           // every missing folder, parent first
bool CreateFolderOfFile(const std::string& filePath);
// The path when shorter than maxLength, else drive + "..." + the longest tail from a '\' that fits.
void ShortenPathText(const std::string& path, std::string& out, size_t maxLength);
bool WriteTextFile(const std::string& path, const std::string& text);
bool ResolveShellName(const std::string& displayName, std::string& out);
