#pragma once
// An image list this code made (ImageList_Create, or a control's drag image): destroyed when its
// owner goes. A control it is given to only borrows it, so the owner must outlive the control's
// use of it, or take it back from the control first.
#include <windows.h>
#include <commctrl.h>

class ImageList {
public:
    explicit ImageList(HIMAGELIST images = nullptr) : images_(images) {}
    ~ImageList() { Reset(); }
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;
    // Moved from a function that made the list to its caller, or into a member.
    ImageList(ImageList&& other) noexcept : images_(other.images_) { other.images_ = nullptr; }
    ImageList& operator=(ImageList&& other) noexcept {
        if (this != &other) {
            Reset(other.images_);
            other.images_ = nullptr;
        }
        return *this;
    }
    HIMAGELIST Get() const { return images_; }
    explicit operator bool() const { return images_ != nullptr; }
    void Reset(HIMAGELIST images = nullptr) {
        if (images_) ::ImageList_Destroy(images_);
        images_ = images;
    }

private:
    HIMAGELIST images_;
};
