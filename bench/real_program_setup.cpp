// Makes a program folder for the real-program benchmark with the program's own code, so the
// settings file and the task file are exactly what the program writes itself: the settings
// (workers, no pause between connections, "show last downloaded picture" on or off, no tip of the
// day) and one site-scanning task under "Tasks\" that saves into the folder's "Images".
// Usage: bench_real_program_setup <program folder> <start url> <workers> <show last picture 0|1>
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/ProgramSettings.h"
#include "core/SearchLinkTask.h"
#include "core/TaskFileNames.h"

int main(int argc, char** argv) {
    if (argc < 5) {
        fprintf(stderr, "usage: %s <program folder> <start url> <workers> <show last picture 0|1>\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '\\') folder += '\\';
    CreateDirectoryA(folder.c_str(), nullptr);
    SetTaskProgramFolder(folder);

    ProgramSettings settings(nullptr, folder, [](const std::string& text) { fprintf(stderr, "%s\n", text.c_str()); });
    settings.ThreadsAmount = atoi(argv[3]);
    settings.PauseBetweenConnections = 0;
    settings.SaveCacheIntervale = 0;
    settings.ShowLastImage = atoi(argv[4]) != 0;
    settings.ShowTip = false;
    if (!settings.Save()) {
        fprintf(stderr, "the settings file could not be written in %s\n", folder.c_str());
        return 1;
    }

    SearchLinkTask task;
    task.TaskName = "Bench";
    StartingAddress start;
    start.Url = argv[2];
    task.StartingAddresses.push_back(start);
    task.SaveFolder = folder + "Images";
    task.ImageSaveType = 2;
    task.MinimumWidth.enabled = false;
    task.MinimumHeight.enabled = false;
    if (!task.Save()) {
        fprintf(stderr, "the task file could not be written in %s\n", GetTasksFolder().c_str());
        return 1;
    }
    printf("%s%s\n", GetTasksFolder().c_str(), task.TaskFileName.c_str());
    return 0;
}
