#pragma once
// Where task files, their side files and download profiles live, and how a task or profile name
// becomes a file name that stays inside its folder and takes no other task's file.
#include <string>
#include <vector>

// The folder the task model addresses its files from ("Tasks\", "Profiles\"): the program folder
// (trailing backslash), unless SetTaskProgramFolder chose another one.
std::string GetTaskProgramFolder();
// Another folder (with or without trailing backslash); empty returns to the program folder.
void SetTaskProgramFolder(const std::string& folder);

std::string GetTasksFolder();     // program folder + "Tasks\"
std::string GetProfilesFolder();  // program folder + "Profiles\"

// True for a name the system takes for a device in every folder, with or without an extension,
// trailing spaces before the dot ignored: CON, PRN, AUX, NUL, CONIN$, CONOUT$, CLOCK$, COM0-9,
// LPT0-9 and COM or LPT with a superscript 1, 2 or 3 (in any case).
bool IsReservedDeviceName(const std::string& name);

// True when name can stand as a file name inside a folder as it is: not empty, no \ / : * ? " < >
// | or control characters, not "." or "..", no trailing dot or space (the system would drop them
// and so name another file), not a reserved device name, and at most 255 characters.
bool IsSafeFileName(const std::string& name);

// A file-name base made from a display name: forbidden and control characters become '_',
// trailing dots and spaces are dropped, a reserved device name gets a leading '_', an over-long
// name is cut, and an empty result becomes "_". The result always passes IsSafeFileName once an
// extension of up to 16 characters is added.
std::string MakeSafeFileNameBase(const std::string& name);

// Creates a new empty file of a free name for path (folder + file name): the path itself, else the
// file name with 1, 2, 3... inserted before its last dot. A candidate is taken when a file or a
// folder of that name exists, or a file of that name plus one of the takenSuffixes (the side
// files of a task). Missing folders are created. Returns the file-name part of the file created,
// or "" when none could be created. An existing file is never overwritten.
std::string CreateUniqueFile(const std::string& path, const std::vector<std::string>& takenSuffixes = {});
