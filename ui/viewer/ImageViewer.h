#pragma once
// The pane that shows the picture selected in the picture views: a caption strip with the file
// name and size, the picture in its place, a command toolbar below; a full-screen window, the
// slide show, print, copy, open elsewhere, open the folder and "Set as Wallpaper".
// The viewer knows no list of pictures: its owner (IImageViewerListener) moves between them and
// calls SetFile. What it needs of the main window (settings, the command bar for its menu, the
// update-UI table, the way back to the picture views) comes through the frame (IFrameHost).
#include <windows.h>
#include <commctrl.h>
#include <memory>
#include <string>
#include "framework/HeaderCtrl.h"
#include "framework/ImageList.h"
#include "framework/ThemedClientEdge.h"
#include "framework/ToolBarCtrl.h"
#include "framework/ToolTipCtrl.h"
#include "framework/MessageMap.h"
#include "framework/WindowImpl.h"
#include "resources/command_ids.h"
#include "resources/viewer_ids.h"
#include "ui/viewer/ImageViewerImagePlace.h"
#include "ui/viewer/ViewerDecodeJob.h"
#include "ui/viewer/ViewerPrinter.h"

class CMyBitmap;
class IFrameHost;
class IImageViewerListener;
class ProgramSettings;

// Load status of the shown picture.
enum ViewerLoadStatus { kViewerShown = 0, kViewerNotFound = 1, kViewerUnknownFormat = 2, kViewerTooLarge = 3 };

const UINT_PTR kLoadTimerId = 1;
const UINT_PTR kSlideShowTimerId = 2;
const UINT kLoadDelayMs = 50;
// Posted by the decode thread when a result waits in the worker.
const UINT kViewerDecodedMessage = WM_APP + 17;

class ImageViewer : public CWindowImplBase {
public:
    explicit ImageViewer(IFrameHost* frame = nullptr);
    ~ImageViewer() override;

    WindowClassInfo GetWindowClassInfo() const override;

    // Shows the picture file at path ("" for none). The decode waits 50 ms, so a quick run of
    // calls decodes only the last file, and then runs on the decode thread; the picture shown
    // until then stays, and a result for an earlier path is dropped.
    void SetFile(const std::string& path);
    // 1 when full screen is now shown, 0 when not.
    int ToggleFullScreen();
    void LeaveFullScreen();
    // Opens full screen when needed and steps to the next picture every `seconds` (1..100).
    void StartSlideShow(int seconds);
    bool IsFullScreen() const;
    bool IsSlideShowRunning() const { return slideShow_; }
    const std::string& GetPath() const { return path_; }
    bool IsEffectTime() const;

    void SetListener(IImageViewerListener* listener) { listener_ = listener; }
    // The frame that holds the viewer, when it is known only after the viewer was made.
    void AttachFrame(IFrameHost* frame) { frame_ = frame; }
    IImageViewerListener* GetListener() const { return listener_; }
    CMyBitmap* GetPicture() const { return picture_.get(); }
    // What the places draw of the picture (empty without one).
    const ShownPicture& GetShown() const { return shown_; }
    int GetLoadStatus() const { return status_; }
    // How many files were decoded so far (each deferred load counts once).
    int GetDecodeCount() const { return decodes_; }
    // True from SetFile until its picture (or failure) is shown.
    bool IsLoading() { return loadPending_ || decoder_.IsBusy(); }

    // Carries out a viewer command (ID_VIEWER_PREVIOUS to ID_VIEWER_WALLPAPER); false for any other id. The main window's command
    // routing calls it for the commands of the viewer's context menu.
    bool HandleCommand(UINT id);
    // The context menu IDR_VIEWER_MENU at a screen point, tracked through the host (only with a path).
    void ShowContextMenu(int x, int y);

    // Every prompt belongs to the full-screen window while it is shown, else to the viewer.
    HWND PromptOwner() const;
    ProgramSettings& Settings() const;

    ImageViewerImagePlace& GetEmbeddedPlace() { return embedded_; }
    ImageViewerImagePlace& GetFullScreenPlace() { return fullScreen_; }
    ImageViewerImagePlace& VisiblePlace();
    HWND GetToolbar() const { return toolbar_; }
    HWND GetHeader() const { return header_; }
    std::string GetHeaderText() const;
    ViewerPrinter& GetPrinter() { return printer_; }

    BEGIN_MSG_MAP(ImageViewer)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(kViewerDecodedMessage, OnDecoded)
        MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        MESSAGE_HANDLER(WM_NCPAINT, OnNcPaint)
        MESSAGE_HANDLER(WM_THEMECHANGED, OnThemeChanged)
        COMMAND_RANGE_HANDLER(ID_VIEWER_PREVIOUS, ID_VIEWER_WALLPAPER, OnCommand)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDestroy(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnSize(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnTimer(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnDecoded(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnNotify(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnNcPaint(UINT, WPARAM wParam, LPARAM lParam, BOOL&) { return edge_.OnNcPaint(m_hWnd, wParam, lParam); }
    LRESULT OnThemeChanged(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnCommand(WORD code, WORD id, HWND control, BOOL& handled);

    // ImageViewerToolbar.cpp
    void CreateToolbar();
    void CreateTooltips();
    void CreateHeader();
    void EnableButtons(const UINT* ids, size_t count, bool enabled);
    void EnableAllButtons(bool enabled);
    void EnablePictureButtons(bool enabled);
    void SetHeaderText(const std::string& text);
    void Layout();

    void LoadPicture();
    void ShowResult(std::unique_ptr<ViewerDecodeResult> result);
    void StepSlideShow();
    void StopSlideShow();
    void Zoom(float code);
    // The full-screen window above the frame again, with the keyboard on its picture.
    void BringFullScreenToFront();

    // ImageViewerOutput.cpp
    void Print();
    void CopyTo();
    void SetAsWallpaper();
    void OpenWithShell(const std::string& target);

    IFrameHost* frame_;
    ImageViewerImagePlace embedded_;
    ImageViewerImagePlace fullScreen_;
    CToolBarCtrl toolbar_;
    CToolTipCtrl tooltip_;
    CHeaderCtrl header_;
    ImageList images_;
    ImageList disabledImages_;
    ThemedClientEdge edge_;  // the border of an edit box from the visual theme, when themes are on
    std::unique_ptr<CMyBitmap> picture_;
    ShownPicture shown_;
    std::string path_;
    std::string fileName_;
    std::string folder_;
    int status_ = kViewerShown;
    IImageViewerListener* listener_ = nullptr;
    int slideShowSeconds_ = 5;
    bool slideShow_ = false;
    // Set when another picture was shown while full screen was up.
    bool movedInFullScreen_ = false;
    int decodes_ = 0;
    bool loadPending_ = false;
    unsigned generation_ = 0;  // grows with each SetFile; a result of another one is dropped
    OneJobThread decoder_;
    ViewerPrinter printer_;
};
