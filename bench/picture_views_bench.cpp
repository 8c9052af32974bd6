// The picture views with a finished task of many pictures: the real main frame and picture
// container on the display, a task of N records, and for each command a user gives on them (View >
// Thumbnails, View > List, the two sorts, Ctrl+A in each view, Invert Selection in each view, a
// selection by condition, a batch of new rows as a run brings them, Images > Delete of 1,000
// pictures in each view with the shell's question answered yes) the window's longest answer
// while the command runs: a second thread asks the frame WM_NULL every 2 ms and notes how long
// each answer took. Half the pictures are selected before each view switch, so the switch has a
// real selection to carry. Figures only; nothing is judged.
// Usage: bench_picture_views [counts...]   (default 2000 10000)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/Application.h"
#include "core/ImageRecord.h"
#include "core/ProgramSettings.h"
#include "core/SearchLinkTask.h"
#include "core/TaskFileNames.h"
#include "dialogs/pictures/PictureCriteria.h"
#include "framework/AppModule.h"
#include "framework/MessageLoop.h"
#include "resources/command_ids.h"
#include "tests/support/AnswerWatch.h"
#include "tests/support/MessagePump.h"
#include "ui/MainFrame.h"
#include "ui/frame/FramePieces.h"
#include "ui/pictures/ImagesContainer.h"

namespace {

void SetCtrl(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Presses Yes in the first question box of this process that shows (the shell's delete question).
class YesPresser {
public:
    YesPresser() { thread_ = CreateThread(nullptr, 0, &YesPresser::Run, this, 0, nullptr); }
    ~YesPresser() {
        InterlockedExchange(&stop_, 1);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }

private:
    static BOOL CALLBACK Press(HWND window, LPARAM pressed) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        HWND yes = GetDlgItem(window, IDYES);
        if (pid != GetCurrentProcessId() || !IsWindowVisible(window) || strcmp(name, "#32770") != 0 || !yes)
            return TRUE;
        PostMessageA(yes, BM_CLICK, 0, 0);
        *reinterpret_cast<bool*>(pressed) = true;
        return FALSE;
    }
    static DWORD WINAPI Run(void* self) {
        auto* presser = static_cast<YesPresser*>(self);
        bool pressed = false;
        while (!pressed && !presser->stop_) {
            EnumWindows(&Press, reinterpret_cast<LPARAM>(&pressed));
            Sleep(10);
        }
        return 0;
    }
    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;
};

class Bench {
public:
    Bench(CMessageLoop& loop, MainFrame& frame, ImagesContainer& pictures)
        : loop_(loop), frame_(frame), pictures_(pictures) {}

    // Runs `command` on the window's thread and pumps until it settled, while another thread asks
    // the frame for an answer every 2 ms; returns the longest answer.
    template <typename Command> double Measure(Command command) {
        testsupport::PumpLoopFor(loop_, 100);
        testsupport::AnswerWatch watch(frame_, 2);
        watch.Start();
        command();
        testsupport::PumpLoopFor(loop_, 400);
        watch.Finish([this] { testsupport::PumpLoopFor(loop_, 5); });
        return watch.Percentile(1.0);
    }
    double Post(UINT id) {
        return Measure([&] { PostMessageA(frame_, WM_COMMAND, id, 0); });
    }
    // Images > Delete of the selection, the shell's question answered yes from another thread;
    // `took` is the time from the command to the records being cut, the question included.
    double Delete(SearchLinkTask& task, double& took) {
        const int before = task.DownloadedImages.GetCount();
        YesPresser yes;
        const double begin = testsupport::NowMs();
        const double longest = Measure([&] {
            PostMessageA(frame_, WM_COMMAND, ID_IMAGES_DELETE, 0);
            for (double start = testsupport::NowMs();
                 task.DownloadedImages.GetCount() == before && testsupport::NowMs() - start < 120000;)
                testsupport::PumpLoopFor(loop_, 2);
            took = testsupport::NowMs() - begin;
        });
        return longest;
    }
    double CtrlA(HWND target) {
        return Measure([&] {
            SetFocus(target);
            SetCtrl(true);
            SendMessageA(target, WM_KEYDOWN, 'A', 0);
            SetCtrl(false);
        });
    }
    void SelectEveryOther(int count) {
        PictureIndexList half;
        for (int i = 0; i < count; i += 2) half.push_back(i);
        pictures_.ListView().SelectIndices(half);
        pictures_.ThumbnailView().SelectIndices(half);
        testsupport::PumpLoopFor(loop_, 50);
    }

private:
    CMessageLoop& loop_;
    MainFrame& frame_;
    ImagesContainer& pictures_;
};

// Writes a small file for every `step`-th record from `first` on, `count` of them, and selects
// those records in both views.
void ChoosePictureFiles(SearchLinkTask& task, ImagesContainer& pictures, int first, int step, int count) {
    CreateDirectoryA(task.SaveFolder.c_str(), nullptr);
    PictureIndexList chosen;
    for (int i = first; i < task.DownloadedImages.GetCount() && static_cast<int>(chosen.size()) < count; i += step) {
        HANDLE file = CreateFileA(task.DownloadedImages.GetAt(i).localPath.c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        DWORD written = 0;
        WriteFile(file, "bench", 5, &written, nullptr);
        CloseHandle(file);
        chosen.push_back(i);
    }
    pictures.ListView().SelectIndices(chosen);
    pictures.ThumbnailView().SelectIndices(chosen);
}

void AddRecords(SearchLinkTask& task, int first, int count) {
    for (int i = first; i < first + count; ++i) {
        ImageRecord record;
        char name[64];
        // Names out of order; sizes with many equal values (a sort's hard case).
        snprintf(name, sizeof name, "pic%05d.jpg", (i * 7919) % 100000);
        record.fileName = name;
        record.localPath = task.SaveFolder + "\\" + name;
        record.imageUrl = std::string("http://example.com/") + name;
        record.pageUrl = "http://example.com/";
        record.fileSize = 1000 * (1 + (i * 31) % 200);
        task.DownloadedImages.Append(record);
    }
}

void RunCount(CMessageLoop& loop, MainFrame& frame, ImagesContainer& pictures, const std::string& folder,
              int count) {
    SearchLinkTask task;
    task.TaskName = "Bench";
    task.SaveFolder = folder + "Saved";
    AddRecords(task, 0, count);
    task.Save();  // a delete writes the task's picture list, as in the program
    Bench bench(loop, frame, pictures);
    pictures.ShowListView();
    const double load = bench.Measure([&] { pictures.SetTask(&task); });
    ListView_SetItemState(pictures.ListView().GetListControl(), count / 2, LVIS_FOCUSED, LVIS_FOCUSED);
    bench.SelectEveryOther(count);
    const double toThumbnails = bench.Post(ID_VIEW_THUMBNAILS);
    bench.SelectEveryOther(count);
    const double toList = bench.Post(ID_VIEW_LIST);
    const double sortName = bench.Post(ID_IMAGES_SORT_NAME);
    const double sortSize = bench.Post(ID_IMAGES_SORT_SIZE);
    const double allList = bench.CtrlA(pictures.ListView().GetListControl());
    const double invertList = bench.Post(ID_IMAGES_INVERT_SELECTION);
    PictureCriteria criteria;
    criteria.bySize = true;
    criteria.minSizeKB = 1;
    criteria.maxSizeKB = 100;  // about half of them
    const double condition = bench.Measure([&] { pictures.SelectMatching(criteria); });
    bench.Post(ID_VIEW_THUMBNAILS);
    const double allThumbnails = bench.CtrlA(pictures.ThumbnailView().Control());
    const double invertThumbnails = bench.Post(ID_IMAGES_INVERT_SELECTION);
    bench.Post(ID_VIEW_LIST);
    // A run's batch of new rows (the download manager announces them about every 0.6 s).
    const double batch = bench.Measure([&] {
        const int first = task.DownloadedImages.GetCount();
        AddRecords(task, first, 400);
        pictures.OnImagesAdded(&task, first, 400, false);
    });
    // The same with the end of the list in sight: the new rows are drawn at once.
    HWND list = pictures.ListView().GetListControl();
    ListView_EnsureVisible(list, ListView_GetItemCount(list) - 1, FALSE);
    const double batchAtEnd = bench.Measure([&] {
        const int first = task.DownloadedImages.GetCount();
        AddRecords(task, first, 400);
        pictures.OnImagesAdded(&task, first, 400, false);
    });
    // A whole repaint of the list's rows.
    const double repaint = bench.Measure([&] { RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); });
    // Delete of 1,000 pictures spread over the list, in the list and then in the thumbnails.
    const int spread = std::max(1, task.DownloadedImages.GetCount() / 1000);
    ChoosePictureFiles(task, pictures, 0, spread, 1000);
    double deleteListTook = 0, deleteThumbnailsTook = 0;
    const double deleteList = bench.Delete(task, deleteListTook);
    bench.Post(ID_VIEW_THUMBNAILS);
    ChoosePictureFiles(task, pictures, 1, std::max(1, task.DownloadedImages.GetCount() / 1000), 1000);
    const double deleteThumbnails = bench.Delete(task, deleteThumbnailsTook);
    bench.Post(ID_VIEW_LIST);
    printf("%6d pictures: longest answer in ms\n", count);
    printf("  load task %.0f | View > Thumbnails %.0f | View > List %.0f\n", load, toThumbnails, toList);
    printf("  sort by name %.0f | sort by size %.0f\n", sortName, sortSize);
    printf("  Ctrl+A list %.0f | Ctrl+A thumbnails %.0f\n", allList, allThumbnails);
    printf("  Invert list %.0f | Invert thumbnails %.0f | select by condition (size) %.0f\n", invertList,
           invertThumbnails, condition);
    printf("  400 new rows in the list: end out of sight %.0f, end in sight %.0f | list repaint %.0f\n", batch,
           batchAtEnd, repaint);
    printf("  Delete 1,000: list %.0f (done in %.0f) | thumbnails %.0f (done in %.0f)\n", deleteList, deleteListTook,
           deleteThumbnails, deleteThumbnailsTook);
    fflush(stdout);
    pictures.SetTask(nullptr);
    testsupport::PumpLoopFor(loop, 100);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(atoi(argv[i]));
    if (counts.empty()) counts = {2000, 10000};

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "bkf_picture_views_bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    SetTaskProgramFolder(folder);
    InitCommonControls();
    CMessageLoop loop;
    g_Module.AddMessageLoop(&loop);
    {
        auto app = std::make_unique<Application>();
        app->GetSettings()->ShowTip = false;
        app->GetSettings()->ShowLastImage = false;
        FramePieces pieces = CreateFramePieces(app.get());
        auto* pictures = new ImagesContainer();
        pieces.pictures.reset(pictures);
        MainFrame frame(app.get(), std::move(pieces));
        if (!frame.CreateFrame()) {
            fprintf(stderr, "the main frame could not be created\n");
            return 1;
        }
        SetWindowPos(frame, nullptr, 0, 0, 1200, 900, SWP_NOZORDER);
        ShowWindow(frame, SW_SHOW);
        testsupport::PumpLoopFor(loop, 300);
        for (int count : counts) RunCount(loop, frame, *pictures, folder, count);
        DestroyWindow(frame);
        testsupport::PumpLoopFor(loop, 100);
    }
    g_Module.RemoveMessageLoop();
    return 0;
}
