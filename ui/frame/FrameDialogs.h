#pragma once
// The dialogs the main frame opens: program options, tip of the day, the about box, and the
// selection of pictures by condition (one object for the run, so its conditions are kept).
#include <memory>
#include "ui/frame/IFrameDialogs.h"

class Application;

class FrameDialogs : public IFrameDialogs {
public:
    explicit FrameDialogs(Application* app);
    ~FrameDialogs() override;
    void ShowOptions(HWND owner) override;
    void ShowTipOfTheDay(HWND owner) override;
    void ShowAbout(HWND owner) override;
    ISelectImagesDialog* GetSelectImagesDialog() override;

private:
    Application* app_;
    std::unique_ptr<ISelectImagesDialog> selectImages_;
};
