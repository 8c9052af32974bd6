#include "ui/viewer/ViewerDecodeJob.h"

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

std::unique_ptr<ViewerDecodeResult> DecodeViewerPicture(const std::string& path) {
    std::unique_ptr<ViewerDecodeResult> result(new ViewerDecodeResult);
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

void ViewerDecodeJob::Run() { result = DecodeViewerPicture(path); }
