// Prints the link extractor's speed in MB/s for pages of 100 KB to 10 MB: an ordinary
// gallery-like page and a hostile one (every tag leaves a quote open, attributes missing).
// Linear extraction shows about the same MB/s at every size. Then a 20 MB page of 450,000
// links (1,000 pictures among them) goes through extraction and the enqueue rules in one piece:
// time and the memory the process grew by. Last, the same page is crawled by the real engine
// from a local server while this thread pumps the window's messages, as the program's window
// does, and another thread keeps asking the window for an answer: the window's longest silence
// (and the same figure for the page taken in one piece on the window's thread, as it once was).
#include "core/DownloadManager.h"
#include "core/FileTypes.h"
#include "core/HtmlTagEntry.h"
#include "core/LinkEnqueuer.h"
#include "core/PageLinkParser.h"
#include "core/ProgramSettings.h"
#include "core/SearchLinkTask.h"
#include "core/TaskEnqueueHost.h"
#include "core/TaskFileNames.h"
#include "core/UrlQueue.h"
#include "tests/support/AnswerWatch.h"
#include "tests/support/RecordingViews.h"
#include "tests/support/SiteTask.h"
#include "tests/support/TestHttpServer.h"
#include "tests/support/TestSupport.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string MakeGalleryPage(size_t size) {
    std::string page = "<html><head><base href=\"http://bench.example/gallery/\">"
                       "<script src=\"js/site.js\"></script></head><body background=\"bg.gif\"><table>\n";
    int n = 0;
    while (page.size() < size) {
        const std::string i = std::to_string(n++);
        page += "<tr><td class=\"thumb\"><a href=\"photo" + i + ".html\" title='Photo " + i +
                "'><IMG SRC=\"thumbs/t" + i + ".jpg\" width=120 height=90 alt=\"thumb > " + i + "\"></a></td>\n";
        if (n % 50 == 0)
            page += "<script>var p" + i + " = new Image(); p" + i + ".src = \"pre/" + i +
                    ".jpg\"; function o(){ window.open('big/" + i + ".html'); }</script>\n";
        if (n % 20 == 0) page += "<p>Plain text paragraph with no tags at all, just words to skip over.</p>\n";
    }
    page += "</table></body></html>";
    return page;
}

std::string MakeHostilePage(size_t size) {
    std::string page;
    while (page.size() < size) page += "<a title='x <img alt=\"y <script <td ";
    return page;
}

double Seconds(const LARGE_INTEGER& a, const LARGE_INTEGER& b, const LARGE_INTEGER& freq) {
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(freq.QuadPart);
}

void Measure(const char* label, const std::string& page, const std::vector<HtmlTagEntry>& tags) {
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    int rounds = 0;
    size_t links = 0;
    QueryPerformanceCounter(&start);
    do {
        PageLinkParser parser;
        parser.SetPage("http://bench.example/gallery/index.html", "", kPageKindHtml, page.data(), page.size(), tags);
        links = parser.Results().size();
        ++rounds;
        QueryPerformanceCounter(&end);
    } while (Seconds(start, end, freq) < 0.5 && rounds < 1000);
    const double seconds = Seconds(start, end, freq) / rounds;
    const double mb = static_cast<double>(page.size()) / (1024.0 * 1024.0);
    std::printf("%-8s %8.2f MB  %9.1f MB/s  %8zu links  (%d rounds)\n", label, mb, mb / seconds, links, rounds);
}

// Every pictureEvery-th link is a picture (0: none).
std::string MakeLinkFloodPage(size_t links, size_t pictureEvery) {
    std::string page = "<html><body>\n";
    page.reserve(links * 46 + 64);
    for (size_t i = 0; i < links; ++i) {
        if (pictureEvery && i % pictureEvery == pictureEvery / 2)
            page += "<img src=\"/flood/pic" + std::to_string(i) + ".gif\"><br>\n";
        else
            page += "<a href=\"/flood/page" + std::to_string(i) + ".html\">x</a><br>\n";
    }
    return page + "</body></html>";
}

size_t WorkingSetBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                 sizeof(counters)))
        return 0;
    // The working set: what the process really holds (Wine leaves the private count at 0).
    return counters.WorkingSetSize;
}

void MeasureParseAndEnqueue(size_t linkCount, const std::vector<HtmlTagEntry>& tags) {
    const std::string page = MakeLinkFloodPage(linkCount, 0);
    const std::vector<FileTypeGroup> groups = DefaultFileTypeGroups();
    SearchLinkTask task;
    StartingAddress start;
    start.Url = "http://bench.example/index.html";
    task.StartingAddresses.push_back(start);
    UrlQueue queue;
    UrlQueueEntry referrer;
    referrer.url = start.Url;
    const size_t before = WorkingSetBytes();
    LARGE_INTEGER freq, t0, t1, t2;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&t0);
    size_t found = 0, dropped = 0, queued = 0, after = 0;
    {
        PageLinkParser parser;
        parser.SetPage(start.Url, "", kPageKindHtml, page.data(), page.size(), tags);
        found = parser.Results().size();
        dropped = parser.DroppedLinks();
        QueryPerformanceCounter(&t1);
        TaskEnqueueHost host(task, groups, nullptr, nullptr);
        queued = EnqueueFoundLinks(queue, parser.Results(), referrer, host);
        QueryPerformanceCounter(&t2);
        after = WorkingSetBytes();  // the parser's copies and the queue at once, as the manager holds them
    }
    std::printf("flood    %8.2f MB  %zu links in the page: %zu taken%s, %zu queued\n",
                static_cast<double>(page.size()) / (1024.0 * 1024.0), linkCount, found,
                dropped ? " (the rest dropped)" : "", queued);
    std::printf("         parse %.3f s, enqueue %.3f s, memory grown by %.1f MB\n", Seconds(t0, t1, freq),
                Seconds(t1, t2, freq), after > before ? static_cast<double>(after - before) / (1024.0 * 1024.0) : 0.0);
}

// The longest single message the window's thread handled, and which it was.
struct LongestMessage {
    double ms = 0;
    UINT message = 0;
    WPARAM wParam = 0;
};
LongestMessage g_longest;

void DispatchWaiting() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        const double begin = testsupport::NowMs();
        DispatchMessageA(&msg);
        const double took = testsupport::NowMs() - begin;
        if (took > g_longest.ms) g_longest = LongestMessage{took, msg.message, msg.wParam};
    }
}

// Dispatches the thread's messages until done() holds.
template <typename Done>
void Pump(Done done) {
    while (!done()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        DispatchWaiting();
    }
}

void PrintSilence(const char* label, const testsupport::AnswerWatch& watch) {
    std::printf("         %s: longest silence %.0f ms, 99th percentile %.0f ms (%zu answers)\n", label,
                watch.Percentile(1.0), watch.Percentile(0.99), watch.Answers().size());
}

void MeasureWindowDuringCrawl(size_t linkCount, size_t pictures, const std::vector<HtmlTagEntry>& tags) {
    const size_t pictureEvery = linkCount / pictures;
    const std::string page = MakeLinkFloodPage(linkCount, pictureEvery);
    testsupport::TestHttpServer server;
    if (!server.Start()) {
        std::printf("window   no local server\n");
        return;
    }
    server.SetOk("/index.html", "text/html", page);
    const std::string gif = "GIF89a" + std::string(60, 'g');
    for (size_t i = pictureEvery / 2; i < linkCount; i += pictureEvery)
        server.SetOk("/flood/pic" + std::to_string(i) + ".gif", "image/gif", gif);

    testsupport::ScratchDir folder;
    SetTaskProgramFolder(folder.Path());
    {
        ProgramSettings settings(nullptr, folder.Path(), [](const std::string&) {});
        settings.ThreadsAmount = 10;
        settings.PauseBetweenConnections = 0;
        settings.SaveCacheIntervale = 0;
        settings.HtmlTagsWithUrls = tags;
        testsupport::RecordingViews views;
        HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 300, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        DownloadManager manager(&settings, &views);
        manager.CreateManagerWindow(parent);
        SearchLinkTask task;
        task.Levels = 0;   // page links are judged, none is fetched
        testsupport::PrepareSiteTask(task, "Flood", server.Url("/index.html"), folder.Path(), 0);
        const std::string& startUrl = task.StartingAddresses.front().Url;

        testsupport::AnswerWatch watch(manager.m_hWnd, 5);
        watch.Start();
        const double begin = testsupport::NowMs();
        g_longest = LongestMessage();
        manager.Start(&task, DownloadManager::kStartOrResume);
        Pump([&manager] { return manager.IsIdle(); });
        const double seconds = (testsupport::NowMs() - begin) / 1000.0;
        watch.Finish([] {
            DispatchWaiting();
            Sleep(1);
        });
        bool capped = false;
        for (const std::string& m : views.messages)
            if (m.find(startUrl) != std::string::npos && m.find("links") != std::string::npos) capped = true;
        std::printf("window   %zu links, %zu pictures, crawled by the engine in %.1f s: %d pictures saved, %s\n",
                    linkCount, pictures, seconds, task.DownloadedImages.GetCount(),
                    capped ? "the cap told" : "no cap message");
        PrintSilence("the engine", watch);
        std::printf("         longest message handled: %.0f ms (message %u, %u)\n", g_longest.ms, g_longest.message,
                    static_cast<unsigned>(g_longest.wParam));
        DestroyWindow(parent);
    }
    SetTaskProgramFolder("");

    // The same page in one piece on the window's thread.
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
    testsupport::AnswerWatch watch(window, 5);
    watch.Start();
    Sleep(50);
    DispatchWaiting();
    {
        const std::vector<FileTypeGroup> groups = DefaultFileTypeGroups();
        SearchLinkTask task;
        StartingAddress start;
        start.Url = server.Url("/index.html");
        task.StartingAddresses.push_back(start);
        task.Levels = 0;
        UrlQueue queue;
        UrlQueueEntry referrer;
        referrer.url = start.Url;
        PageLinkParser parser;
        parser.SetPictureTest([&groups](const std::string& url) { return IsKnownFileType(groups, url, nullptr); });
        parser.SetPage(start.Url, "", kPageKindHtml, page.data(), page.size(), tags);
        TaskEnqueueHost host(task, groups);
        EnqueueFoundLinks(queue, parser.Results(), referrer, host);
    }
    watch.Finish([] {
        DispatchWaiting();
        Sleep(1);
    });
    PrintSilence("in one piece on the window's thread", watch);
    DestroyWindow(window);
}

}  // namespace

int main() {
    const std::vector<HtmlTagEntry> tags = DefaultHtmlTagEntries();
    const size_t sizes[] = {100 * 1024, 1024 * 1024, 4 * 1024 * 1024, 10 * 1024 * 1024};
    for (size_t size : sizes) Measure("gallery", MakeGalleryPage(size), tags);
    for (size_t size : sizes) Measure("hostile", MakeHostilePage(size), tags);
    MeasureParseAndEnqueue(450000, tags);
    MeasureWindowDuringCrawl(450000, 1000, tags);
    return 0;
}
