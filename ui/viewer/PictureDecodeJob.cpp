#include "ui/viewer/PictureDecodeJob.h"

#include <shlwapi.h>

#include "imaging/AnyPicDecoder.h"
#include "ui/viewer/ImageViewer.h"
#include "ui/viewer/MyBitmap.h"

PictureDecodeJob::~PictureDecodeJob() {
    if (!thread_) return;
    ::WaitForSingleObject(thread_, INFINITE);
    ::CloseHandle(thread_);
}

bool PictureDecodeJob::Start(const std::string& path, HWND window, UINT doneMessage) {
    path_ = path;
    window_ = window;
    message_ = doneMessage;
    thread_ = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
    return thread_ != nullptr;
}

DWORD WINAPI PictureDecodeJob::Run(void* self) {
    PictureDecodeJob& job = *static_cast<PictureDecodeJob*>(self);
    job.status_ = Decode(job.path_, job.picture_);
    ::PostMessageA(job.window_, job.message_, 0, 0);
    return 0;
}

int PictureDecodeJob::TakeResult(std::unique_ptr<CMyBitmap>& picture) {
    if (thread_) {
        ::WaitForSingleObject(thread_, INFINITE);
        ::CloseHandle(thread_);
        thread_ = nullptr;
    }
    picture = std::move(picture_);
    return status_;
}

int PictureDecodeJob::Decode(const std::string& path, std::unique_ptr<CMyBitmap>& picture) {
    picture.reset();
    if (!::PathFileExistsA(path.c_str()) || ::PathIsDirectoryA(path.c_str())) return kViewerNotFound;
    std::unique_ptr<CMyBitmap> decoded(new CMyBitmap);
    try {
        CAnyPicDecoder decoder;
        decoder.DecodeFile(path.c_str(), decoded.get(), 32);
        // A section that cannot be made is a failed load, not a blank picture with a size.
        if (decoded->MakeDibSection() > 0) picture = std::move(decoded);
    } catch (...) {
    }
    return picture ? kViewerShown : kViewerUnknownFormat;
}
