#include "ui/viewer/ViewerDecodeWorker.h"

#include <shlwapi.h>
#include <algorithm>
#include <new>
#include <vector>
#include "imaging/AnyPicDecoder.h"
#include "imaging/MemSource.h"
#include "imaging/PictureLimits.h"
#include "imaging/TextException.h"
#include "ui/viewer/ImageViewer.h"
#include "ui/viewer/MyBitmap.h"

ViewerDecodeResult::ViewerDecodeResult() = default;
ViewerDecodeResult::~ViewerDecodeResult() = default;

namespace {

enum ReadOutcome { kRead, kMissing, kTooBig, kUnreadable };

// The whole file, closed again before anything is decoded. Others may delete or rename it
// meanwhile: that only makes this read fail.
ReadOutcome ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return kMissing;
    LARGE_INTEGER length = {};
    ReadOutcome outcome = kRead;
    if (!::GetFileSizeEx(file, &length) || length.QuadPart <= 0) {
        outcome = kUnreadable;
    } else if (static_cast<uint64_t>(length.QuadPart) > kMaxPictureFileBytes) {
        outcome = kTooBig;
    } else {
        try {
            bytes.resize(static_cast<size_t>(length.QuadPart));
        } catch (const std::bad_alloc&) {
            outcome = kTooBig;
        }
        size_t done = 0;
        while (outcome == kRead && done < bytes.size()) {
            const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 16u * 1024u * 1024u));
            DWORD got = 0;
            if (!::ReadFile(file, bytes.data() + done, want, &got, nullptr) || got == 0) outcome = kUnreadable;
            done += got;
        }
    }
    ::CloseHandle(file);
    return outcome;
}

}  // namespace

std::unique_ptr<ViewerDecodeResult> DecodeViewerPicture(const std::string& path, unsigned generation) {
    std::unique_ptr<ViewerDecodeResult> result(new ViewerDecodeResult);
    result->generation = generation;
    if (path.empty() || !::PathFileExistsA(path.c_str()) || ::PathIsDirectoryA(path.c_str())) {
        result->status = kViewerNotFound;
        return result;
    }
    std::vector<uint8_t> bytes;
    const ReadOutcome read = ReadWholeFile(path, bytes);
    if (read != kRead) {
        result->status = read == kMissing ? kViewerNotFound : read == kTooBig ? kViewerTooLarge : kViewerUnknownFormat;
        return result;
    }
    bool tooLarge = false;
    try {
        std::unique_ptr<CMyBitmap> picture(new CMyBitmap);
        {
            CMemSource source;
            // Named after the file: metafiles are told apart by their extension.
            source.Open(path.c_str(), bytes.data(), bytes.size());
            CAnyPicDecoder decoder;
            decoder.DecodeSource(&source, picture.get(), 32);
        }
        std::vector<uint8_t>().swap(bytes);  // the file's bytes go before the section is made
        // A section that cannot be made is a failed load, not a blank picture with a size.
        if (picture->MakeDibSection() > 0) result->picture = std::move(picture);
    } catch (const CTextException& e) {
        // Beyond what one picture may cost (PictureLimits.h), or out of memory for it.
        tooLarge = e.GetCode() == PL_ERRNO_MEMORY;
    } catch (const std::bad_alloc&) {
        tooLarge = true;
    } catch (...) {
    }
    result->status = result->picture ? kViewerShown : tooLarge ? kViewerTooLarge : kViewerUnknownFormat;
    return result;
}

// What the viewer and its thread share. Freed by whichever of the two lets go last, so the
// viewer can go away while a decode still runs.
struct ViewerDecodeWorker::Shared {
    CRITICAL_SECTION lock;
    HANDLE wake = nullptr;  // auto-reset: a request arrived or the viewer closed
    LONG references = 1;
    HWND target = nullptr;
    UINT message = 0;
    bool closed = false;
    bool threadRunning = false;
    bool hasRequest = false;
    bool decoding = false;
    std::string path;
    unsigned generation = 0;
    std::unique_ptr<ViewerDecodeResult> result;
};

ViewerDecodeWorker::~ViewerDecodeWorker() { Close(); }

void ViewerDecodeWorker::Release(Shared* shared) {
    if (::InterlockedDecrement(&shared->references) != 0) return;
    if (shared->wake) ::CloseHandle(shared->wake);
    ::DeleteCriticalSection(&shared->lock);
    delete shared;
}

void ViewerDecodeWorker::SetTarget(HWND window, UINT message) {
    if (!shared_) {
        shared_ = new Shared;
        ::InitializeCriticalSection(&shared_->lock);
        shared_->wake = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    ::EnterCriticalSection(&shared_->lock);
    shared_->target = window;
    shared_->message = message;
    ::LeaveCriticalSection(&shared_->lock);
}

bool ViewerDecodeWorker::Request(const std::string& path, unsigned generation) {
    if (!shared_ || !shared_->wake) return false;
    ::EnterCriticalSection(&shared_->lock);
    shared_->path = path;
    shared_->generation = generation;
    shared_->hasRequest = true;
    shared_->result.reset();  // an older result is of no use any more
    bool started = shared_->threadRunning;
    if (!started) {
        ::InterlockedIncrement(&shared_->references);
        HANDLE thread = ::CreateThread(nullptr, 0, &ThreadMain, shared_, 0, nullptr);
        if (thread) {
            ::CloseHandle(thread);
            shared_->threadRunning = started = true;
        } else {
            ::InterlockedDecrement(&shared_->references);
            shared_->hasRequest = false;
        }
    }
    ::LeaveCriticalSection(&shared_->lock);
    ::SetEvent(shared_->wake);
    return started;
}

std::unique_ptr<ViewerDecodeResult> ViewerDecodeWorker::TakeResult() {
    std::unique_ptr<ViewerDecodeResult> result;
    if (!shared_) return result;
    ::EnterCriticalSection(&shared_->lock);
    result = std::move(shared_->result);
    ::LeaveCriticalSection(&shared_->lock);
    return result;
}

bool ViewerDecodeWorker::IsBusy() {
    if (!shared_) return false;
    ::EnterCriticalSection(&shared_->lock);
    const bool busy = shared_->hasRequest || shared_->decoding || shared_->result != nullptr;
    ::LeaveCriticalSection(&shared_->lock);
    return busy;
}

void ViewerDecodeWorker::Close() {
    if (!shared_) return;
    std::unique_ptr<ViewerDecodeResult> dropped;
    ::EnterCriticalSection(&shared_->lock);
    shared_->closed = true;
    shared_->target = nullptr;
    shared_->hasRequest = false;
    dropped = std::move(shared_->result);
    ::LeaveCriticalSection(&shared_->lock);
    ::SetEvent(shared_->wake);
    Release(shared_);
    shared_ = nullptr;
}

DWORD WINAPI ViewerDecodeWorker::ThreadMain(void* parameter) {
    Shared* shared = static_cast<Shared*>(parameter);
    for (;;) {
        ::EnterCriticalSection(&shared->lock);
        if (shared->closed) break;  // leaves holding the lock
        if (!shared->hasRequest) {
            ::LeaveCriticalSection(&shared->lock);
            // An idle thread ends after a while; the next request starts another.
            if (::WaitForSingleObject(shared->wake, 30000) == WAIT_TIMEOUT) {
                ::EnterCriticalSection(&shared->lock);
                if (!shared->hasRequest || shared->closed) break;
                ::LeaveCriticalSection(&shared->lock);
            }
            continue;
        }
        const std::string path = shared->path;
        const unsigned generation = shared->generation;
        shared->hasRequest = false;
        shared->decoding = true;
        ::LeaveCriticalSection(&shared->lock);

        std::unique_ptr<ViewerDecodeResult> result = DecodeViewerPicture(path, generation);

        ::EnterCriticalSection(&shared->lock);
        shared->decoding = false;
        HWND target = nullptr;
        UINT message = 0;
        // A newer request already waiting makes this result useless.
        if (!shared->closed && !shared->hasRequest) {
            shared->result = std::move(result);
            target = shared->target;
            message = shared->message;
        }
        ::LeaveCriticalSection(&shared->lock);
        if (target) ::PostMessageA(target, message, 0, 0);
        result.reset();  // a dropped result is freed here, off the window's thread
    }
    shared->threadRunning = false;
    ::LeaveCriticalSection(&shared->lock);
    Release(shared);
    return 0;
}
