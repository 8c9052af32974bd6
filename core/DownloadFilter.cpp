#include "core/DownloadFilter.h"

#include "core/StringHelpers.h"

PictureHeaderSize SniffPictureSize(const uint8_t* body, size_t count, const std::string& extension) {
    return ReadPictureSize(body, count, IsJpegExtension(extension));
}

DownloadFilterVerdict RunDownloadFilter(const DownloadFilterLimits& limits, bool isImage,
                                        const std::string& extension, const uint8_t* body, size_t count,
                                        uint64_t contentLength, const std::string& contentType) {
    DownloadFilterVerdict verdict;
    const std::string type = ToLowerAsciiCopy(contentType.substr(0, 2047));
    const bool typeDecided = !type.empty();
    if (typeDecided) {
        const bool looksLikePage =
            type.find("text/html") != std::string::npos || type.find("javascript") != std::string::npos;
        if (isImage == looksLikePage) {
            verdict.accept = false;
            verdict.decided = true;
            return verdict;
        }
    }

    bool sizeDecided = false;
    bool dimensionsDecided = true;   // not needed counts as decided
    if (isImage) {
        if (contentLength != 0) {
            sizeDecided = true;
            if ((limits.maximumSizeOn && contentLength > uint64_t(int64_t(limits.maximumSize)) * 1024u &&
                 limits.maximumSize >= 0) ||
                (limits.minimumSizeOn && limits.minimumSize > 0 &&
                 contentLength < uint64_t(limits.minimumSize) * 1024u)) {
                verdict.accept = false;
                verdict.decided = true;
                return verdict;
            }
        }
        if (limits.minimumWidthOn || limits.minimumHeightOn) {
            const PictureHeaderSize size = SniffPictureSize(body, count, extension);
            if (size.Known()) {
                if ((limits.minimumWidthOn && size.width < limits.minimumWidth) ||
                    (limits.minimumHeightOn && size.height < limits.minimumHeight)) {
                    verdict.accept = false;
                    verdict.decided = true;
                    return verdict;
                }
                dimensionsDecided = true;
            } else {
                // Formats without a sniffer are not held back once enough bytes are there;
                // a JPEG waits for a readable header however long that takes.
                dimensionsDecided = !IsJpegExtension(extension) && count >= 55;
            }
        }
    }
    verdict.decided = typeDecided || (sizeDecided && dimensionsDecided);
    return verdict;
}
