#pragma once
// What the viewer needs of the main window: the program's settings, its command bar for
// context menus, the way back to the picture view that has the keyboard, and the update-UI
// table of the frame's own commands. The picture container implements it (through its frame).
#include <windows.h>

class ProgramSettings;

class IImageViewerHost {
public:
    virtual ProgramSettings& GetViewerSettings() = 0;
    // Tracks the pop-up menu at the screen point through the main window's command bar; the
    // chosen command goes through the main window's command routing (and so to the viewer).
    virtual void TrackViewerMenu(HMENU popup, UINT flags, int x, int y) = 0;
    // The keyboard focus goes back to the visible picture view (list or thumbnails).
    virtual void FocusPictureView() = 0;
    // Enables or disables a command of the main window's update-UI table.
    virtual void EnableFrameCommand(UINT id, bool enabled) = 0;

protected:
    ~IImageViewerHost() = default;
};
