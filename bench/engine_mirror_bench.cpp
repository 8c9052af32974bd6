// Mirrors a site with the program's own download engine and prints how long it took, with the
// UI thread's time split by what it was doing (records, scheduler ticks, waiting).
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
    std::string status;
    ITasksTreeView* TasksTree() override { return nullptr; }
    IMainFrameView* MainFrame() override { return nullptr; }
    IDownloadGraphView* DownloadGraph() override { return nullptr; }
    IMessagesView* MessagesViewer() override { return nullptr; }
    IErrorsView* ErrorsViewer() override { return nullptr; }
    IImagesView* ImagesContainer() override { return nullptr; }
    IDownloadStatView* DownloadStatDlg() override { return nullptr; }
    void SetStatusLine(const std::string& text) override { status = text; }
    std::string GetStatusLine() override { return status; }
};

struct Phase {
    const char* name;
    LONGLONG ticks = 0;
    long count = 0;
};

LONGLONG Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

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

    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    Phase records{"worker records (WM_USER+1)"}, ticks{"scheduler ticks (WM_TIMER)"}, other{"other messages"},
        waiting{"waiting for messages"}, starting{"Start (read files, seed queue)"};
    const LONGLONG t0 = Now();
    manager.Start(&task, DownloadManager::kRestart);
    starting.ticks = Now() - t0;
    starting.count = 1;
    MSG msg;
    while (!manager.IsIdle()) {
        LONGLONG w = Now();
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
        LONGLONG d = Now();
        waiting.ticks += d - w;
        ++waiting.count;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        Phase& p = msg.message == WM_USER + 1 ? records : msg.message == WM_TIMER ? ticks : other;
        p.ticks += Now() - d;
        ++p.count;
    }
    const LONGLONG t1 = Now();
    double seconds = double(t1 - t0) / double(f.QuadPart);
    long long bytes = 0;
    for (int i = 0; i < task.DownloadedImages.GetCount(); ++i) bytes += task.DownloadedImages.GetAt(i).fileSize;
    const int pictures = task.DownloadedImages.GetCount();
    printf("pictures: %d\n", pictures);
    printf("pictures/s: %.1f\n", pictures / seconds);
    printf("seconds: %.3f\n", seconds);
    printf("MB/s: %.2f\n", bytes / 1e6 / seconds);
    printf("errors: %d\n", manager.ErrorsInRun());
    printf("status line: %s\n", views.status.c_str());
    printf("UI thread, time per phase:\n");
    for (const Phase* p : {&starting, &records, &ticks, &other, &waiting})
        printf("  %-32s %8.1f ms %6.1f%% %8ld calls %8.1f us/call\n", p->name, 1000.0 * p->ticks / f.QuadPart,
               100.0 * p->ticks / double(t1 - t0), p->count, p->count ? 1e6 * p->ticks / f.QuadPart / p->count : 0.0);
    DestroyWindow(parent);
    return 0;
}
