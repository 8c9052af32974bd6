#pragma once
// One of the viewer's two places for the picture: the embedded child window or the full-screen
// window. It holds the viewer window that draws the picture, plays the transition effects in
// full screen, and shows a message where there is no picture.
#include <windows.h>
#include <string>
#include "framework/MessageMap.h"
#include "framework/WindowImpl.h"
#include "imaging/IProgressInfo.h"
#include "ui/viewer/IVWindow.h"
#include "ui/viewer/MyIVWindowHandler.h"

class ImageViewer;

class ImageViewerImagePlace : public CWindowImplBase, public IProgressInfo {
public:
    ImageViewerImagePlace(ImageViewer* viewer, bool fullScreen);
    ~ImageViewerImagePlace() override;

    WindowClassInfo GetWindowClassInfo() const override;

    // Shows the viewer's current picture (through an effect when it is time for one), or the
    // message of its load status.
    void Refresh();
    // Lets pending messages run between the steps of an effect; 0 when a close or quit came.
    int OnProgress(double value) override;

    ImageViewer* GetViewer() const { return viewer_; }
    CIVWindow& GetWindow() { return window_; }
    bool IsFullScreenPlace() const { return fullScreen_; }
    const std::string& GetMessageText() const { return message_; }
    int GetEffectCounter() const { return effectCounter_; }
    // The effect file chosen for the last transition (-1: none yet).
    int GetLastEffectIndex() const { return lastEffect_; }
    // How many changes of picture were played as transitions (an effect that could not be had
    // shows the picture at once and is not counted).
    int GetTransitionCount() const { return transitions_; }

    BEGIN_MSG_MAP(ImageViewerImagePlace)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_CONTEXTMENU, OnContextMenu)
        MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnDoubleClick)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSize(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnEraseBackground(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnPaint(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnContextMenu(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDoubleClick(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnClose(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);

    // The effect for the next picture, or none (then mask stays null).
    int ChooseEffect();
    void ShowPicture(const ShownPicture& shown);
    void ShowMessage();
    COLORREF BackgroundColor() const;

    ImageViewer* viewer_;
    bool fullScreen_;
    CIVWindow window_;
    CMyIVWindowHandler handler_;
    int effectCounter_ = 0;
    int lastEffect_ = -1;
    int transitions_ = 0;
    std::string message_;
};
