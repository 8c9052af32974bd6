#pragma once
// The viewer's picture decoding on a thread of its own, so a picture that takes seconds never
// stops the window. One decode runs at a time; a newer request supersedes the waiting one, and
// the result of a superseded decode is dropped when it arrives. The file is read whole into
// memory first and closed before decoding, so the shown picture can be deleted or renamed while
// it decodes. The finished result waits in the worker and the window is told by a posted
// message (which carries nothing to free, so a message lost with a destroyed window leaks
// nothing).
#include <windows.h>
#include <memory>
#include <string>

class CMyBitmap;

struct ViewerDecodeResult {
    unsigned generation = 0;
    std::unique_ptr<CMyBitmap> picture;  // null when the load failed
    int status = 0;                      // a ViewerLoadStatus
    ViewerDecodeResult();
    ~ViewerDecodeResult();
};

class ViewerDecodeWorker {
public:
    ViewerDecodeWorker() = default;
    ~ViewerDecodeWorker();
    ViewerDecodeWorker(const ViewerDecodeWorker&) = delete;
    ViewerDecodeWorker& operator=(const ViewerDecodeWorker&) = delete;

    // The window told by `message` when a result is ready. Call before the first request.
    void SetTarget(HWND window, UINT message);
    // Decodes path; its result carries generation. Replaces a request not yet started.
    // False when no thread could be started.
    bool Request(const std::string& path, unsigned generation);
    // The finished result, or null; the caller compares its generation with its own.
    std::unique_ptr<ViewerDecodeResult> TakeResult();
    // True while a request waits, runs, or its result has not been taken.
    bool IsBusy();
    // Forgets the target and any result; the thread ends after its current decode, on its
    // own, without touching this object (it shares only a block it frees last).
    void Close();

private:
    struct Shared;
    static DWORD WINAPI ThreadMain(void* parameter);
    static void Release(Shared* shared);
    Shared* shared_ = nullptr;
};

// Reads the whole file (at most maxBytes) and decodes it at 32 bits into a DIB section.
// Exposed for the worker and for tests of the status it gives.
std::unique_ptr<ViewerDecodeResult> DecodeViewerPicture(const std::string& path, unsigned generation);
