#pragma once
// The real main frame with the real picture container and frame dialogs, a task whose pictures
// lie in a scratch folder, and a pump that runs the frame's key filter as the program's loop does.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include "core/Application.h"
#include "core/SearchLinkTask.h"
#include "framework/MessageLoop.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"
#include "ui/MainFrame.h"
#include "ui/pictures/ImagesContainer.h"

namespace picturetest {

// Runs work on the thread that made it, from any thread (SendMessage to a message-only window):
// what the engine's notices do while the window waits for the shell.
class WindowThreadRunner {
public:
    WindowThreadRunner();
    ~WindowThreadRunner();
    void Run(const std::function<void()>& work);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
};

// The shell as a user who says yes: deletes every listed file, and before that can let the
// engine drop a record (as it does when it queues a picture's link again) on the window's thread.
class AcceptingShell : public testsupport::ScriptedPrompts {
public:
    std::vector<std::string> deleted;
    std::function<void()> meanwhile;
    int FileOperation(SHFILEOPSTRUCTA& operation) override {
        if (operation.wFunc != FO_DELETE) return ScriptedPrompts::FileOperation(operation);
        if (meanwhile) windowThread_.Run(meanwhile);
        for (const char* p = operation.pFrom; *p; p += strlen(p) + 1) {
            deleted.push_back(p);
            ::DeleteFileA(p);
        }
        return 0;
    }

private:
    WindowThreadRunner windowThread_;
};

// The shell as a user who answers no to its question: nothing deleted, the operation aborted.
class RefusingShell : public testsupport::ScriptedPrompts {
public:
    int FileOperation(SHFILEOPSTRUCTA& operation) override {
        ScriptedPrompts::FileOperation(operation);
        operation.fAnyOperationsAborted = TRUE;
        return 0;
    }
};

class PicturesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void Pump(DWORD ms = 100);
    // Copies a fixture into the task's save folder (sub-folder may be "") and appends its record.
    void AddPicture(const std::string& fixture, const std::string& subFolder, const std::string& name);
    // Appends `count` records of pictures never written ("n<index>.jpg") as a crawl brings them.
    void AddCrawledRecords(int count);
    std::string RowText(int row, int column);
    HWND List() { return pictures_->ListView().GetListControl(); }
    CThumbnailView& Thumbnails() { return pictures_->ThumbnailView().Control(); }
    int FocusedRow() { return pictures_->ListView().GetFocusedIndex(); }
    void FocusRow(int row);
    void SelectRows(std::initializer_list<int> rows);
    std::string RecordName(int index) { return task_.DownloadedImages.GetAt(index).fileName; }

    testsupport::ScratchDir dir_;
    CMessageLoop loop_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<MainFrame> frame_;
    ImagesContainer* pictures_ = nullptr;
    SearchLinkTask task_;
};

}  // namespace picturetest
