#pragma once
// The picture views' side of the viewer: the viewer knows no list of pictures, it asks its
// owner to move to another picture, to delete the current one and to toggle full screen.
class IImageViewerListener {
public:
    // Selects the previous picture of the owner's list and calls ImageViewer::SetFile.
    virtual void ShowPrevious() = 0;
    // Selects the next picture and calls SetFile; also each step of the slide show.
    virtual void ShowNext() = 0;
    // Deletes the current picture and shows the one that takes its place.
    virtual void DeleteCurrent() = 0;
    // -1 when the owner has no current picture; else ImageViewer::ToggleFullScreen's result.
    virtual int ToggleFullScreen() = 0;
    // Full screen was left after a slide show or after moving to other pictures there: the
    // picture shown becomes the owner's focused and only selected one, in view and with the
    // keyboard, so the owner's commands act on the picture the user ended on.
    virtual void SelectShown() = 0;

protected:
    ~IImageViewerListener() = default;
};
