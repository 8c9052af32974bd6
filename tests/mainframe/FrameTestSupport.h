#pragma once
// The real main frame in the virtual display, built with recording panes and dialogs in place of
// the ones other windows will supply, and a message pump that runs the frame's key filter and
// idle step as the program's loop does.
#include <gtest/gtest.h>
#include <windows.h>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include "core/Application.h"
#include "core/ProgramSettings.h"
#include "framework/MessageLoop.h"
#include "ui/MainFrame.h"
#include "tests/support/MainFrameTestSeam.h"
#include "tests/support/PlaceholderPieces.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"

namespace frametest {

struct FakeTasksPane : ITasksPane {
    EmptyPaneWindow window;
    std::vector<WORD> commands;
    std::set<WORD> takes;
    int pending = 0;
    int deletes = 0;
    int saves = 0;
    TaskOptions* selected = nullptr;
    bool failCreation = false;   // the pane's window cannot be made
    IFrameHost* frame = nullptr;

    void AttachFrame(IFrameHost* host) override { frame = host; }
    HWND CreatePane(HWND parent) override { return failCreation ? nullptr : window.CreateEmpty(parent); }
    HWND GetWindow() const override { return window.m_hWnd; }
    bool HandleCommand(WORD id, WORD, HWND) override {
        commands.push_back(id);
        return takes.count(id) != 0;
    }
    int GetPendingCount() const override { return pending; }
    bool HasFocus() const override;
    void DeleteSelected() override { ++deletes; }
    TaskOptions* GetSelectedTask() const override { return selected; }
    HWND GetNewTaskReceiver() const override { return window.m_hWnd; }
    void SaveAll() override { ++saves; }
    ITasksTreeView* GetDownloadView() override { return nullptr; }
};

struct FakePictureContainer : IPictureContainer {
    EmptyPaneWindow window;
    std::vector<WORD> commands;
    std::set<WORD> takes;
    int next = 0, previous = 0, escapes = 0, fullScreens = 0, deletes = 0, colorChanges = 0, focusRequests = 0;
    bool listShown = true;
    bool viewerVisible = false;
    IFrameHost* frame = nullptr;

    void AttachFrame(IFrameHost* host) override { frame = host; }
    HWND CreatePane(HWND parent) override { return window.CreateEmpty(parent); }
    HWND GetWindow() const override { return window.m_hWnd; }
    bool HandleCommand(WORD id, WORD, HWND) override {
        commands.push_back(id);
        return takes.count(id) != 0;
    }
    bool HandleColorChange(UINT, WPARAM, LPARAM) override {
        ++colorChanges;
        return true;
    }
    bool HasFocus() const override;
    void FocusShownView() override { ++focusRequests; }
    void DeleteSelected() override { ++deletes; }
    void OnEscape() override { ++escapes; }
    void ShowNext() override { ++next; }
    void ShowPrevious() override { ++previous; }
    void ToggleFullScreen() override { ++fullScreens; }
    bool IsListViewShown() const override { return listShown; }
    bool IsViewerWindowVisible() const override { return viewerVisible; }
    IImagesView* GetDownloadView() override { return nullptr; }
};

struct FakeMonitorViews : IMonitorViews {
    std::vector<WORD> commands;
    std::set<WORD> takes;
    HWND CreateViews(HWND pane, DownloadManager& manager) override { return manager.CreateManagerWindow(pane); }
    bool HandleCommand(WORD id, WORD, HWND) override {
        commands.push_back(id);
        return takes.count(id) != 0;
    }
    IMessagesView* GetMessagesView() override { return nullptr; }
    IErrorsView* GetErrorsView() override { return nullptr; }
    IDownloadStatView* GetStatView() override { return nullptr; }
    IDownloadGraphView* GetGraphView() override { return nullptr; }
};

struct FakeDialogs : IFrameDialogs {
    int options = 0, tips = 0, abouts = 0;
    PlaceholderSelectImagesDialog select;
    void ShowOptions(HWND) override { ++options; }
    void ShowTipOfTheDay(HWND) override { ++tips; }
    void ShowAbout(HWND) override { ++abouts; }
    ISelectImagesDialog* GetSelectImagesDialog() override { return &select; }
};

// Runs posted and sent messages through the frame's filter, then one idle step.
// Notes, when a pop-up menu opens on this thread, which window it reports to and which window is
// in front; then picks its first item (pickFirst) or leaves it with Escape, as a user's keys do.
class MenuOpening {
public:
    explicit MenuOpening(bool pickFirst);
    ~MenuOpening();
    MenuOpening(const MenuOpening&) = delete;
    MenuOpening& operator=(const MenuOpening&) = delete;
    HWND owner = nullptr;
    HWND foreground = nullptr;
    int opened = 0;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static MenuOpening* current_;
    HHOOK hook_ = nullptr;
    bool pickFirst_;
};

void Pump(CMessageLoop& loop, DWORD ms = 150);
// Sets or clears a key in this thread's keyboard state (what accelerators read).
void SetKeyState(int virtualKey, bool down);
std::string SettingsPath();
std::string MenuItemText(HMENU menu, UINT id);
bool MenuItemChecked(HMENU menu, UINT id);
bool MenuItemGrayed(HMENU menu, UINT id);

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void CreateFrame();
    void DestroyFrame();
    void Pump(DWORD ms = 150) { frametest::Pump(loop_, ms); }
    // A key press posted to `target` and pumped through the loop.
    void PressKey(HWND target, int virtualKey);
    RECT WindowRectIn(HWND window, HWND parent) const;

    CMessageLoop loop_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<MainFrame> frame_;
    FakeTasksPane* tasks_ = nullptr;
    FakePictureContainer* pictures_ = nullptr;
    FakeMonitorViews* monitor_ = nullptr;
    FakeDialogs* dialogs_ = nullptr;
};

}  // namespace frametest
