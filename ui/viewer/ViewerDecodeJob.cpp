#include "ui/viewer/ViewerDecodeJob.h"

#include <shlwapi.h>
#include <new>
#include <vector>
#include "imaging/AnyPicDecoder.h"
#include "imaging/MemSource.h"
#include "imaging/PictureFileReader.h"
#include "imaging/TextException.h"
#include "ui/viewer/ImageViewer.h"
#include "ui/viewer/MyBitmap.h"

ViewerDecodeResult::ViewerDecodeResult() = default;
ViewerDecodeResult::~ViewerDecodeResult() = default;

namespace {
volatile LONG g_decodesRunning = 0;

struct RunningDecode {
    RunningDecode() { ::InterlockedIncrement(&g_decodesRunning); }
    ~RunningDecode() { ::InterlockedDecrement(&g_decodesRunning); }
};
}  // namespace

int ViewerDecodesRunning() { return static_cast<int>(::InterlockedCompareExchange(&g_decodesRunning, 0, 0)); }

std::unique_ptr<ViewerDecodeResult> DecodeViewerPicture(const std::string& path) {
    RunningDecode running;
    std::unique_ptr<ViewerDecodeResult> result(new ViewerDecodeResult);
    if (path.empty() || !::PathFileExistsA(path.c_str()) || ::PathIsDirectoryA(path.c_str())) {
        result->status = kViewerNotFound;
        return result;
    }
    std::vector<uint8_t> bytes;
    const PictureFileRead read = ReadPictureFile(path, bytes);
    if (read != kPictureFileRead) {
        result->status = read == kPictureFileMissing    ? kViewerNotFound
                         : read == kPictureFileTooLarge ? kViewerTooLarge
                                                        : kViewerUnknownFormat;
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
        if (picture->MakeDibSection() > 0) {
            result->shown = MakeShownPicture(*picture, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
            result->picture = std::move(picture);
        }
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
