#pragma once
// The viewer's picture load as a job for its decode thread (framework/OneJobThread.h). The file
// is read whole into memory and closed before decoding, so the shown picture can be deleted or
// renamed while it decodes; what the windows draw of it is made on the thread too.
#include <windows.h>
#include <memory>
#include <string>
#include "framework/OneJobThread.h"
#include "ui/viewer/ShownPicture.h"

class CMyBitmap;

struct ViewerDecodeResult {
    std::unique_ptr<CMyBitmap> picture;  // null when the load failed
    ShownPicture shown;                  // what the windows draw of it
    int status = 0;                      // a ViewerLoadStatus
    ViewerDecodeResult();
    ~ViewerDecodeResult();
};

// Reads the whole file (at most kMaxPictureFileBytes), decodes it at 32 bits and makes what the
// windows draw of it (ShownPicture.h).
std::unique_ptr<ViewerDecodeResult> DecodeViewerPicture(const std::string& path);

// How many viewer decodes are going on now, on any thread.
int ViewerDecodesRunning();

class ViewerDecodeJob : public BackgroundJob {
public:
    explicit ViewerDecodeJob(const std::string& file) : path(file) {}
    void Run() override;
    std::string path;
    std::unique_ptr<ViewerDecodeResult> result;
};
