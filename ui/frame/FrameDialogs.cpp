#include "ui/frame/FrameDialogs.h"

#include "core/Application.h"
#include "dialogs/monitor/AboutDlg.h"
#include "dialogs/options/OptionsDlg.h"
#include "dialogs/pictures/SelectImagesDlg.h"
#include "dialogs/welcome/WelcomeDlg.h"

FrameDialogs::FrameDialogs(Application* app) : app_(app), selectImages_(new SelectImagesDlg()) {}
FrameDialogs::~FrameDialogs() = default;

void FrameDialogs::ShowOptions(HWND owner) {
    OptionsDlg dialog(app_);
    dialog.DoModal(owner);
}

void FrameDialogs::ShowTipOfTheDay(HWND owner) {
    WelcomeDlg dialog(app_);
    dialog.DoModal(owner);
}

void FrameDialogs::ShowAbout(HWND owner) {
    AboutDlg dialog(app_);
    dialog.DoModal(owner);
}

ISelectImagesDialog* FrameDialogs::GetSelectImagesDialog() { return selectImages_.get(); }
