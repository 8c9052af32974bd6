#pragma once
// The frame as a pane tested on its own sees it: records what the pane asks of the frame
// (update-UI states, pop-up menus with their items, focus handed back to the picture view) and
// answers with settings of a scratch program folder, an empty picture container and recording
// download views. No download manager, no progress bar.
#include <windows.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "core/ProgramSettings.h"
#include "tests/support/PlaceholderPieces.h"
#include "tests/support/RecordingViews.h"
#include "ui/frame/IFrameHost.h"

namespace testsupport {

class TestFrameHost : public IFrameHost {
public:
    explicit TestFrameHost(const std::string& programFolder);

    struct MenuItem { UINT id; bool grayed; bool isDefault; };
    std::unique_ptr<ProgramSettings> settings;
    // EnableCommand and CheckCommand calls, in order.
    std::vector<std::pair<UINT, bool>> frameCommands;
    std::vector<std::pair<UINT, bool>> checkedCommands;
    // The items of the last menu tracked through the frame (separators left out).
    std::vector<MenuItem> lastMenu;
    int menusTracked = 0;
    // Times the picture container was asked to give the focus to its shown view.
    int focusCalls = 0;

    HWND GetFrameWindow() const override { return nullptr; }
    void EnableCommand(UINT id, bool enabled, bool) override { frameCommands.push_back({id, enabled}); }
    void CheckCommand(UINT id, bool checked, bool) override { checkedCommands.push_back({id, checked}); }
    BOOL TrackPopupMenu(HMENU popup, UINT flags, int x, int y, const RECT* exclude = nullptr) override;
    void TrackPanePopupMenu(HMENU popup, POINT, HWND) override { RecordMenu(popup); }
    void SetLabelEditing(bool) override {}
    void UpdateQueuePane(bool) override {}
    void ForgetStatusTask() override {}
    void TaskRenamed(TaskOptions*, const std::string&) override {}
    ProgramSettings* GetSettings() override { return settings.get(); }
    DownloadManager* GetDownloadManager() override { return nullptr; }
    IDownloadViews& GetDownloadViews() override { return views_; }
    IPictureContainer* GetImagesContainer() override { return &pictures_; }
    ISelectImagesDialog* GetSelectImagesDlg() override { return &selectImages_; }
    void BeginProgress(int, const char*) override {}
    void StepProgress() override {}
    void EndProgress() override {}

protected:
    void RecordMenu(HMENU popup);

private:
    class CountingPictures : public PlaceholderPictureContainer {
    public:
        explicit CountingPictures(int& focusCalls) : focusCalls_(focusCalls) {}
        void FocusShownView() override { ++focusCalls_; }

    private:
        int& focusCalls_;
    };

    RecordingViews views_;
    CountingPictures pictures_{focusCalls};
    PlaceholderSelectImagesDialog selectImages_;
};

}  // namespace testsupport
