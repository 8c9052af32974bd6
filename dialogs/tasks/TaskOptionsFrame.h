#pragma once
// What both task dialogs share over the options frame: the task, the application, whether
// "Start Now!" is offered, the tasks of the tree for the name check; the tree of pages from a
// table; OK and the third button writing the task file; Cancel; help by the selected page.
// T supplies IDD, a table of pages (kPages, kPageCount), its title string (kTitleId) and the
// handler of its third button.
#include <vector>
#include "core/TaskOptions.h"
#include "core/WindowRoutines.h"
#include "dialogs/options/TVOptionsFrameDlg.h"
#include "dialogs/tasks/TaskOptionsDlgInterface.h"
#include "resources/options_ids.h"
#include "resources/task_options_ids.h"

// One page of a task dialog: its tree title, whether it sits under "Download options", its help
// topic.
struct TaskPageEntry {
    unsigned titleId;
    UINT pageId;
    bool underDownloadOptions;
    const char* helpTopic;
};

template <class T>
class TaskOptionsFrame : public TVOptionsFrameDlg<T, TaskOptions>, public TaskOptionsDlgInterface {
public:
    using Frame = TVOptionsFrameDlg<T, TaskOptions>;

    TaskOptionsFrame(TaskOptions* task, Application* app, bool showStartNow, const std::vector<TaskOptions*>& tasks)
        : Frame(IDC_OPTIONS_TREE, IDC_OPTIONS_PLACEHOLDER), showStartNow_(showStartNow), app_(app), task_(task),
          tasks_(tasks) {}

    TaskOptions* GetTask() override { return task_; }
    Application* GetApplication() override { return app_; }
    const std::vector<TaskOptions*>& GetTaskList() override { return tasks_; }
    std::string FindMatchingProfile() override { return std::string(); }
    bool ValidateProfilePages() override { return true; }
    bool SaveProfileAs(const std::string&) override { return false; }
    void ApplyProfile(const std::string&) override {}
    void OnUrlTemplateShown(bool) override {}

    TaskOptions& GetEditedObject() { return *task_; }
    bool StoreEditedObject() { return task_->Save(); }

    // The tree item of a page, or null.
    HTREEITEM FindTreeItem(UINT pageId) {
        CTreeViewCtrl tree = this->GetTree();
        for (HTREEITEM item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item)) {
            if (tree.GetItemData(item) == static_cast<LPARAM>(pageId)) return item;
            for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child)) {
                if (tree.GetItemData(child) == static_cast<LPARAM>(pageId)) return child;
            }
        }
        return nullptr;
    }

    BEGIN_MSG_MAP(TaskOptionsFrame)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        CHAIN_MSG_MAP(Frame)
        COMMAND_ID_HANDLER(IDOK, OnOk)
        COMMAND_ID_HANDLER(IDC_TASK_START_NOW, OnStartNow)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        COMMAND_ID_HANDLER(IDC_OPTIONS_HELP, OnHelp)
    END_MSG_MAP()

protected:
    // Validates, saves and writes the task; closes with endCode when the file was written.
    void SaveAndClose(int endCode) { this->RunOkSequence(IDS_TASK_SAVE_FAILED, endCode); }

    bool showStartNow_;

private:
    LRESULT OnInitDialog(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
        g_InternationalSupport.TranslateWindow(T::IDD, this->m_hWnd);
        CenterWindowOver(this->m_hWnd, ::GetWindow(this->m_hWnd, GW_OWNER));
        ::SetWindowTextA(this->m_hWnd, LocalText(T::kTitleId).c_str());
        HTREEITEM downloadOptions = TVI_ROOT;
        for (size_t i = 0; i < T::kPageCount; ++i) {
            const TaskPageEntry& page = T::kPages[i];
            HTREEITEM item = this->AddTreeItem(page.titleId, page.pageId, page.underDownloadOptions ? downloadOptions : TVI_ROOT);
            if (page.titleId == IDS_PAGE_DOWNLOAD_OPTIONS) downloadOptions = item;
        }
        CTreeViewCtrl tree = this->GetTree();
        for (HTREEITEM item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item)) tree.Expand(item);
        const LRESULT result = Frame::OnInitDialog(msg, wParam, lParam, handled);
        static_cast<T*>(this)->OnFrameReady();
        ::ShowWindow(::GetDlgItem(this->m_hWnd, IDC_TASK_START_NOW), showStartNow_ ? SW_SHOW : SW_HIDE);
        return result;
    }
    LRESULT OnOk(WORD, WORD, HWND, BOOL&) {
        SaveAndClose(IDOK);
        return 0;
    }
    LRESULT OnStartNow(WORD, WORD, HWND, BOOL&) {
        static_cast<T*>(this)->OnThirdButton();
        return 0;
    }
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
        this->EndDialog(IDCANCEL);
        return 0;
    }
    LRESULT OnHelp(WORD, WORD, HWND, BOOL&) {
        std::vector<OptionsHelpTopic> topics;
        for (size_t i = 0; i < T::kPageCount; ++i) topics.push_back({T::kPages[i].titleId, T::kPages[i].helpTopic});
        this->ShowHelpForSelection(topics);
        return 0;
    }

    Application* app_;
    TaskOptions* task_;
    std::vector<TaskOptions*> tasks_;
};
