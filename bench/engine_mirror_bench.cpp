// Mirrors a site with the program's own download engine and prints how long it took.
// Usage: bench_engine_mirror <start url> <program folder> [threads]
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/DownloadManager.h"
#include "core/DownloadViews.h"
#include "core/ProgramSettings.h"
#include "core/SearchLinkTask.h"
#include "core/TaskFileNames.h"

namespace {

struct QuietViews : IDownloadViews {
    ITasksTreeView* TasksTree() override { return nullptr; }
    IMainFrameView* MainFrame() override { return nullptr; }
    IDownloadGraphView* DownloadGraph() override { return nullptr; }
    IMessagesView* MessagesViewer() override { return nullptr; }
    IErrorsView* ErrorsViewer() override { return nullptr; }
    IImagesView* ImagesContainer() override { return nullptr; }
    IDownloadStatView* DownloadStatDlg() override { return nullptr; }
    void SetStatusLine(const std::string&) override {}
    std::string GetStatusLine() override { return std::string(); }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s <start url> <program folder> [threads]\n", argv[0]);
        return 2;
    }
    std::string folder = argv[2];
    if (folder.back() != '\\') folder += '\\';
    CreateDirectoryA(folder.c_str(), nullptr);
    SetTaskProgramFolder(folder);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);

    ProgramSettings settings(nullptr, folder, [](const std::string&) {});
    settings.ThreadsAmount = argc > 3 ? atoi(argv[3]) : 8;
    settings.PauseBetweenConnections = 0;
    settings.SaveCacheIntervale = 0;
    QuietViews views;
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    DownloadManager manager(&settings, &views);
    manager.CreateManagerWindow(parent);

    SearchLinkTask task;
    task.TaskName = "Bench";
    StartingAddress start;
    start.Url = argv[1];
    task.StartingAddresses.push_back(start);
    task.SaveFolder = folder + "Images";
    task.ImageSaveType = 2;
    task.MinimumWidth.enabled = false;
    task.MinimumHeight.enabled = false;
    task.Save();

    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    manager.Start(&task, DownloadManager::kRestart);
    MSG msg;
    while (!manager.IsIdle() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    QueryPerformanceCounter(&t1);
    double seconds = double(t1.QuadPart - t0.QuadPart) / double(f.QuadPart);
    long long bytes = 0;
    for (int i = 0; i < task.DownloadedImages.GetCount(); ++i) bytes += task.DownloadedImages.GetAt(i).fileSize;
    printf("engine: %d pictures, %.1f MB in %.2f s: %.1f pictures/s, %.2f MB/s, %d errors\n",
           task.DownloadedImages.GetCount(), bytes / 1e6, seconds, task.DownloadedImages.GetCount() / seconds,
           bytes / 1e6 / seconds, manager.ErrorsInRun());
    DestroyWindow(parent);
    return 0;
}
