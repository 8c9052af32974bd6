#pragma once
// Whether the bytes of a download are worth keeping: content type, size and picture dimensions.
// Runs on partial bodies while a worker still receives (so unwanted downloads are cut short) and
// once more on the whole body.
#include <cstddef>
#include <cstdint>
#include <string>

#include "imaging/PictureHeaderSize.h"

struct DownloadFilterLimits {
    bool minimumWidthOn = false;
    int32_t minimumWidth = 0;      // pixels
    bool minimumHeightOn = false;
    int32_t minimumHeight = 0;
    bool minimumSizeOn = false;
    int32_t minimumSize = 0;       // kilobytes of 1024 bytes
    bool maximumSizeOn = false;
    int32_t maximumSize = 0;
};

struct DownloadFilterVerdict {
    bool accept = true;
    // Nothing that arrives later can change the verdict: the worker stops sending body copies.
    bool decided = false;
};

// contentLength 0 means unknown.
DownloadFilterVerdict RunDownloadFilter(const DownloadFilterLimits& limits, bool isImage,
                                        const std::string& extension, const uint8_t* body, size_t count,
                                        uint64_t contentLength, const std::string& contentType);

// Picture size from the first bytes of a download; extension is the address's, for the JPEG rule.
PictureHeaderSize SniffPictureSize(const uint8_t* body, size_t count, const std::string& extension);
