// The road of a page handed over by the browser plug-in: its text on the clipboard, command 217
// posted to the program's window, and the real New Task dialog opening with the page's address;
// accepted, the new task carries the page's cookies.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/taskstree/TreeTestSupport.h"
#include "ui/tasks/TaskOptionsDialogs.h"

namespace {

// Waits on its own thread for the New Task dialog, notes the texts of its edit boxes (pages
// included) and presses OK.
class NewTaskDialogWatcher {
public:
    NewTaskDialogWatcher() { thread_ = ::CreateThread(nullptr, 0, &NewTaskDialogWatcher::Run, this, 0, nullptr); }
    ~NewTaskDialogWatcher() { Join(); }
    const std::vector<std::string>& Edits() {
        Join();
        return edits_;
    }
    bool Found() {
        Join();
        return found_;
    }

private:
    void Join() {
        if (!thread_) return;
        ::WaitForSingleObject(thread_, INFINITE);
        ::CloseHandle(thread_);
        thread_ = nullptr;
    }
    static BOOL CALLBACK CollectEdit(HWND child, LPARAM data) {
        char cls[16] = {}, text[512] = {};
        ::GetClassNameA(child, cls, sizeof(cls));
        if (_stricmp(cls, "Edit") == 0) {
            ::GetWindowTextA(child, text, sizeof(text));
            reinterpret_cast<std::vector<std::string>*>(data)->push_back(text);
        }
        return TRUE;
    }
    static DWORD WINAPI Run(LPVOID self) {
        auto* watcher = static_cast<NewTaskDialogWatcher*>(self);
        for (DWORD begin = ::GetTickCount(); ::GetTickCount() - begin < 15000; ::Sleep(50)) {
            HWND dialog = ::FindWindowA("#32770", "Normal Task Options");
            if (!dialog || !::IsWindowVisible(dialog)) continue;
            ::Sleep(200);  // let its pages load
            ::EnumChildWindows(dialog, &CollectEdit, reinterpret_cast<LPARAM>(&watcher->edits_));
            watcher->found_ = true;
            ::PostMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
            return 0;
        }
        return 0;
    }
    HANDLE thread_ = nullptr;
    std::vector<std::string> edits_;
    bool found_ = false;
};

bool Contains(const std::vector<std::string>& texts, const std::string& wanted) {
    for (const std::string& text : texts)
        if (text == wanted) return true;
    return false;
}

}  // namespace

using treetest::PutClipboardText;
using treetest::TreeTest;

TEST_F(TreeTest, AHandedOverPageOpensTheRealNewTaskDialogWithItsAddressAndCookies) {
    CreateFrame();
    tree_->SetTaskDialogs(std::unique_ptr<ITaskDialogs>(new TaskOptionsDialogs(app_.get(), tree_)));
    PutClipboardText("http://gallery.example.com/cats/\nsid=42; theme=dark");
    NewTaskDialogWatcher watcher;
    ::PostMessageA(frame_->GetNewTaskReceiver(), WM_COMMAND, 217, 0);
    for (DWORD begin = ::GetTickCount(); tree_->Tasks().empty() && ::GetTickCount() - begin < 20000;) Pump(100);
    ASSERT_TRUE(watcher.Found());
    EXPECT_TRUE(Contains(watcher.Edits(), "http://gallery.example.com/cats/"));
    ASSERT_EQ(1u, tree_->Tasks().size());
    TaskOptions* task = tree_->Tasks()[0];
    EXPECT_EQ("http://gallery.example.com/cats/", task->StartingAddresses.at(0).Url);
    EXPECT_EQ("sid=42; theme=dark", task->Cookies);
    EXPECT_EQ("gallery.example.com", task->TaskName);  // named after the page's host
}
