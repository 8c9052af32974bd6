#pragma once
// The task's picture folder and its start address as the task commands use them: which folder
// may be emptied, how it is emptied, and what may be handed to the shell.
#include <string>

class TaskOptions;
class ProgramSettings;

// The folder the task saves into: its own, or the program's pictures folder.
std::string TaskSaveFolder(const TaskOptions& task, const ProgramSettings* settings);

// True when folder may be emptied: an absolute path (drive or network share) with at least one
// folder below the drive or share, no "." or ".." parts, and neither the program folder nor a
// folder holding it (compared case-insensitively at separator boundaries).
bool IsClearableFolder(const std::string& folder, const std::string& programFolder);

// Deletes every file and sub-folder inside folder (which stays). A linked folder (a reparse
// point) is unlinked, never entered. True when everything went.
bool ClearFolderContents(const std::string& folder);

// True for an http: or https: address that can go to the shell as a document to open.
bool IsWebAddress(const std::string& address);
// "www." addresses are opened as http: ones.
std::string WebAddressToOpen(const std::string& address);
