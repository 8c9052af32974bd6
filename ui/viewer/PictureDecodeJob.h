#pragma once
// One picture file decoded on a thread of its own, so a large file never holds the window's
// thread: the job posts the window a message when it is done and the window takes the result.
#include <windows.h>
#include <memory>
#include <string>

class CMyBitmap;

class PictureDecodeJob {
public:
    PictureDecodeJob() = default;
    // Waits for a decode still under way.
    ~PictureDecodeJob();
    PictureDecodeJob(const PictureDecodeJob&) = delete;
    PictureDecodeJob& operator=(const PictureDecodeJob&) = delete;

    // Decodes path on a new thread and posts doneMessage to window when done. False when no
    // thread could start (nothing will be posted).
    bool Start(const std::string& path, HWND window, UINT doneMessage);
    const std::string& Path() const { return path_; }
    // Waits for the thread (done by now when its message came) and hands over its result: a
    // ViewerLoadStatus, and the picture when shown.
    int TakeResult(std::unique_ptr<CMyBitmap>& picture);
    // The decode itself, on the caller's thread.
    static int Decode(const std::string& path, std::unique_ptr<CMyBitmap>& picture);

private:
    static DWORD WINAPI Run(void* self);

    std::string path_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    HANDLE thread_ = nullptr;
    int status_ = 0;
    std::unique_ptr<CMyBitmap> picture_;
};
