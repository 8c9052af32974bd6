#pragma once
// Names and folders the task dialogs make for a task: the name made from its start address,
// the default picture folder, and which typed addresses "Browse" may open.
#include <string>
#include <vector>

class ProgramSettings;
class TaskOptions;

// The one rule for a name given to a task (the task dialogs, a rename in the tasks tree): 0 when
// task may take name, else the id of the text that says why not: another task of its kind has
// that name, or the name cannot stand as a file name (the picture folder is made from it).
unsigned TaskNameRefusal(const std::string& name, const TaskOptions& task, const std::vector<TaskOptions*>& tasks);
// The same for a folder of the tasks tree, whose name only has to read as it will be shown and
// written back: one ending in a dot or a space is refused with the task's words.
unsigned FolderNameRefusal(const std::string& name);

// The host of the address as a task name that no task file of that kind takes yet: the tasks
// folder's host + extension, else host1 + extension, host2... (a folder of that name does not
// count). "" for an empty address, "http://" (any case) or an address without a host. A host
// that cannot stand as a file name is made into one.
std::string MakeTaskNameFromUrl(const std::string& url, const std::string& extension);

// The program's picture folder (FolderForImages with a backslash, or the program folder +
// "Images\") followed by the task name (made into a plain file name when it is none).
std::string DefaultSaveFolder(const ProgramSettings& settings, const std::string& taskName);

// True for an address the shell may open in the browser: http:// or https:// with a host, and
// no characters that could turn it into a command line.
bool IsBrowsableWebAddress(const std::string& text);

// An address edit that holds nothing beyond the scheme prefix shown for a new task.
bool IsEmptyAddress(const std::string& text);
