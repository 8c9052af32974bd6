#pragma once
// The main frame's own windows as tests look at them: the bars, the splitters, the panes, the
// tray record and the language names. The program itself never needs them from outside.
#include <string>
#include <vector>
#include "ui/MainFrame.h"

class MainFrameTestSeam {
public:
    explicit MainFrameTestSeam(MainFrame& frame) : frame_(frame) {}

    HWND ToolBar() const { return frame_.toolBar_; }
    CReBarCtrl& ReBar() const { return frame_.reBar_; }
    CMultiPaneStatusBar& StatusBar() const { return frame_.statusPanes_; }
    CProgressBarCtrl& ProgressBar() const { return frame_.progressBar_; }
    CSplitterWindow& VerticalSplitter() const { return frame_.verticalSplitter_; }
    CSplitterWindow& HorizontalSplitter() const { return frame_.horizontalSplitter_; }
    MyPaneContainer& TasksPane() const { return frame_.tasksPane_; }
    MyPaneContainer& MonitorPane() const { return frame_.monitorPane_; }
    const CTrayIcon& TrayIcon() const { return frame_.tray_; }
    // Language names by command id from MainFrame::kFirstLanguageCommand ("English" first).
    const std::vector<std::string>& LanguageNames() const { return frame_.languageNames_; }

private:
    MainFrame& frame_;
};
