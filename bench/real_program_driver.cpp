// Drives the running program from outside, as a user would, and watches it: finds the main
// window, selects the first task in the tasks tree with the keyboard, shows the list or the
// thumbnail view and starts the task through the frame's commands. Until every picture is in it
// then samples, every 50 ms:
//  - how long the main window takes to answer WM_NULL (on a thread of its own, so a slow answer
//    never delays the other samples);
//  - the monitor pane's title text and the statistics panel's figures (read from the window
//    manager's copy, which never waits for the program's UI thread);
//  - every 100 ms, whether the screen's pixels changed in the monitor pane's title strip, in its
//    tab area and in the pictures pane (what really reached the screen);
//  - the number of files in the pictures folder.
// A picture of the screen is saved when half the pictures are in. The report is "key: value"
// lines in a file (a program started through Wine's explorer has no console of ours).
// Usage: bench_real_program_driver <report file> <pictures folder> <expected pictures>
//                                  <list|thumbnails> <time-out seconds> [mid-run bitmap]
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "resources/command_ids.h"
#include "resources/monitor_ids.h"

namespace {

const DWORD kSamplePeriodMs = 50;

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * double(t.QuadPart) / double(frequency.QuadPart);
}

std::string ClassOf(HWND window) {
    char name[128] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

std::string TextOf(HWND window) {
    // For another process's window this reads the window manager's copy: no message is sent.
    char text[512] = {};
    if (window) GetWindowTextA(window, text, sizeof(text));
    return text;
}

BOOL CALLBACK CollectWindow(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> Descendants(HWND parent) {
    std::vector<HWND> found;
    if (parent) EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The first descendant of parent of the given class (visible ones only when asked).
HWND FindDescendant(HWND parent, const char* className, bool visibleOnly = false) {
    if (!parent) return nullptr;
    for (HWND child : Descendants(parent))
        if (ClassOf(child) == className && (!visibleOnly || IsWindowVisible(child))) return child;
    return nullptr;
}

HWND AncestorOfClass(HWND window, const char* className) {
    for (HWND w = window ? GetParent(window) : nullptr; w; w = GetParent(w))
        if (ClassOf(w) == className) return w;
    return nullptr;
}

void Touch(const std::string& path) {
    if (FILE* f = fopen(path.c_str(), "wb")) fclose(f);
}

// Answer time of the main window to WM_NULL, sampled every 50 ms on its own thread.
struct AnswerProbe {
    HWND frame = nullptr;
    std::atomic<bool> stop{false};
    std::vector<double> answersMs;
    std::vector<double> askedAtMs;  // when each question was sent
    int timedOut = 0;

    static DWORD WINAPI Run(void* self) {
        auto* probe = static_cast<AnswerProbe*>(self);
        double next = NowMs();
        while (!probe->stop) {
            const double t0 = NowMs();
            probe->askedAtMs.push_back(t0);
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutA(probe->frame, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) ++probe->timedOut;
            probe->answersMs.push_back(NowMs() - t0);
            next += kSamplePeriodMs;
            const double now = NowMs();
            if (next > now) Sleep(DWORD(next - now));
            else next = now;
        }
        return 0;
    }
};

// A hash of the screen's pixels in one rectangle, or 0 when it cannot be read.
class ScreenArea {
public:
    ScreenArea() { screen_ = GetDC(nullptr); memory_ = CreateCompatibleDC(screen_); }
    ~ScreenArea() {
        if (bitmap_) DeleteObject(bitmap_);
        DeleteDC(memory_);
        ReleaseDC(nullptr, screen_);
    }
    ScreenArea(const ScreenArea&) = delete;
    ScreenArea& operator=(const ScreenArea&) = delete;

    // Reads the whole screen once; Hash then works on that copy. One fixed bitmap and one
    // copy per sample keep the watcher's own cost small beside the program's.
    bool Capture() {
        const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        return Capture(RECT{0, 0, width, height}, width, height);
    }

    uint64_t Hash(const RECT& area) const {
        if (!bits_) return 0;
        const int left = std::max<LONG>(area.left, 0), top = std::max<LONG>(area.top, 0);
        const int right = std::min<LONG>(area.right, width_), bottom = std::min<LONG>(area.bottom, height_);
        if (right <= left || bottom <= top) return 0;
        uint64_t hash = 1469598103934665603ull;
        for (int y = top; y < bottom; ++y) {
            const uint32_t* line = bits_ + size_t(y) * size_t(width_);
            for (int x = left; x < right; ++x) hash = (hash ^ (line[x] & 0xFFFFFF)) * 1099511628211ull;
        }
        return hash;
    }

    // The whole screen as a 24-bit BMP file.
    bool SaveScreen(const char* path) {
        if (!Capture()) return false;
        const int width = width_, height = height_;
        const DWORD stride = (DWORD(width) * 3 + 3) & ~3u, imageBytes = stride * DWORD(height);
        BITMAPFILEHEADER file = {};
        BITMAPINFOHEADER info = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info);
        file.bfSize = file.bfOffBits + imageBytes;
        info.biSize = sizeof(info);
        info.biWidth = width;
        info.biHeight = height;
        info.biPlanes = 1;
        info.biBitCount = 24;
        FILE* out = fopen(path, "wb");
        if (!out) return false;
        fwrite(&file, sizeof(file), 1, out);
        fwrite(&info, sizeof(info), 1, out);
        std::vector<uint8_t> row(stride);
        for (int y = height - 1; y >= 0; --y) {
            const uint32_t* line = bits_ + size_t(y) * size_t(width);
            for (int x = 0; x < width; ++x) {
                row[size_t(x) * 3] = uint8_t(line[x]);
                row[size_t(x) * 3 + 1] = uint8_t(line[x] >> 8);
                row[size_t(x) * 3 + 2] = uint8_t(line[x] >> 16);
            }
            fwrite(row.data(), 1, stride, out);
        }
        return fclose(out) == 0;
    }

private:
    bool Capture(const RECT& area, int width, int height) {
        if (width != width_ || height != height_) {
            if (bitmap_) DeleteObject(bitmap_);
            BITMAPINFO info = {};
            info.bmiHeader.biSize = sizeof(info.bmiHeader);
            info.bmiHeader.biWidth = width;
            info.bmiHeader.biHeight = -height;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            void* bits = nullptr;
            bitmap_ = CreateDIBSection(screen_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            if (!bitmap_) return false;
            SelectObject(memory_, bitmap_);
            bits_ = static_cast<uint32_t*>(bits);
            width_ = width;
            height_ = height;
        }
        return BitBlt(memory_, 0, 0, width, height, screen_, area.left, area.top, SRCCOPY) != FALSE;
    }

    HDC screen_;
    HDC memory_;
    HBITMAP bitmap_ = nullptr;
    uint32_t* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};

// Counts how often a sampled value changes.
template <typename T>
struct ChangeCounter {
    T last{};
    bool seen = false;
    int changes = 0;
    void Sample(const T& value) {
        if (seen && value != last) ++changes;
        last = value;
        seen = true;
    }
};

int CountFiles(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) count += CountFiles(folder + "\\" + name);
        else ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

double Percentile(std::vector<double> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t i = size_t(p * double(values.size() - 1) + 0.5);
    return values[std::min(i, values.size() - 1)];
}

// The item count of a list view, or -1 when the program did not answer within a second.
int ListCount(HWND list) {
    DWORD_PTR count = 0;
    if (!list || !SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 1000, &count)) return -1;
    return int(count);
}

// A real click of the left button at a point of the screen, through the system's input queue.
void ClickAt(POINT point) {
    SetCursorPos(point.x, point.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input[0], sizeof(INPUT));
    Sleep(50);
    SendInput(1, &input[1], sizeof(INPUT));
    Sleep(100);
}

// A menu command, handled before this returns: a posted one could still be waiting when the run
// starts (a sent WM_NULL is answered ahead of posted messages), and the switch to the thumbnail
// view would then be timed as part of the crawl.
void Command(HWND frame, UINT id) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0, SMTO_NORMAL, 60000, &result);
}

// Waits until the program answers: it has handled what was sent to it so far (posted messages
// and input may still wait).
void Settle(HWND frame) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
}

RECT WindowRect(HWND window) {
    RECT r = {};
    if (window) GetWindowRect(window, &r);
    return r;
}

struct Report {
    FILE* out;
    explicit Report(const char* path) : out(fopen(path, "w")) {}
    ~Report() { if (out) fclose(out); }
    template <typename... A>
    void Line(const char* format, A... args) {
        if (!out) return;
        fprintf(out, format, args...);
        fputc('\n', out);
        fflush(out);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        fprintf(stderr, "usage: %s <report> <pictures folder> <expected> <list|thumbnails> <time-out s> [bitmap]\n",
                argv[0]);
        return 2;
    }
    Report report(argv[1]);
    const std::string picturesFolder = argv[2];
    const int expected = atoi(argv[3]);
    const bool thumbnails = std::string(argv[4]) == "thumbnails";
    const double timeoutMs = atof(argv[5]) * 1000.0;
    const char* midRunBitmap = argc > 6 ? argv[6] : nullptr;

    HWND frame = nullptr;
    for (int i = 0; i < 600 && !(frame = FindWindowA("Brackenfly_MainFrame", nullptr)); ++i) Sleep(100);
    if (!frame) {
        report.Line("error: no main window");
        return 1;
    }
    for (int i = 0; i < 100 && !IsWindowVisible(frame); ++i) Sleep(100);
    Settle(frame);
    Sleep(1000);
    Settle(frame);
    // The main window in front, as a user's would be, so nothing covers what is photographed.
    ShowWindow(frame, SW_MAXIMIZE);
    SetForegroundWindow(frame);
    Settle(frame);

    // Select the first task under the tree's root with a click on its label (the second row).
    HWND tree = FindDescendant(frame, "SysTreeView32");
    if (!tree) {
        report.Line("error: no tasks tree");
        return 1;
    }
    DWORD_PTR rowHeight = 0, indent = 0;
    SendMessageTimeoutA(tree, TVM_GETITEMHEIGHT, 0, 0, SMTO_NORMAL, 5000, &rowHeight);
    SendMessageTimeoutA(tree, TVM_GETINDENT, 0, 0, SMTO_NORMAL, 5000, &indent);
    POINT label = {LONG(2 * indent + 16 + 12), LONG(rowHeight + rowHeight / 2)};
    ClientToScreen(tree, &label);
    // A click can be lost while the window is still settling after start-up: click again until
    // the task is the tree's selection.
    DWORD_PTR selected = 0, parent = 0;
    int clicks = 0;
    while (!parent && clicks < 20) {
        ++clicks;
        SetForegroundWindow(frame);
        ClickAt(label);
        Settle(frame);
        selected = parent = 0;
        SendMessageTimeoutA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, SMTO_NORMAL, 5000, &selected);
        if (selected) SendMessageTimeoutA(tree, TVM_GETNEXTITEM, TVGN_PARENT, selected, SMTO_NORMAL, 5000, &parent);
        if (!parent) Sleep(250);
    }
    if (!selected || !parent) {
        report.Line("error: no task selected in the tree (clicked at %ld,%ld; rows %d high, indent %d)", label.x,
                    label.y, int(rowHeight), int(indent));
        return 1;
    }
    // List view first, as a user looks at the task, then the view the run is watched in.
    Command(frame, ID_VIEW_LIST);
    if (thumbnails) Command(frame, ID_VIEW_THUMBNAILS);
    Settle(frame);

    HWND viewHost = FindDescendant(frame, "Brackenfly_ViewHost");
    HWND monitorPane = AncestorOfClass(viewHost, "Brackenfly_PaneContainer");
    HWND picturesPane = FindDescendant(frame, "Brackenfly_ImagesContainer");
    HWND imagesList = FindDescendant(FindDescendant(frame, "Brackenfly_ImagesListView"), "SysListView32");
    HWND speedText = nullptr, picturesText = nullptr;
    for (HWND child : Descendants(FindDescendant(frame, "Brackenfly_StatViewer"))) {
        if (GetDlgCtrlID(child) == IDC_STAT_SPEED) speedText = child;
        if (GetDlgCtrlID(child) == IDC_STAT_IMAGES) picturesText = child;
    }
    if (!viewHost || !monitorPane || !imagesList) {
        report.Line("error: monitor pane or pictures list not found");
        return 1;
    }
    RECT titleStrip = WindowRect(monitorPane);
    titleStrip.bottom = WindowRect(viewHost).top;
    const RECT monitorArea = WindowRect(viewHost);
    const RECT picturesArea = WindowRect(picturesPane);

    AnswerProbe probe;
    probe.frame = frame;
    ScreenArea screen;
    ChangeCounter<std::string> titleText, speedFigure, picturesFigure;
    ChangeCounter<uint64_t> titlePixels, monitorPixels, picturesPixels;
    const std::string firstTitle = TextOf(monitorPane);

    // Marker files beside the report, so the script can read CPU times over exactly the run.
    const std::string reportPath = argv[1];
    Command(frame, ID_TASK_START);
    const double start = NowMs();
    Touch(reportPath + ".start");
    HANDLE probeThread = CreateThread(nullptr, 0, AnswerProbe::Run, &probe, 0, nullptr);
    int files = 0, samples = 0;
    double allIn = 0;
    bool photographed = !midRunBitmap;
    double next = start;
    while (NowMs() - start < timeoutMs) {
        titleText.Sample(TextOf(monitorPane));
        speedFigure.Sample(TextOf(speedText));
        picturesFigure.Sample(TextOf(picturesText));
        // The screen is read every other sample: reading it is the watcher's largest cost, and
        // it competes with the program for the X server.
        if (samples % 2 == 0 && screen.Capture()) {
            titlePixels.Sample(screen.Hash(titleStrip));
            monitorPixels.Sample(screen.Hash(monitorArea));
            picturesPixels.Sample(screen.Hash(picturesArea));
        }
        // Listing the folder of up to thousands of files is the watcher's dearest step and goes
        // through the Wine server the workers need: a quarter of a second apart until three
        // quarters are in, then every sample so the end is seen on time.
        if (samples % 5 == 0 || files * 4 >= expected * 3) files = CountFiles(picturesFolder);
        ++samples;
        if (!photographed && files * 2 >= expected) photographed = screen.SaveScreen(midRunBitmap) || true;
        if (files >= expected) {
            allIn = NowMs();
            Touch(reportPath + ".allin");
            break;
        }
        next += kSamplePeriodMs;
        const double now = NowMs();
        if (next > now) Sleep(DWORD(next - now));
        else next = now;
    }
    const double end = allIn ? allIn : NowMs();
    probe.stop = true;
    WaitForSingleObject(probeThread, 30000);
    CloseHandle(probeThread);
    const double seconds = (end - start) / 1000.0;

    // The views at the end: the list view must hold every picture (the thumbnail runs switch to
    // it first, as a user would to check).
    if (thumbnails) Command(frame, ID_VIEW_LIST);
    int listed = -1;
    const double viewsFrom = NowMs();
    while (NowMs() - viewsFrom < 30000) {
        listed = ListCount(imagesList);
        if (listed >= expected) break;
        Sleep(100);
    }
    const double viewsSeconds = (NowMs() - start) / 1000.0;
    const std::string lastTitle = TextOf(monitorPane);

    report.Line("view: %s", thumbnails ? "thumbnails" : "list");
    report.Line("clicks to select the task: %d", clicks);
    report.Line("pictures: %d of %d", files, expected);
    report.Line("seconds: %.2f", seconds);
    report.Line("pictures/s: %.1f", seconds > 0 ? files / seconds : 0.0);
    report.Line("listed: %d (%.2f s after Start)", listed, viewsSeconds);
    report.Line("answers: %d (%d timed out after 10 s)", int(probe.answersMs.size()), probe.timedOut);
    report.Line("answer ms p50/p99/max: %.0f %.0f %.0f", Percentile(probe.answersMs, 0.5),
                Percentile(probe.answersMs, 0.99), Percentile(probe.answersMs, 1.0));
    if (!probe.answersMs.empty()) {
        const size_t slowest = size_t(std::max_element(probe.answersMs.begin(), probe.answersMs.end()) -
                                      probe.answersMs.begin());
        report.Line("slowest answer asked at: %.0f ms after Start", probe.askedAtMs[slowest] - start);
        // Every answer over 50 ms, when it was asked: a period in them points at its cause.
        std::string slow;
        for (size_t i = 0; i < probe.answersMs.size() && slow.size() < 900; ++i)
            if (probe.answersMs[i] > 50) {
                char one[48];
                snprintf(one, sizeof one, " %.0f:%.0f", probe.askedAtMs[i] - start, probe.answersMs[i]);
                slow += one;
            }
        report.Line("answers over 50 ms (asked at ms after Start:answer ms):%s", slow.c_str());
    }
    report.Line("samples: %d", samples);
    const double perSecond = seconds > 0 ? 1.0 / seconds : 0.0;
    report.Line("title text changes/s: %.1f", titleText.changes * perSecond);
    report.Line("title strip redraws/s: %.1f", titlePixels.changes * perSecond);
    report.Line("monitor tab redraws/s: %.1f", monitorPixels.changes * perSecond);
    report.Line("pictures pane redraws/s: %.1f", picturesPixels.changes * perSecond);
    report.Line("statistics figure changes/s: %.1f", picturesFigure.changes * perSecond);
    // The graph is on a hidden tab during the run; its panel's speed read-out is recomputed from
    // the graph's newest samples at each sample, so its changes count the samples taken.
    report.Line("graph samples (speed read-out changes): %d of %d two-second intervals", speedFigure.changes,
                int(seconds / 2.0));
    report.Line("first title: %s", firstTitle.c_str());
    report.Line("last title: %s", lastTitle.c_str());
    return files >= expected && listed >= expected ? 0 : 1;
}
