#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <commctrl.h>
#include <winsock2.h>

#include <map>

#include "core/DownloadManager.h"
#include "core/DownloadViews.h"
#include "core/ProgramSettings.h"
#include "core/PropertyBag.h"
#include "core/PathHelpers.h"
#include "core/ResumeFile.h"
#include "core/SystemErrorText.h"
#include "core/SearchLinkTask.h"
#include "core/TaskFileNames.h"
#include "tests/support/FixtureBytes.h"
#include "tests/support/HeldFile.h"
#include "tests/support/RecordingViews.h"
#include "tests/support/TestHttpServer.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/engine/EngineFixture.h"

using testsupport::FixtureBytes;
using testsupport::ReadFileText;

namespace {

// An encoder of the resume file written from its description, to compare the manager's bytes with.
void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}
void PutText(std::string& out, const std::string& text) {
    PutU32(out, static_cast<uint32_t>(text.size() + 1));
    out += text;
    out += '\0';
}
std::string QueueEntryBytes(const std::string& url, const std::string& referrer, int32_t level, bool isImage,
                            const std::string& extension) {
    std::string out;
    PutText(out, url);
    PutText(out, referrer);
    PutU32(out, static_cast<uint32_t>(level));
    PutU32(out, 0);   // retry count
    out += static_cast<char>(isImage ? 1 : 0);
    PutText(out, extension);
    return out;
}
std::string BagEntry(const std::string& name, const std::string& value) {
    std::string out = name;
    out.resize(64, '\0');
    PutU32(out, static_cast<uint32_t>(value.size()));
    return out + value;
}

class DownloadManagerTest : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        settings_->MaxAttempts = 2;

        task_.TaskName = "Site";
        StartingAddress start;
        start.Url = server_.Url("/index.html");
        start.UseAuthorization = true;
        start.UserName = "ann";
        start.Password = "secret";
        task_.StartingAddresses.push_back(start);
        task_.SaveFolder = dir_.Path() + "Images";
        task_.ImageSaveType = 2;
        task_.MinimumWidth.enabled = false;
        task_.MinimumHeight.enabled = false;
        ASSERT_TRUE(task_.Save());
    }
    // Runs the message loop until done() holds; false when the time is up first.
    template <typename Done>
    bool PumpUntil(Done done, DWORD limit = 30000) {
        const DWORD begin = GetTickCount();
        while (!done()) {
            if (GetTickCount() - begin > limit) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        return true;
    }
    // Until the manager is idle again.
    bool RunUntilIdle(DWORD limit = 30000) {
        return PumpUntil([this] { return manager_->IsIdle(); }, limit);
    }
    // Until the server has been asked for `path`.
    bool RunUntilRequested(const std::string& path) {
        return PumpUntil([this, &path] { return server_.CountRequests(path) > 0; });
    }

    void ServeSite() {
        server_.SetOk("/index.html", "text/html",
                      "<html><body><a href=\"page2.html\">next</a>"
                      "<IMG SRC='img/big.png'><a href=/img/photo.bmp>photo</a>"
                      "<img src=\"missing.jpg\"><img src=\"redir.jpg\"><img src=\"secret/d.jpg\">"
                      "<img src=\"img/small.jpg\"></body></html>");
        server_.SetOk("/page2.html", "text/html; charset=utf-8",
                      "<html><a href='index.html'>home</a><img src='img/big.png'><img src='img/err.jpg'></html>");
        server_.SetOk("/img/big.png", "image/png", FixtureBytes("big.png"));
        server_.SetOk("/img/photo.bmp", "image/bmp", FixtureBytes("photo.bmp"));
        server_.SetOk("/img/small.jpg", "image/jpeg", FixtureBytes("small.jpg"));
        server_.SetOk("/img/err.jpg", "text/html", "<html>not a picture</html>");
        server_.SetRedirect("/redir.jpg", "/img/p120.jpg");
        server_.SetOk("/img/p120.jpg", "image/jpeg", FixtureBytes("p120x80.jpg"));
        server_.SetProtected("/secret/d.jpg", "YW5uOnNlY3JldA==", "image/jpeg", FixtureBytes("p120x80.jpg"));
    }

    SearchLinkTask task_;
};

}  // namespace

TEST_F(DownloadManagerTest, MirrorsASiteEndToEnd) {
    ServeSite();
    task_.MinimumWidth.enabled = true;
    task_.MinimumWidth.value = 50;   // small.jpg (40 wide) is filtered out
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_FALSE(manager_->IsIdle());
    ASSERT_TRUE(RunUntilIdle());

    const std::string host = dir_.Path() + "Images\\127.0.0.1\\";
    EXPECT_TRUE(FixtureBytes("big.png") == ReadFileText(host + "img\\big.png"));
    EXPECT_TRUE(FixtureBytes("photo.bmp") == ReadFileText(host + "img\\photo.bmp"));
    EXPECT_TRUE(FixtureBytes("p120x80.jpg") == ReadFileText(host + "redir.jpg"));
    EXPECT_TRUE(FixtureBytes("p120x80.jpg") == ReadFileText(host + "secret\\d.jpg"));
    EXPECT_FALSE(testsupport::FileExists(host + "img\\small.jpg"));
    EXPECT_FALSE(testsupport::FileExists(host + "img\\err.jpg"));
    EXPECT_EQ(4, task_.DownloadedImages.GetCount());
    EXPECT_EQ(4, views_.added);
    EXPECT_EQ(4, manager_->ImagesDownloaded());
    EXPECT_EQ(1, server_.CountRequests("/img/big.png"));   // found twice, fetched once

    // 404 given up after MaxAttempts; logged and shown.
    EXPECT_EQ(2, server_.CountRequests("/missing.jpg"));
    EXPECT_EQ(1, manager_->ErrorsInRun());
    ASSERT_EQ(1u, views_.errors.size());
    EXPECT_EQ("HTTP error: 404 Requested URL not found", views_.errors[0]);
    std::string log = ReadFileText(dir_.Path() + "errors.log");
    EXPECT_NE(std::string::npos, log.find("HTTP error: 404 Requested URL not found\t\tURL: " + server_.Url("/missing.jpg")));
    EXPECT_NE(std::string::npos, log.find("\tTask completed: \"Site\""));

    // The run ran out of work: plain completion, state files written, no resume.
    EXPECT_EQ("", views_.resultText);
    EXPECT_FALSE(task_.Resume);
    EXPECT_FALSE(views_.lastStopped);
    EXPECT_EQ("Task \"Site\" is completed.", views_.messages.back());
    EXPECT_TRUE(testsupport::FileExists(task_.GetCacheFilePath()));
    EXPECT_TRUE(testsupport::FileExists(task_.GetDownloadsFilePath()));
    EXPECT_NE(std::string::npos, views_.status.find("Task \"Site\" :     0 link(s) in queue,     4 image(s) downloaded,     1 error(s). Task completed."))
        << views_.status;

    // Cookie header on every first request (not on redirected ones) and Host with its port.
    for (const std::string& r : server_.Requests()) {
        if (r.find("GET /img/p120.jpg ") != 0) {
            EXPECT_NE(std::string::npos, r.find("Cookie:;\r\n")) << r;
        }
        EXPECT_NE(std::string::npos, r.find("Host: 127.0.0.1:" + std::to_string(server_.Port()))) << r;
    }

    // A second run of the same task (restart) overwrites nothing and doubles nothing: a file
    // that holds exactly the picture's bytes is taken as it is; only a different file of that
    // name (here one the user changed) makes the picture take a free name.
    ASSERT_TRUE(testsupport::WriteFileText(host + "img\\photo.bmp", "changed by the user"));
    manager_->Start(&task_, DownloadManager::kRestart);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_TRUE(FixtureBytes("big.png") == ReadFileText(host + "img\\big.png"));
    EXPECT_FALSE(testsupport::FileExists(host + "img\\big(1).png"));
    EXPECT_FALSE(testsupport::FileExists(host + "redir(1).jpg"));
    EXPECT_FALSE(testsupport::FileExists(host + "secret\\d(1).jpg"));
    EXPECT_EQ("changed by the user", ReadFileText(host + "img\\photo.bmp"));
    EXPECT_TRUE(FixtureBytes("photo.bmp") == ReadFileText(host + "img\\photo(1).bmp"));
    std::vector<std::string> recorded;
    for (int i = 0; i < task_.DownloadedImages.GetCount(); ++i)
        recorded.push_back(task_.DownloadedImages.GetAt(i).localPath.substr(host.size()));
    std::sort(recorded.begin(), recorded.end());
    EXPECT_EQ((std::vector<std::string>{"img\\big.png", "img\\photo(1).bmp", "redir.jpg", "secret\\d.jpg"}), recorded);
    EXPECT_EQ(4, manager_->ImagesDownloaded());
}

TEST_F(DownloadManagerTest, StopIsPromptAndAResumeContinues) {
    server_.SetOk("/index.html", "text/html", "<a href='slow.jpg'>s</a><a href='a.png'>a</a>");
    server_.SetStall("/slow.jpg", 120000);
    server_.SetOk("/a.png", "image/png", FixtureBytes("big.png"));
    settings_->ThreadsAmount = 1;
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    // Run until the stalled picture is being fetched.
    ASSERT_TRUE(RunUntilRequested("/slow.jpg"));
    ASSERT_EQ(1, server_.CountRequests("/slow.jpg"));
    // The stall lasts two minutes: a stop that waited for it would miss this generous guard.
    DWORD stopStart = GetTickCount();
    manager_->Stop(0);
    EXPECT_LT(GetTickCount() - stopStart, 60000u);
    EXPECT_TRUE(manager_->IsIdle());
    EXPECT_TRUE(task_.Resume);
    EXPECT_TRUE(views_.lastStopped);
    EXPECT_TRUE(manager_->Queue().IsQueued(server_.Url("/slow.jpg")));
    // Paused, not completed, wherever the run's end is told.
    EXPECT_EQ(RunEnd::kPaused, views_.lastEnd);
    EXPECT_EQ("Task \"Site\" is paused.", views_.messages.back());
    EXPECT_EQ(" Task paused.", views_.status.substr(views_.status.size() - 13));

    // The resume file: the untouched picture, then the stopped one back at the queue's end; the
    // start page processed; no picture saved yet.
    const std::string index = server_.Url("/index.html");
    std::string queued, processed, expected = "PROPBAG";
    PutU32(queued, 2);
    queued += QueueEntryBytes(server_.Url("/a.png"), index, 1, true, ".png");
    queued += QueueEntryBytes(server_.Url("/slow.jpg"), index, 1, true, ".jpg");
    PutU32(processed, 1);
    PutText(processed, index);
    processed += QueueEntryBytes(index, index, 0, false, ".html");
    PutU32(expected, 2);
    PutU32(expected, 0);
    PutU32(expected, 3);
    expected += BagEntry("AvailibleUrls", queued) + BagEntry("ImagesDownloadCount", std::string(4, '\0')) +
                BagEntry("ProcessedUrls", processed);
    EXPECT_TRUE(expected == ReadFileText(task_.GetCacheFilePath()));

    // The stalled address now answers. As after a restart of the program: a new manager and the
    // task read back from its files continue with what was left, not with the start page.
    server_.SetOk("/slow.jpg", "image/jpeg", FixtureBytes("p120x80.jpg"));
    int indexFetches = server_.CountRequests("/index.html");
    const std::string fileName = task_.TaskFileName;
    manager_.reset(new DownloadManager(settings_.get(), &views_));
    ASSERT_TRUE(manager_->CreateManagerWindow(parent_));
    SearchLinkTask reloaded;
    ASSERT_TRUE(reloaded.Load(fileName));
    EXPECT_TRUE(reloaded.Resume);
    manager_->Start(&reloaded, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(indexFetches, server_.CountRequests("/index.html"));
    EXPECT_EQ(2, reloaded.DownloadedImages.GetCount());
    EXPECT_FALSE(reloaded.Resume);
    manager_.reset();   // before the task it borrows
}

TEST_F(DownloadManagerTest, UnreachableServerAbortsWithResultText) {
    settings_->ThreadsAmount = 1;
    settings_->MaxAttempts = 1;
    task_.StartingAddresses[0].Url = "http://127.0.0.1:1/index.html";   // nothing listens there
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(-1, manager_->LastResultCode());
    EXPECT_NE(std::string::npos, views_.resultText.find("Cannot find server or DNS Error")) << views_.resultText;
    EXPECT_EQ("Task \"Site\" is completed with error.", views_.messages.back());
    ASSERT_EQ(1u, views_.errors.size());
    EXPECT_EQ(0u, views_.errors[0].find("NET error: ")) << views_.errors[0];
}

TEST_F(DownloadManagerTest, StartWhileRunningAndStopWhenIdleDoNothing) {
    manager_->Stop(0);
    EXPECT_EQ(0, views_.finished);
    server_.SetStall("/index.html", 3000);
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    manager_->Start(&task_, DownloadManager::kRestart);
    EXPECT_EQ(1, views_.started);
    views_.status = "Pane title";   // the finish notice goes after the pane's current text
    manager_->Stop(0);
    EXPECT_EQ(1, views_.finished);
    EXPECT_EQ("Pane title Task paused.", views_.status);
}

TEST_F(DownloadManagerTest, AnUntickedRowIsSkippedAndReloadingNoPicturesEndsAtOnce) {
    server_.SetOk("/index.html", "text/html", "<img src='slow.jpg'>");
    server_.SetStall("/slow.jpg", 120000);
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    HWND list = manager_->List().Handle();
    ASSERT_TRUE(RunUntilRequested("/slow.jpg"));
    ASSERT_EQ(1, manager_->List().RowCount());
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(1);   // the user clears the check box
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    // The stall lasts two minutes: the run ends at once or misses the guard.
    ASSERT_TRUE(RunUntilIdle(60000));
    // Skipped: neither retried nor an error, nothing saved; the run ran out of work.
    EXPECT_EQ(1, server_.CountRequests("/slow.jpg"));
    EXPECT_EQ(0, manager_->ErrorsInRun());
    EXPECT_EQ(0, task_.DownloadedImages.GetCount());
    EXPECT_FALSE(task_.Resume);
    EXPECT_EQ(0, manager_->List().RowCount());

    const size_t requests = server_.Requests().size();
    manager_->Start(&task_, DownloadManager::kReloadImages);
    ASSERT_TRUE(RunUntilIdle(2000));
    EXPECT_EQ(requests, server_.Requests().size());
    EXPECT_EQ("Task \"Site\" is completed.", views_.messages.back());
    EXPECT_EQ("", views_.resultText);
}

TEST_F(DownloadManagerTest, ProgressBarFillsItsShareOfTheCell) {
    ShowWindow(parent_, SW_SHOWNOACTIVATE);
    MoveWindow(manager_->m_hWnd, 0, 0, 600, 300, TRUE);
    DownloadList& rows = manager_->List();
    rows.AddRow(99, "http://h/a.jpg", true);
    rows.UpdateProgress(99, 1000, 250);
    rows.AddRow(100, "http://h/b.jpg", true);
    rows.UpdateProgress(100, 0, 300);   // unknown size: no bar
    RECT cell = {};
    cell.top = 3;
    cell.left = LVIR_BOUNDS;
    ASSERT_TRUE(SendMessageA(rows.Handle(), LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell)));
    RedrawWindow(rows.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = GetDC(rows.Handle());
    const int y = (cell.top + cell.bottom) / 2;
    const int filled = (cell.right - cell.left) * 250 / 1000;
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT) & 0xffffff;
    EXPECT_EQ(highlight, GetPixel(dc, cell.left + 1, y) & 0xffffff);
    EXPECT_EQ(highlight, GetPixel(dc, cell.left + filled - 1, y) & 0xffffff);
    EXPECT_NE(highlight, GetPixel(dc, cell.left + filled + 2, y) & 0xffffff);
    const int height = cell.bottom - cell.top;
    EXPECT_NE(highlight, GetPixel(dc, cell.left + 1, y + height) & 0xffffff);
    ReleaseDC(rows.Handle(), dc);
}

TEST_F(DownloadManagerTest, RepeatedNetworkFailuresAbortTheRun) {
    settings_->ThreadsAmount = 1;
    settings_->MaxAttempts = 10;
    task_.StartingAddresses[0].Url = "http://127.0.0.1:1/index.html";   // nothing listens there
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    // More than 2 x ThreadsAmount failures without a status in a row: stopped after the third,
    // though retries were left; nothing was given up, so nothing is logged.
    EXPECT_TRUE(views_.lastStopped);
    EXPECT_TRUE(task_.Resume);
    EXPECT_TRUE(views_.errors.empty());
    // Stopped, with the reason as the message's detail; not completed.
    EXPECT_EQ(RunEnd::kStopped, views_.lastEnd);
    EXPECT_EQ("Task \"Site\" is stopped.", views_.messages.back());
    EXPECT_EQ(0, views_.messageKinds.back());
    EXPECT_EQ(" Task stopped.", views_.status.substr(views_.status.size() - 14));
    EXPECT_EQ("While downloading no address was succesfully processed.\n\nLast error: "
              "Cannot find server or DNS Error\n\nCheck Internet connection or proxy settings",
              views_.resultText);
    std::vector<UrlQueueEntry> left = manager_->Queue().QueuedEntries();
    ASSERT_EQ(1u, left.size());
    EXPECT_EQ(3, left[0].retryCount);
}

TEST_F(DownloadManagerTest, ARunStoppedByRepeatedFailuresAfterPicturesCameInDoesNotSayNothingSucceeded) {
    // Two pictures come in, then every connection is reset before a status arrives, as when
    // the server goes away: the run stops as before, and its result tells the last error.
    settings_->ThreadsAmount = 1;
    settings_->MaxAttempts = 10;
    std::string page = "<img src='a.jpg'><img src='b.jpg'>";
    for (int i = 0; i < 5; ++i) {
        const std::string name = "gone" + std::to_string(i) + ".jpg";
        page += "<img src='" + name + "'>";
        server_.SetReset("/" + name, "");
    }
    server_.SetOk("/index.html", "text/html", page);
    server_.SetOk("/a.jpg", "image/jpeg", std::string(2000, 'a'));
    server_.SetOk("/b.jpg", "image/jpeg", std::string(2000, 'b'));
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(2, manager_->ImagesDownloaded());
    EXPECT_EQ(RunEnd::kStopped, views_.lastEnd);
    EXPECT_TRUE(task_.Resume);
    EXPECT_EQ("Downloading was stopped after repeated failures in a row.\n\nLast error: "
              "Cannot find server or DNS Error\n\nCheck Internet connection or proxy settings",
              views_.resultText);
    EXPECT_EQ(std::string::npos, views_.resultText.find('\t'));
}

TEST_F(DownloadManagerTest, MaximumSizeSkipsLargePicturesOnlyAndHostFoldersFollowTheSaveFolder) {
    // The page is larger than the limit too: the limit is for pictures, the page is scanned.
    server_.SetOk("/index.html", "text/html",
                  "<img src='exact.jpg'><img src='over.jpg'>" + std::string(150 * 1024, ' ') +
                      "<img src='late.jpg'>");
    server_.SetOk("/exact.jpg", "image/jpeg", std::string(102400, 'e'));
    server_.SetOk("/over.jpg", "image/jpeg", std::string(102401, 'o'));
    server_.SetOk("/late.jpg", "image/jpeg", "late");
    task_.MaximumSize.enabled = true;
    task_.MaximumSize.value = 100;
    task_.SaveFolder = dir_.Path() + "Images\\";   // given with a trailing separator
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());

    // Too large: skipped, neither retried nor counted as an error.
    EXPECT_EQ(1, server_.CountRequests("/over.jpg"));
    EXPECT_EQ(1, server_.CountRequests("/index.html"));
    EXPECT_EQ(0, manager_->ErrorsInRun());
    EXPECT_TRUE(views_.errors.empty());
    EXPECT_EQ(2, manager_->ImagesDownloaded());
    ASSERT_EQ(2, task_.DownloadedImages.GetCount());

    // The separator after the save folder is doubled in the stored path; the file system reads
    // it as one.
    int exact = task_.DownloadedImages.FindByImageUrl(server_.Url("/exact.jpg"));
    ASSERT_GE(exact, 0);
    EXPECT_EQ(dir_.Path() + "Images\\\\127.0.0.1\\exact.jpg", task_.DownloadedImages.GetAt(exact).localPath);
    EXPECT_EQ("exact.jpg", task_.DownloadedImages.GetAt(exact).fileName);
    EXPECT_EQ(102400u, ReadFileText(dir_.Path() + "Images\\127.0.0.1\\exact.jpg").size());
    EXPECT_EQ("late", ReadFileText(dir_.Path() + "Images\\127.0.0.1\\late.jpg"));
    EXPECT_FALSE(testsupport::FileExists(dir_.Path() + "Images\\127.0.0.1\\over.jpg"));
}

TEST_F(DownloadManagerTest, APictureWithoutALengthIsHeldToTheMaximumSize) {
    server_.SetOk("/index.html", "text/html", "<img src='big.jpg'><img src='small.jpg'>");
    // No Content-Length, and the server goes quiet after 600 KB: the picture is cut short as
    // soon as it passes the limit, not when the server lets go.
    server_.SetStall("/big.jpg", 120000,
                     "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nConnection: close\r\n\r\n" +
                         std::string(600 * 1024, 'b'));
    server_.SetRaw("/small.jpg", "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nConnection: close\r\n\r\n" +
                                     std::string(50 * 1024, 's'));
    task_.MaximumSize.enabled = true;
    task_.MaximumSize.value = 100;
    // The big one stalls for two minutes: the run ends at once or misses the guard.
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle(60000));
    EXPECT_EQ(1, server_.CountRequests("/big.jpg"));
    EXPECT_EQ(0, manager_->ErrorsInRun());
    ASSERT_EQ(1, task_.DownloadedImages.GetCount());
    EXPECT_EQ(server_.Url("/small.jpg"), task_.DownloadedImages.GetAt(0).imageUrl);
    EXPECT_EQ(50 * 1024, task_.DownloadedImages.GetAt(0).fileSize);
}

TEST_F(DownloadManagerTest, ANewerResumeFileIsCopiedAsideAndALockedOneLeavesTheTaskOut) {
    // The first task stops with an address still queued.
    server_.SetOk("/index.html", "text/html", "<a href='slow.jpg'>s</a>");
    server_.SetStall("/slow.jpg", 120000);
    settings_->ThreadsAmount = 1;
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilRequested("/slow.jpg"));
    manager_->Stop(0);
    ASSERT_TRUE(manager_->Queue().IsQueued(server_.Url("/slow.jpg")));

    // Another task whose resume file a newer version wrote: a copy is kept beside it and the
    // user told, then the task runs with what this version understands of it (here nothing, so
    // from its start address, and not from the queue the first task left behind).
    SearchLinkTask other;
    other.TaskName = "Other";
    StartingAddress start;
    start.Url = server_.Url("/other.html");
    other.StartingAddresses.push_back(start);
    other.SaveFolder = dir_.Path() + "Other";
    other.MinimumWidth.enabled = false;
    other.MinimumHeight.enabled = false;
    ASSERT_TRUE(other.Save());
    PropertyBag newer;
    newer.versionMajor = 99;
    newer.versionMinor = 0;
    ASSERT_TRUE(newer.Save(other.GetCacheFilePath()));
    std::vector<uint8_t> newerBytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(other.GetCacheFilePath(), newerBytes));
    server_.SetOk("/other.html", "text/html", "<p>nothing</p>");
    int slowFetches = server_.CountRequests("/slow.jpg");
    {
        testsupport::ScriptedPrompts prompts;
        manager_->Start(&other, DownloadManager::kStartOrResume);
        ASSERT_TRUE(RunUntilIdle());
        ASSERT_EQ(1u, prompts.boxes.size());
        EXPECT_NE(std::string::npos, prompts.boxes[0].text.find(other.GetCacheFilePath() + ".newer"));
    }
    EXPECT_EQ(slowFetches, server_.CountRequests("/slow.jpg"));
    EXPECT_EQ(1, server_.CountRequests("/other.html"));
    std::vector<uint8_t> kept;
    ASSERT_TRUE(testsupport::ReadFileBytes(other.GetCacheFilePath() + ".newer", kept));
    EXPECT_EQ(newerBytes, kept);

    // The first task's resume file held open by another program: the same, and the file keeps
    // its bytes.
    std::vector<uint8_t> before;
    ASSERT_TRUE(testsupport::ReadFileBytes(task_.GetCacheFilePath(), before));
    testsupport::HeldFile holder(task_.GetCacheFilePath());
    ASSERT_TRUE(holder.Held());
    views_.messages.clear();
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    holder.Release();
    EXPECT_EQ(slowFetches, server_.CountRequests("/slow.jpg"));
    ASSERT_EQ(1u, views_.messages.size());
    EXPECT_NE(std::string::npos, views_.messages[0].find("cannot be read"));
    std::vector<uint8_t> after;
    ASSERT_TRUE(testsupport::ReadFileBytes(task_.GetCacheFilePath(), after));
    EXPECT_EQ(before, after);
    manager_.reset();
}

TEST_F(DownloadManagerTest, ADamagedResumeFileResumesEveryWholeEntryItHolds) {
    // A run stopped with sixteen pages queued.
    std::string index;
    for (int i = 0; i < 16; ++i) index += "<a href='p" + std::to_string(i) + ".html'>p</a>";
    server_.SetOk("/index.html", "text/html", index);
    server_.SetStall("/p0.html", 120000);
    settings_->ThreadsAmount = 1;
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(PumpUntil([this] { return server_.CountRequests("/p0.html") > 0 && manager_->Queue().QueueSize() >= 15; }));
    manager_->Stop(0);
    ASSERT_EQ(16u, manager_->Queue().QueuedEntries().size());

    // Its queue list then claims one entry more than it holds, and carries a stray byte.
    PropertyBag bag;
    ASSERT_TRUE(bag.Load(task_.GetCacheFilePath()));
    std::vector<uint8_t> queue;
    ASSERT_TRUE(bag.GetBlob("AvailibleUrls", queue));
    ASSERT_EQ(16, queue[0]);
    queue[0] = 17;
    queue.push_back(0);
    bag.SetBlob("AvailibleUrls", queue);
    ASSERT_TRUE(bag.Save(task_.GetCacheFilePath()));

    // The resume warns of the damage, keeps the copy, and goes on with every page it could read.
    for (int i = 0; i < 16; ++i) server_.SetOk("/p" + std::to_string(i) + ".html", "text/html", "<p>page</p>");
    const int p0Before = server_.CountRequests("/p0.html");
    {
        testsupport::ScriptedPrompts prompts;
        manager_->Start(&task_, DownloadManager::kStartOrResume);
        ASSERT_TRUE(RunUntilIdle());
        ASSERT_EQ(1u, prompts.boxes.size());
        EXPECT_NE(std::string::npos, prompts.boxes[0].text.find(task_.GetCacheFilePath() + ".damaged"));
    }
    EXPECT_TRUE(testsupport::FileExists(task_.GetCacheFilePath() + ".damaged"));
    EXPECT_EQ(1, server_.CountRequests("/index.html")) << "not started over from the start page";
    EXPECT_EQ(p0Before + 1, server_.CountRequests("/p0.html"));
    for (int i = 1; i < 16; ++i) EXPECT_EQ(1, server_.CountRequests("/p" + std::to_string(i) + ".html")) << i;
}

TEST_F(DownloadManagerTest, TheErrorLogNamesTheRealReason) {
    // A port nobody listens on any more: the connection is refused.
    SOCKET probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(0, bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address)));
    int length = sizeof(address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string refused = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/gone.jpg";
    closesocket(probe);

    server_.SetOk("/index.html", "text/html",
                  "<img src='status.jpg'><img src='header.jpg'><img src='cut.jpg'><img src='" + refused + "'>");
    server_.SetRaw("/status.jpg", "HTTP/1.1 abc\r\n\r\n");
    server_.SetRaw("/header.jpg", "HTTP/1.1 200 OK\r\nX-Long: " + std::string(3000, 'h') + "\r\n\r\n");
    server_.SetRaw("/cut.jpg", "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 100\r\n\r\nonly ten..");
    settings_->MaxAttempts = 1;
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    std::map<std::string, std::string> reasons;
    for (size_t i = 0; i < views_.errors.size(); ++i) reasons[views_.errorUrls[i]] = views_.errors[i];
    EXPECT_EQ("NET error: malformed status line", reasons[server_.Url("/status.jpg")]);
    EXPECT_EQ("NET error: malformed or over-long header", reasons[server_.Url("/header.jpg")]);
    EXPECT_EQ("NET error: connection closed before the whole body arrived", reasons[server_.Url("/cut.jpg")]);
    EXPECT_EQ("NET error: connection refused", reasons[refused]);
    const std::string log = ReadFileText(dir_.Path() + "errors.log");
    EXPECT_NE(std::string::npos, log.find("NET error: connection refused\t\tURL: " + refused));
    EXPECT_EQ(std::string::npos, log.find("DNS"));
}

TEST_F(DownloadManagerTest, APictureCutOffByAResetFailsAndIsNotKept) {
    // A third of each picture, then the server resets the connection: with a length and
    // without. An orderly close without a length still ends a whole picture.
    server_.SetOk("/index.html", "text/html", "<img src='nolength.jpg'><img src='length.jpg'><img src='whole.jpg'>");
    const std::string third(10000, 'r');
    server_.SetReset("/nolength.jpg", "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n\r\n" + third);
    server_.SetReset("/length.jpg",
                     "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 30000\r\n\r\n" + third);
    server_.SetRaw("/whole.jpg", "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\n\r\n" + third);
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());

    // Retried as failures are, then given up with an error entry in the view and the log.
    EXPECT_EQ(2, server_.CountRequests("/nolength.jpg"));
    EXPECT_EQ(2, server_.CountRequests("/length.jpg"));
    EXPECT_EQ(2, manager_->ErrorsInRun());
    std::map<std::string, std::string> reasons;
    for (size_t i = 0; i < views_.errors.size(); ++i) reasons[views_.errorUrls[i]] = views_.errors[i];
    EXPECT_EQ("NET error: 10054 connection error", reasons[server_.Url("/nolength.jpg")]);
    EXPECT_EQ("NET error: 10054 connection error", reasons[server_.Url("/length.jpg")]);
    const std::string log = ReadFileText(dir_.Path() + "errors.log");
    EXPECT_NE(std::string::npos, log.find("NET error: 10054 connection error\t\tURL: " + server_.Url("/nolength.jpg")));

    // Neither cut picture is recorded or kept; the whole one is.
    ASSERT_EQ(1, task_.DownloadedImages.GetCount());
    EXPECT_EQ(server_.Url("/whole.jpg"), task_.DownloadedImages.GetAt(0).imageUrl);
    EXPECT_EQ(third, ReadFileText(task_.SaveFolder + "\\127.0.0.1\\whole.jpg"));
    EXPECT_FALSE(testsupport::FileExists(task_.SaveFolder + "\\127.0.0.1\\nolength.jpg"));
    EXPECT_FALSE(testsupport::FileExists(task_.SaveFolder + "\\127.0.0.1\\length.jpg"));
}

TEST_F(DownloadManagerTest, ASaveFolderThatCannotBeMadeEndsTheRunBeforeAnythingIsDownloaded) {
    server_.SetOk("/index.html", "text/html", "<img src='a.jpg'>");
    server_.SetOk("/a.jpg", "image/jpeg", std::string(2000, 'j'));
    // The save folder's place is taken by a file: no folder can be made there.
    const std::string blocker = dir_.Path() + "Blocker";
    ASSERT_TRUE(testsupport::WriteFileText(blocker, "a file, not a folder"));
    task_.SaveFolder = blocker + "\\Pictures";
    task_.ImageSaveType = 0;
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(0, server_.CountRequests("/index.html")) << "nothing is downloaded for nothing";
    EXPECT_EQ(0, server_.CountRequests("/a.jpg"));
    EXPECT_EQ(0, views_.started);
    EXPECT_EQ(0, views_.finished);
    EXPECT_FALSE(task_.Scheduled);
    // One message, naming the folder and the system's reason; the title says the same.
    ASSERT_EQ(1u, views_.messages.size());
    const std::string& message = views_.messages[0];
    EXPECT_EQ(0u, message.find("Task \"Site\" is not started: its pictures cannot be saved in the folder \"" +
                               blocker + "\\Pictures\". " + SystemErrorText(ERROR_ALREADY_EXISTS)))
        << message;
    EXPECT_EQ(message, views_.status);

    // A folder that is merely missing is made, and the run goes on.
    task_.SaveFolder = dir_.Path() + "New\\Deep";
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(1, task_.DownloadedImages.GetCount());
    EXPECT_TRUE(testsupport::FileExists(dir_.Path() + "New\\Deep\\a.jpg"));
    EXPECT_EQ("Task \"Site\" is completed.", views_.messages.back());
}

TEST_F(DownloadManagerTest, PicturesThatCannotBeWrittenSayWhyAndTheRunEndsWithError) {
    server_.SetOk("/index.html", "text/html", "<img src='img/a.jpg'><img src='img/b.jpg'>");
    server_.SetOk("/img/a.jpg", "image/jpeg", std::string(2000, 'a'));
    server_.SetOk("/img/b.jpg", "image/jpeg", std::string(2000, 'b'));
    // The save folder is fine, but the host's folder inside it is taken by a file.
    CreateFolderPath(task_.SaveFolder);
    const std::string hostFolder = task_.SaveFolder + "\\127.0.0.1";
    ASSERT_TRUE(testsupport::WriteFileText(hostFolder, "a file, not a folder"));
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(0, task_.DownloadedImages.GetCount());
    EXPECT_EQ(0, views_.added);
    EXPECT_EQ(2, manager_->ErrorsInRun());
    const std::string reason = SystemErrorText(ERROR_ALREADY_EXISTS);
    ASSERT_EQ(2u, views_.errors.size());
    std::map<std::string, std::string> errors;
    for (size_t i = 0; i < views_.errors.size(); ++i) errors[views_.errorUrls[i]] = views_.errors[i];
    EXPECT_EQ("File error: " + reason + " Cannot write " + hostFolder + "\\img\\a.jpg", errors[server_.Url("/img/a.jpg")]);
    EXPECT_EQ("File error: " + reason + " Cannot write " + hostFolder + "\\img\\b.jpg", errors[server_.Url("/img/b.jpg")]);
    // Every download succeeded, yet the run ends with error: the result names the folder and why.
    EXPECT_EQ(0u, views_.resultText.find("2 picture(s) could not be saved in \"" + hostFolder + "\\img\": " + reason))
        << views_.resultText;
    ASSERT_FALSE(views_.messages.empty());
    EXPECT_EQ("Task \"Site\" is completed with error.", views_.messages.back());
    EXPECT_NE(std::string::npos, ReadFileText(dir_.Path() + "errors.log").find("File error: " + reason + " Cannot write "));
}

TEST_F(DownloadManagerTest, APictureAboveTheMaximumSizeIsSkippedWhateverTheFraming) {
    server_.SetOk("/index.html", "text/html", "<img src='claimed.jpg'><img src='chunked.jpg'>");
    // A length far above the worker's ceiling (maximum size plus 1 MB), and a chunked body that
    // runs past it: both are too large, not broken, so neither is fetched again nor logged.
    server_.SetRaw("/claimed.jpg", "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 50000000\r\n\r\nxyz");
    std::string chunked = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (int i = 0; i < 20; ++i) chunked += "10000\r\n" + std::string(0x10000, 'c') + "\r\n";
    chunked += "0\r\n\r\n";
    server_.SetRaw("/chunked.jpg", chunked);
    task_.MaximumSize.enabled = true;
    task_.MaximumSize.value = 100;
    settings_->MaxAttempts = 3;
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(1, server_.CountRequests("/claimed.jpg"));
    EXPECT_EQ(1, server_.CountRequests("/chunked.jpg"));
    EXPECT_EQ(0, manager_->ErrorsInRun());
    EXPECT_TRUE(views_.errors.empty());
    EXPECT_EQ(0, task_.DownloadedImages.GetCount());
}

TEST_F(DownloadManagerTest, AClaimBeyondWhatAnyDownloadMayBringIsSkippedAndSaysWhy) {
    // No maximum size of the task's own: the program's ceiling turns the claim down before a
    // byte of it is read or reserved, and the user hears why the picture is missing.
    server_.SetOk("/index.html", "text/html", "<img src='huge.jpg'><img src='fine.jpg'>");
    server_.SetRaw("/huge.jpg",
                   "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 99999999999\r\n\r\nxyz");
    server_.SetOk("/fine.jpg", "image/jpeg", std::string(2000, 'f'));
    settings_->MaxAttempts = 3;
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(1, server_.CountRequests("/huge.jpg")) << "fetching it again would end the same way";
    EXPECT_EQ(1, manager_->ErrorsInRun());
    const std::string reason = "NET error: larger than 64 MB, the most one download may bring: skipped";
    ASSERT_EQ(1u, views_.errors.size());
    EXPECT_EQ(reason, views_.errors[0]);
    EXPECT_EQ(server_.Url("/huge.jpg"), views_.errorUrls[0]);
    EXPECT_NE(std::string::npos,
              ReadFileText(dir_.Path() + "errors.log").find(reason + "\t\tURL: " + server_.Url("/huge.jpg")));
    ASSERT_EQ(1, task_.DownloadedImages.GetCount());
    EXPECT_EQ(server_.Url("/fine.jpg"), task_.DownloadedImages.GetAt(0).imageUrl);
    EXPECT_FALSE(testsupport::FileExists(task_.SaveFolder + "\\127.0.0.1\\huge.jpg"));
}

TEST_F(DownloadManagerTest, APageOfTooManyLinksIsCappedWithAMessage) {
    std::string page;
    for (int i = 0; i < 100005; ++i) page += "<a href=p" + std::to_string(i) + ".html>";
    // Its pictures come after all those links, and still are brought home.
    page += "<a href='img/small.jpg'>small</a><img src='img/big.png'>";
    server_.SetOk("/index.html", "text/html", page);
    server_.SetOk("/img/big.png", "image/png", FixtureBytes("big.png"));
    server_.SetOk("/img/small.jpg", "image/jpeg", FixtureBytes("small.jpg"));
    task_.Levels = 0;   // the links are judged, none is fetched
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(1, CappedPageMessages("/index.html"));
    EXPECT_EQ(1, server_.CountRequests("/index.html"));
    EXPECT_EQ(1, server_.CountRequests("/img/big.png"));
    EXPECT_EQ(1, server_.CountRequests("/img/small.jpg"));
    EXPECT_EQ(2, task_.DownloadedImages.GetCount());
}

namespace {
// A task whose handling of a page's links runs out of memory.
class StarvedTask : public SearchLinkTask {
public:
    void FilterFoundLinks(std::vector<std::string>&) override { throw std::bad_alloc(); }
};
}  // namespace

TEST_F(DownloadManagerTest, RunningOutOfMemoryFailsOneDownloadOnly) {
    server_.SetOk("/start.html", "text/html", "<a href='next.html'>n</a>");
    StarvedTask starved;
    starved.TaskName = "Starved";
    StartingAddress start;
    start.Url = server_.Url("/start.html");
    starved.StartingAddresses.push_back(start);
    ASSERT_TRUE(starved.Save());
    manager_->Start(&starved, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(1, manager_->ErrorsInRun());
    ASSERT_EQ(1u, views_.errors.size());
    EXPECT_EQ("out of memory", views_.errors[0]);
    EXPECT_EQ(server_.Url("/start.html"), views_.errorUrls[0]);
    EXPECT_NE(std::string::npos, ReadFileText(dir_.Path() + "errors.log").find("out of memory\t\tURL: " + server_.Url("/start.html")));
    // The manager goes on with the next task.
    ServeSite();
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_GT(task_.DownloadedImages.GetCount(), 0);
}

TEST_F(DownloadManagerTest, RetryRunsFetchOnlyTheListedErrorsAndKeepTheTaskQueueParked) {
    // A first run leaves two errors behind.
    server_.SetOk("/index.html", "text/html", "<img src='e1.jpg'><img src='e2.jpg'><img src='ok.jpg'>");
    server_.SetStatus("/e1.jpg", 404, "Not Found");
    server_.SetStatus("/e2.jpg", 404, "Not Found");
    server_.SetOk("/ok.jpg", "image/jpeg", std::string(3000, 'o'));
    settings_->MaxAttempts = 1;
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    ASSERT_EQ(2u, views_.errorUrls.size());
    EXPECT_EQ(1, task_.DownloadedImages.GetCount());

    // The task's own queue, as a stopped run left it: one address still to fetch.
    {
        UrlQueue saved;
        UrlQueueEntry later;
        later.url = server_.Url("/later.jpg");
        later.referrer = server_.Url("/index.html");
        later.level = 1;
        later.isImage = 1;
        later.extension = ".jpg";
        saved.PushBack(later);
        ASSERT_TRUE(SaveResumeFile(task_.GetCacheFilePath(), saved, 1, nullptr));
    }
    server_.SetOk("/later.jpg", "image/jpeg", std::string(2000, 'l'));

    // Retry every listed error: e1 now answers, e2 still fails. The parked address is not
    // fetched, and goes back into the resume file when the retry run ends.
    server_.SetOk("/e1.jpg", "image/jpeg", std::string(2500, '1'));
    manager_->Start(nullptr, DownloadManager::kRetryAllErrors);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(2, server_.CountRequests("/e1.jpg"));
    EXPECT_EQ(2, server_.CountRequests("/e2.jpg"));
    EXPECT_EQ(0, server_.CountRequests("/later.jpg"));
    EXPECT_EQ(1, server_.CountRequests("/index.html"));
    EXPECT_EQ(2, task_.DownloadedImages.GetCount());
    ASSERT_EQ(1u, views_.errorUrls.size());
    EXPECT_EQ(server_.Url("/e2.jpg"), views_.errorUrls[0]);
    EXPECT_TRUE(task_.Resume);   // the parked work is still to do
    {
        UrlQueue back;
        int32_t images = 0;
        ASSERT_EQ(ResumeLoadResult::Loaded, LoadResumeFile(task_.GetCacheFilePath(), back, images, nullptr));
        EXPECT_TRUE(back.IsQueued(server_.Url("/later.jpg")));
        EXPECT_FALSE(back.IsQueued(server_.Url("/e1.jpg")));
    }

    // Retry the selected error only (the view selects its first entry).
    server_.SetOk("/e2.jpg", "image/jpeg", std::string(2600, '2'));
    manager_->Start(nullptr, DownloadManager::kRetrySelectedError);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(3, server_.CountRequests("/e2.jpg"));
    EXPECT_EQ(2, server_.CountRequests("/e1.jpg"));
    EXPECT_EQ(0, server_.CountRequests("/later.jpg"));
    EXPECT_EQ(3, task_.DownloadedImages.GetCount());
    EXPECT_TRUE(views_.errorUrls.empty());

    // A plain resume takes up the parked address, and only it.
    manager_->Start(nullptr, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(1, server_.CountRequests("/later.jpg"));
    EXPECT_EQ(1, server_.CountRequests("/index.html"));
    EXPECT_EQ(4, task_.DownloadedImages.GetCount());
    EXPECT_FALSE(task_.Resume);

    // With nothing listed a retry run ends at once.
    manager_->Start(nullptr, DownloadManager::kRetryAllErrors);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(1, server_.CountRequests("/index.html"));
}

TEST_F(DownloadManagerTest, PausingLetsPicturesFinishAndStartsNothingNew) {
    server_.SetOk("/index.html", "text/html",
                  "<a href='page.html'>p</a><img src='pic.jpg'><a href='other.html'>o</a>");
    server_.SetStall("/page.html", 20000, "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 5000\r\n\r\n");
    // The picture ends only when the server closes after a while: it is in flight at the pause.
    server_.SetStall("/pic.jpg", 1500,
                     "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nConnection: close\r\n\r\n" +
                         std::string(3000, 'p'));
    server_.SetOk("/other.html", "text/html", "<p>other</p>");
    settings_->ThreadsAmount = 2;
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(PumpUntil([&] { return server_.CountRequests("/page.html") == 1 && server_.CountRequests("/pic.jpg") == 1; }));
    manager_->FinishDownloadingAndPause();
    EXPECT_TRUE(manager_->IsPaused());
    EXPECT_FALSE(manager_->IsIdle());
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(0, server_.CountRequests("/other.html"));
    ASSERT_EQ(1, task_.DownloadedImages.GetCount());
    EXPECT_EQ(3000, task_.DownloadedImages.GetAt(0).fileSize);
    EXPECT_TRUE(views_.lastStopped);
    EXPECT_TRUE(task_.Resume);
    EXPECT_TRUE(manager_->Queue().IsQueued(server_.Url("/page.html")));
    EXPECT_TRUE(manager_->Queue().IsQueued(server_.Url("/other.html")));
    EXPECT_FALSE(views_.messages.empty());
    EXPECT_EQ(RunEnd::kPaused, views_.lastEnd);
    EXPECT_EQ("Task \"Site\" is paused.", views_.messages.back());

    // Resumed: the stopped page and the one never started are fetched, the start page is not.
    server_.SetOk("/page.html", "text/html", "<p>page</p>");
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    EXPECT_FALSE(manager_->IsPaused());
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(1, server_.CountRequests("/other.html"));
    EXPECT_EQ(2, server_.CountRequests("/page.html"));
    EXPECT_EQ(1, server_.CountRequests("/index.html"));
    EXPECT_FALSE(task_.Resume);
    EXPECT_FALSE(views_.lastStopped);
    // Out of work: completed, as ever.
    EXPECT_EQ(RunEnd::kCompleted, views_.lastEnd);
    EXPECT_EQ("Task \"Site\" is completed.", views_.messages.back());
}

TEST_F(DownloadManagerTest, ThePeriodicSaveKeepsWorkInFlight) {
    server_.SetOk("/index.html", "text/html", "<img src='a.jpg'><img src='slow.jpg'>");
    server_.SetOk("/a.jpg", "image/jpeg", std::string(2000, 'a'));
    server_.SetStall("/slow.jpg", 120000);
    settings_->SaveCacheIntervale = 1;
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(PumpUntil([&] { return task_.DownloadedImages.GetCount() == 1 && server_.CountRequests("/slow.jpg") == 1; }));
    // The save timer runs while the task runs (a minute here): its tick is sent at once.
    ASSERT_TRUE(KillTimer(manager_->m_hWnd, DownloadManager::kSaveTimer));
    SendMessageA(manager_->m_hWnd, WM_TIMER, DownloadManager::kSaveTimer, 0);

    // As after a crash now: the files hold the saved picture and the address still in flight.
    SearchLinkTask reloaded;
    ASSERT_TRUE(reloaded.Load(task_.TaskFileName));
    ASSERT_EQ(1, reloaded.DownloadedImages.GetCount());
    EXPECT_EQ(server_.Url("/a.jpg"), reloaded.DownloadedImages.GetAt(0).imageUrl);
    UrlQueue back;
    int32_t images = 0;
    ASSERT_EQ(ResumeLoadResult::Loaded, LoadResumeFile(task_.GetCacheFilePath(), back, images, nullptr));
    EXPECT_TRUE(back.IsQueued(server_.Url("/slow.jpg")));
    EXPECT_EQ(1, images);
    EXPECT_TRUE(back.IsProcessed(server_.Url("/index.html")));
    manager_->Stop(0);
    // Once the run is over the save timer is gone.
    EXPECT_FALSE(KillTimer(manager_->m_hWnd, DownloadManager::kSaveTimer));
}

TEST_F(DownloadManagerTest, AFreedSlotIsFilledAtOnceUnlessThePauseBetweenConnectionsHoldsIt) {
    std::string page = "<html>";
    for (int i = 0; i < 20; ++i) {
        const std::string name = "/img/p" + std::to_string(i) + ".jpg";
        page += "<img src='" + name.substr(1) + "'>";
        server_.SetOk(name, "image/jpeg", FixtureBytes("small.jpg"));
    }
    server_.SetOk("/index.html", "text/html", page + "</html>");
    settings_->ThreadsAmount = 1;
    // A tick that never comes again by itself: the test gives the first one.
    manager_->SetSchedulerPeriod(3600 * 1000);

    // With a pause between connections the slot the page frees waits for the tick.
    settings_->PauseBetweenConnections = 600;
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    SendMessageA(manager_->m_hWnd, WM_TIMER, DownloadManager::kSchedulerTimer, 0);
    ASSERT_TRUE(PumpUntil([&] { return manager_->Queue().QueueSize() >= 20; }));
    ASSERT_EQ(20u, manager_->Queue().QueueSize());   // the page was read: its pictures wait
    EXPECT_EQ(0u, manager_->WorkerCount());
    EXPECT_EQ(1, manager_->SchedulerTicks());
    EXPECT_EQ(1u, server_.Requests().size());
    EXPECT_FALSE(manager_->IsIdle());
    manager_->Stop(0);

    // Without it, each download's end alone starts the next, in the queue's order, until the
    // run ends.
    settings_->PauseBetweenConnections = 0;
    manager_->Start(&task_, DownloadManager::kRestart);
    SendMessageA(manager_->m_hWnd, WM_TIMER, DownloadManager::kSchedulerTimer, 0);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(2, manager_->SchedulerTicks());
    EXPECT_EQ(20, task_.DownloadedImages.GetCount());
    EXPECT_EQ("Task \"Site\" is completed.", views_.messages.back());
    std::vector<std::string> requests = server_.Requests();
    ASSERT_EQ(22u, requests.size());
    EXPECT_EQ(0u, requests[1].find("GET /index.html "));
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(0u, requests[i + 2].find("GET /img/p" + std::to_string(i) + ".jpg ")) << requests[i + 2];
}

TEST_F(DownloadManagerTest, AStopKeepsTheListAndTheDiskInStepWhilePicturesAreBeingWritten) {
    // Pictures are written on pool threads; a stop that comes while some are on their way to
    // the disk must still record each one it stored, so no file is left the task does not know.
    settings_->ThreadsAmount = 8;
    std::string page = "<html>";
    for (int i = 0; i < 120; ++i) {
        const std::string name = "/img/p" + std::to_string(i) + ".jpg";
        page += "<img src='" + name.substr(1) + "'>";
        server_.SetOk(name, "image/jpeg", FixtureBytes("p120x80.jpg") + std::string(static_cast<size_t>(i), 'x'));
    }
    server_.SetOk("/index.html", "text/html", page + "</html>");
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    bool sawWrites = false;
    DWORD begin = GetTickCount();
    while (!manager_->IsIdle() && GetTickCount() - begin < 20000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            if (manager_->PendingWrites() > 0 && task_.DownloadedImages.GetCount() >= 10) sawWrites = true;
            if (sawWrites) break;
        }
        if (sawWrites) {
            manager_->Stop(0);
            break;
        }
    }
    ASSERT_TRUE(manager_->IsIdle() || RunUntilIdle());
    EXPECT_EQ(0u, manager_->PendingWrites());

    std::map<std::string, int32_t> listed;
    for (int i = 0; i < task_.DownloadedImages.GetCount(); ++i)
        listed[task_.DownloadedImages.GetAt(i).localPath] = task_.DownloadedImages.GetAt(i).fileSize;
    const std::string folder = dir_.Path() + "Images\\127.0.0.1\\img\\";
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*.jpg").c_str(), &found);
    int onDisk = 0;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            ++onDisk;
            auto it = listed.find(folder + found.cFileName);
            ASSERT_TRUE(it != listed.end()) << found.cFileName << " is on disk but not listed";
            EXPECT_EQ(static_cast<DWORD>(it->second), found.nFileSizeLow);
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    EXPECT_EQ(static_cast<int>(listed.size()), onDisk);
    EXPECT_EQ(manager_->ImagesDownloaded(), onDisk);
    if (sawWrites) {
        EXPECT_TRUE(task_.Resume);
        EXPECT_LT(onDisk, 120);
    }
}

TEST_F(DownloadManagerTest, EveryByteOfEveryDownloadCountsWhateverOrderTheWorkersEndIn) {
    // Many small pictures at once: workers end while the manager is taking records, and a
    // worker's final record, which carries all of a small picture, must count before it goes.
    settings_->ThreadsAmount = 20;
    int64_t sent = 0;
    auto serve = [this, &sent](const std::string& path, const char* type, const std::string& body) {
        const std::string response = std::string("HTTP/1.1 200 OK\r\nContent-Type: ") + type +
                                     "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
        server_.SetRaw(path, response);
        sent += static_cast<int64_t>(response.size());
    };
    std::string page = "<html>";
    for (int i = 0; i < 150; ++i) {
        const std::string name = "/img/q" + std::to_string(i) + ".jpg";
        page += "<img src='" + name.substr(1) + "'>";
        serve(name, "image/jpeg", FixtureBytes("p120x80.jpg") + std::string(static_cast<size_t>(i), 'x'));
    }
    serve("/index.html", "text/html", page + "</html>");
    manager_->Start(&task_, DownloadManager::kStartOrResume);
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(150, task_.DownloadedImages.GetCount());
    EXPECT_EQ(sent, manager_->LifetimeBytes());
}
