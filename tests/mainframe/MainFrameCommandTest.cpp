// Commands as a user's clicks and keys send them: their routing, the accelerators and the key
// filter, the toolbar's drop-downs, tips and menu prompts, and the idle update of states.
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include "core/AppDirectory.h"
#include "core/SearchLinkTask.h"
#include "framework/AppModule.h"
#include "resources/command_ids.h"
#include "tests/mainframe/FrameTestSupport.h"

namespace frametest {
namespace {

TEST_F(FrameTest, CommandsGoToPicturesThenTasksThenMonitorThenFrame) {
    HWND frame = *frame_;
    pictures_->takes = {ID_IMAGES_COPY_TO};
    tasks_->takes = {ID_TASK_START, ID_TASK_NEW};
    monitor_->takes = {ID_ERRORS_RELOAD_ALL};

    ::SendMessageA(frame, WM_COMMAND, ID_IMAGES_COPY_TO, 0);
    EXPECT_EQ(std::vector<WORD>{ID_IMAGES_COPY_TO}, pictures_->commands);
    EXPECT_TRUE(tasks_->commands.empty());

    ::SendMessageA(frame, WM_COMMAND, ID_TASK_START, 0);
    EXPECT_EQ(std::vector<WORD>{ID_TASK_START}, tasks_->commands);
    EXPECT_TRUE(monitor_->commands.empty());

    ::SendMessageA(frame, WM_COMMAND, ID_ERRORS_RELOAD_ALL, 0);
    EXPECT_EQ(std::vector<WORD>{ID_ERRORS_RELOAD_ALL}, monitor_->commands);

    // Frame commands are offered to every pane first.
    ::SendMessageA(frame, WM_COMMAND, ID_TOOLS_OPTIONS, 0);
    ::SendMessageA(frame, WM_COMMAND, ID_APP_ABOUT, 0);
    ::SendMessageA(frame, WM_COMMAND, ID_HELP_TIP_OF_THE_DAY, 0);
    EXPECT_EQ(1, dialogs_->options);
    EXPECT_EQ(1, dialogs_->abouts);
    EXPECT_EQ(1, dialogs_->tips);
    EXPECT_EQ(ID_HELP_TIP_OF_THE_DAY, monitor_->commands.back());

    // The "New Task" command the plug-in posts reaches the tasks side.
    ::PostMessageA(frame_->GetNewTaskReceiver(), WM_COMMAND, ID_TASK_NEW, 0);
    ::PostMessageA(frame, WM_COMMAND, ID_TASK_NEW, 0);
    Pump();
    EXPECT_EQ(ID_TASK_NEW, tasks_->commands.back());

    // Exit closes the window without asking.
    testsupport::ScriptedPrompts prompts;
    ::SendMessageA(frame, WM_COMMAND, ID_APP_EXIT, 0);
    Pump();
    EXPECT_FALSE(::IsWindow(frame));
    EXPECT_TRUE(prompts.boxes.empty());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(SettingsPath().c_str())) << "settings saved";
}

TEST_F(FrameTest, HelpMenuOpensLogAndPagesThroughTheShell) {
    testsupport::ScriptedPrompts prompts;
    HWND frame = *frame_;
    const std::string logFile = GetAppDirectory() + "errors.log";
    const bool madeLog = !testsupport::FileExists(logFile) && testsupport::WriteFileText(logFile, "x");
    ::SendMessageA(frame, WM_COMMAND, ID_TOOLS_VIEW_LOG, 0);
    if (madeLog) ::DeleteFileA(logFile.c_str());
    ::SendMessageA(frame, WM_COMMAND, ID_HELP_ONLINE, 0);
    ::SendMessageA(frame, WM_COMMAND, ID_HELP_SUPPORT, 0);
    ::SendMessageA(frame, WM_COMMAND, ID_HELP_EMAIL, 0);
    ASSERT_EQ(4u, prompts.shellCalls.size());
    // Notepad of the Windows folder, never one found first on the search path.
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    EXPECT_EQ(0, lstrcmpiA((std::string(windows) + "\\notepad.exe").c_str(), prompts.shellCalls[0].file.c_str()))
        << prompts.shellCalls[0].file;
    EXPECT_EQ("open", prompts.shellCalls[0].verb);
    const std::string& log = prompts.shellCalls[0].parameters;
    EXPECT_EQ("\"" + logFile + "\"", log);
    EXPECT_EQ(0u, prompts.shellCalls[1].file.find("http"));
    EXPECT_EQ(0u, prompts.shellCalls[2].file.find("http"));
    EXPECT_EQ(0u, prompts.shellCalls[3].file.find("mailto:"));
}

TEST_F(FrameTest, HelpWithoutItsFileSaysWhichFileIsMissingFromKeyToolbarAndMenu) {
    const std::string helpFile = GetAppDirectory() + "Brackenfly.chm";
    ASSERT_FALSE(testsupport::FileExists(helpFile));
    testsupport::ScriptedPrompts prompts;
    prompts.helpOpens = false;
    HWND frame = *frame_;
    ::SetFocus(tasks_->GetWindow());
    PressKey(tasks_->GetWindow(), VK_F1);
    // The toolbar's "?" button, clicked.
    HWND toolBar = MainFrameTestSeam(*frame_).ToolBar();
    const int index = static_cast<int>(::SendMessageA(toolBar, TB_COMMANDTOINDEX, ID_HELP_CONTENTS, 0));
    ASSERT_GE(index, 0);
    RECT button = {};
    ::SendMessageA(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    const LPARAM at = MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    ::SendMessageA(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(toolBar, WM_LBUTTONUP, 0, at);
    Pump(60);
    ::SendMessageA(frame, WM_COMMAND, ID_HELP_CONTENTS, 0);
    ASSERT_EQ(3u, prompts.helpRequests.size());
    ASSERT_EQ(3u, prompts.boxes.size());
    for (const auto& box : prompts.boxes) {
        EXPECT_EQ("The help file \"" + helpFile + "\" was not found.", box.text);
        EXPECT_EQ("Warning", box.caption);
    }

    // The real warning appears and is answered.
    SetUserPrompts(nullptr);
    testsupport::PromptWatcher watcher("Warning", IDOK);
    ::SendMessageA(frame, WM_COMMAND, ID_HELP_CONTENTS, 0);
    EXPECT_TRUE(watcher.Answered());
    EXPECT_NE(std::string::npos, watcher.PromptText().find("Brackenfly.chm"));
    SetUserPrompts(&prompts);
}

TEST_F(FrameTest, AcceleratorsFireButNotIntoAnEditBox) {
    HWND tasks = tasks_->GetWindow();
    ::SetFocus(tasks);
    SetKeyState(VK_CONTROL, true);
    PressKey(tasks, 'S');
    PressKey(tasks, 'A');
    SetKeyState(VK_CONTROL, false);
    PressKey(tasks, VK_ADD);
    EXPECT_EQ((std::vector<WORD>{ID_TASK_START, ID_TASK_PAUSE_ALL, ID_VIEWER_ZOOM_IN}), tasks_->commands);
    EXPECT_EQ((std::vector<WORD>{ID_TASK_START, ID_TASK_PAUSE_ALL, ID_VIEWER_ZOOM_IN}), pictures_->commands);

    // An edit box with the focus gets the keys as text: no zoom, no exit, no pause.
    HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, tasks, nullptr,
                                  g_Module.GetModuleInstance(), nullptr);
    ::SetFocus(edit);
    tasks_->commands.clear();
    pictures_->commands.clear();
    PressKey(edit, VK_ADD);
    PressKey(edit, VK_SPACE);
    SetKeyState(VK_CONTROL, true);
    PressKey(edit, 'X');
    PressKey(edit, 'A');
    SetKeyState(VK_CONTROL, false);
    EXPECT_TRUE(tasks_->commands.empty());
    EXPECT_TRUE(pictures_->commands.empty());
    EXPECT_EQ(0, pictures_->next);
    EXPECT_TRUE(::IsWindow(*frame_));
    char text[32] = {};
    ::GetWindowTextA(edit, text, sizeof(text));
    EXPECT_STREQ("+ ", text);
}

TEST_F(FrameTest, KeyFilterActsOnTheFocusedSideUnlessALabelIsEdited) {
    HWND tasks = tasks_->GetWindow();
    HWND pictures = pictures_->GetWindow();
    ::SetFocus(tasks);
    PressKey(tasks, VK_DELETE);
    EXPECT_EQ(1, tasks_->deletes);
    EXPECT_EQ(0, pictures_->deletes);
    ::SendMessageA(*frame_, WM_COMMAND, ID_EDIT_DELETE_FOCUSED, 0);
    EXPECT_EQ(2, tasks_->deletes);

    ::SetFocus(pictures);
    PressKey(pictures, VK_DELETE);
    EXPECT_EQ(1, pictures_->deletes);
    PressKey(pictures, VK_SPACE);
    PressKey(pictures, VK_BACK);
    PressKey(pictures, VK_RETURN);
    PressKey(pictures, VK_ESCAPE);
    EXPECT_EQ(1, pictures_->next);
    EXPECT_EQ(1, pictures_->previous);
    EXPECT_EQ(1, pictures_->fullScreens);
    EXPECT_EQ(1, pictures_->escapes);

    // Page keys browse in the list view; in the thumbnails only while the viewer window shows.
    PressKey(pictures, VK_NEXT);
    PressKey(pictures, VK_PRIOR);
    EXPECT_EQ(2, pictures_->next);
    EXPECT_EQ(2, pictures_->previous);
    pictures_->listShown = false;
    PressKey(pictures, VK_NEXT);
    EXPECT_EQ(2, pictures_->next);
    pictures_->viewerVisible = true;
    PressKey(pictures, VK_NEXT);
    EXPECT_EQ(3, pictures_->next);

    // While a tree label is edited every key belongs to the edit box.
    tasks_->commands.clear();
    frame_->SetLabelEditing(true);
    ::SetFocus(tasks);
    for (int key : {VK_DELETE, VK_SPACE, VK_BACK, VK_RETURN, VK_ESCAPE, VK_NEXT, VK_PRIOR}) PressKey(tasks, key);
    SetKeyState(VK_CONTROL, true);
    PressKey(tasks, 'S');
    SetKeyState(VK_CONTROL, false);
    frame_->SetLabelEditing(false);
    EXPECT_EQ(2, tasks_->deletes);
    EXPECT_EQ(3, pictures_->next);
    EXPECT_EQ(2, pictures_->previous);
    EXPECT_EQ(1, pictures_->fullScreens);
    EXPECT_EQ(1, pictures_->escapes);
    EXPECT_TRUE(tasks_->commands.empty());
}

TEST_F(FrameTest, MenuPromptsAndToolbarTipsComeFromTheCommandStrings) {
    HWND frame = *frame_;
    HWND status = MainFrameTestSeam(*frame_).StatusBar().m_hWnd;
    ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(ID_TASK_START, MF_STRING),
                   reinterpret_cast<LPARAM>(frame_->GetCommandBar().GetMenu()));
    EXPECT_TRUE(::SendMessageA(status, SB_ISSIMPLE, 0, 0));
    char text[256] = {};
    ::SendMessageA(status, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));  // in simple mode: its text
    EXPECT_STREQ("Start or resume downloading the selected task", text);
    ::SendMessageA(frame, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_FALSE(::SendMessageA(status, SB_ISSIMPLE, 0, 0));

    NMTTDISPINFOA tip = {};
    tip.hdr.hwndFrom = MainFrameTestSeam(*frame_).ToolBar();
    tip.hdr.idFrom = ID_TASK_START;
    tip.hdr.code = TTN_GETDISPINFOA;
    ::SendMessageA(frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    ASSERT_TRUE(tip.lpszText);
    EXPECT_STREQ("Start/Resume Task (Ctrl+S)", tip.lpszText);
    // An id whose string is no command string shows no tip.
    tip.hdr.idFrom = ID_HELP_ONLINE;
    ::SendMessageA(frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    EXPECT_STREQ("", tip.lpszText);
}

TEST_F(FrameTest, IdleAppliesTheUpdateTableToMenuAndToolbar) {
    HWND toolBar = MainFrameTestSeam(*frame_).ToolBar();
    HMENU menu = frame_->GetCommandBar().GetMenu();
    frame_->UIEnable(ID_TASK_START, false);
    frame_->UIEnable(ID_TASK_LOCATE_IMAGES, false);
    frame_->UISetCheck(ID_IMAGES_SHOW_LAST, true);
    EXPECT_TRUE(::SendMessageA(toolBar, TB_ISBUTTONENABLED, ID_TASK_START, 0)) << "not before idle";
    Pump();
    EXPECT_FALSE(::SendMessageA(toolBar, TB_ISBUTTONENABLED, ID_TASK_START, 0));
    EXPECT_TRUE(MenuItemGrayed(menu, ID_TASK_START));
    EXPECT_TRUE(MenuItemGrayed(menu, ID_TASK_LOCATE_IMAGES));
    EXPECT_TRUE(::SendMessageA(toolBar, TB_ISBUTTONCHECKED, ID_IMAGES_SHOW_LAST, 0));
    EXPECT_TRUE(MenuItemChecked(menu, ID_IMAGES_SHOW_LAST));
    frame_->UIEnable(ID_TASK_START, true, true);
    EXPECT_TRUE(::SendMessageA(toolBar, TB_ISBUTTONENABLED, ID_TASK_START, 0)) << "at once when asked";
    EXPECT_FALSE(frame_->UIEnable(4711, true)) << "no entry";
}

// Watches for pop-up menus opening on this thread, notes them and closes them again.
struct PopupWatch {
    static PopupWatch* current;
    HHOOK hook = nullptr;
    std::vector<HMENU> opened;
    PopupWatch() {
        current = this;
        hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~PopupWatch() {
        ::UnhookWindowsHookEx(hook);
        current = nullptr;
    }
    std::vector<UINT> states;  // per item of the first menu: its state flags
    // What to do when the n-th pop-up opens instead of closing it.
    std::vector<std::function<void()>> actions;
    std::vector<std::string> texts;
    static void CALLBACK Close(HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        ::EndMenu();
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_INITMENUPOPUP && current) {
            HMENU menu = reinterpret_cast<HMENU>(message->wParam);
            if (current->opened.empty()) {
                for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
                    current->states.push_back(::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION));
                    char text[128] = {};
                    ::GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof(text) - 1, MF_BYPOSITION);
                    current->texts.push_back(text);
                }
            }
            current->opened.push_back(menu);
            const size_t n = current->opened.size() - 1;
            if (n < current->actions.size()) current->actions[n]();
            else ::SetTimer(nullptr, 0, 50, &Close);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
};
PopupWatch* PopupWatch::current = nullptr;

LRESULT DropDown(HWND frame, HWND toolBar, int id) {
    NMTOOLBARA dropDown = {};
    dropDown.hdr.hwndFrom = toolBar;
    dropDown.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(toolBar));
    dropDown.hdr.code = TBN_DROPDOWN;
    dropDown.iItem = id;
    ::SendMessageA(toolBar, TB_GETRECT, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&dropDown.rcButton));
    return ::SendMessageA(frame, WM_NOTIFY, dropDown.hdr.idFrom, reinterpret_cast<LPARAM>(&dropDown));
}

TEST_F(FrameTest, StartDropDownOffersTheStartModesOfTheSelectedTask) {
    PopupWatch watch;
    // Nothing selected: no menu.
    DropDown(*frame_, MainFrameTestSeam(*frame_).ToolBar(), ID_TASK_START);
    EXPECT_TRUE(watch.opened.empty());

    SearchLinkTask task;
    tasks_->selected = &task;
    DropDown(*frame_, MainFrameTestSeam(*frame_).ToolBar(), ID_TASK_START);
    ASSERT_EQ(1u, watch.opened.size());
    ASSERT_EQ(3u, watch.states.size());
    EXPECT_EQ((std::vector<std::string>{"Start/Resume", "Restart", "Reload images"}), watch.texts);
    EXPECT_FALSE(watch.states[0] & MF_GRAYED);
    EXPECT_FALSE(watch.states[1] & MF_GRAYED);
    EXPECT_TRUE(watch.states[2] & MF_GRAYED) << "no pictures to reload";
    tasks_->selected = nullptr;

    // The view button's arrow offers List and Thumbnail view.
    watch.states.clear();
    watch.texts.clear();
    watch.opened.clear();
    DropDown(*frame_, MainFrameTestSeam(*frame_).ToolBar(), ID_VIEW_CHANGE);
    ASSERT_EQ(1u, watch.opened.size());
    EXPECT_EQ((std::vector<std::string>{"List View", "Thumbnail View"}), watch.texts);
}

TEST_F(FrameTest, CommandBarOpensMenusFromTheKeyboard) {
    CMyCommandBarCtrl& bar = frame_->GetCommandBar();
    HWND target = tasks_->GetWindow();
    ::SetFocus(target);
    // Alt pressed and released alone: the first menu is selected; arrows move; Escape leaves.
    ::PostMessageA(target, WM_SYSKEYDOWN, VK_MENU, 0x20000001);
    ::PostMessageA(target, WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0000001u));
    Pump(60);
    EXPECT_TRUE(bar.IsKeyboardMode());
    EXPECT_EQ(0, bar.GetHotItem());
    PressKey(target, VK_RIGHT);
    EXPECT_EQ(1, bar.GetHotItem());
    PressKey(target, VK_LEFT);
    PressKey(target, VK_LEFT);
    EXPECT_EQ(4, bar.GetHotItem());
    PressKey(target, VK_ESCAPE);
    EXPECT_FALSE(bar.IsKeyboardMode());
    EXPECT_EQ(0, pictures_->escapes) << "the menu bar took Escape";

    // Alt with another key is that key's accelerator, and leaves the menu bar alone.
    SetKeyState(VK_MENU, true);
    ::PostMessageA(target, WM_SYSKEYDOWN, VK_MENU, 0x20000001);
    ::PostMessageA(target, WM_SYSKEYDOWN, VK_F1, 0x20000001);
    Pump(60);
    SetKeyState(VK_MENU, false);
    ::PostMessageA(target, WM_SYSKEYUP, VK_MENU, static_cast<LPARAM>(0xC0000001u));
    Pump(60);
    EXPECT_EQ(1, dialogs_->abouts);
    EXPECT_FALSE(bar.IsKeyboardMode());

    // Alt+V opens the View menu.
    PopupWatch watch;
    ::PostMessageA(target, WM_SYSCHAR, 'v', 0x20000001);
    Pump(300);
    ASSERT_FALSE(watch.opened.empty());
    EXPECT_EQ(::GetSubMenu(bar.GetMenu(), 2), watch.opened.front());

    EXPECT_EQ(2, CCommandBarCtrl::FindMnemonic(bar.ButtonTexts(), 'V'));
    EXPECT_EQ(-1, CCommandBarCtrl::FindMnemonic({"A&&B", "&&C"}, 'B'));
    EXPECT_EQ(1, CCommandBarCtrl::FindMnemonic({"A&&B", "x&c"}, 'C'));
}

TEST_F(FrameTest, OpenMenusMoveOnWithArrowsAndTheMouse) {
    CMyCommandBarCtrl& bar = frame_->GetCommandBar();
    HWND barWindow = bar.m_hWnd;
    HWND frame = *frame_;
    PopupWatch watch;
    // Task menu open: Right moves to Images; there the mouse moves over Help, which opens.
    watch.actions.push_back([frame] { ::PostMessageA(frame, WM_KEYDOWN, VK_RIGHT, 0); });
    watch.actions.push_back([barWindow, frame] {
        RECT help;
        ::SendMessageA(barWindow, TB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&help));
        POINT centre = {(help.left + help.right) / 2, (help.top + help.bottom) / 2};
        ::ClientToScreen(barWindow, &centre);
        ::SetCursorPos(centre.x, centre.y);
        ::PostMessageA(frame, WM_MOUSEMOVE, 0, 0);
    });
    ::SetFocus(tasks_->GetWindow());
    ::PostMessageA(tasks_->GetWindow(), WM_SYSCHAR, 't', 0x20000001);
    // A minute only guards against the menus never opening.
    for (DWORD begin = ::GetTickCount(); (watch.opened.size() < 3 || bar.IsTrackingMenu()) &&
                                         ::GetTickCount() - begin < 60000;)
        Pump(50);
    ASSERT_EQ(3u, watch.opened.size());
    EXPECT_EQ(::GetSubMenu(bar.GetMenu(), 0), watch.opened[0]);
    EXPECT_EQ(::GetSubMenu(bar.GetMenu(), 1), watch.opened[1]);
    EXPECT_EQ(::GetSubMenu(bar.GetMenu(), 4), watch.opened[2]);
    EXPECT_FALSE(bar.IsTrackingMenu());
}

TEST_F(FrameTest, ColourChangesGoToThePicturesFirstAndFocusToTheShownView) {
    ::SendMessageA(*frame_, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(1, pictures_->colorChanges);
    ::SetFocus(tasks_->GetWindow());
    const int before = pictures_->focusRequests;
    ::SetFocus(*frame_);
    EXPECT_GT(pictures_->focusRequests, before);
}

}  // namespace
}  // namespace frametest
