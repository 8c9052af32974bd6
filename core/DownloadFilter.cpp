#include "core/DownloadFilter.h"

#include "core/StringHelpers.h"
#include "imaging/ByteOrder.h"
#include "imaging/JpegReadHeader.h"

#include <cstring>

namespace {

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
uint16_t LittleEndian16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

bool IsJpegExtension(const std::string& extension) {
    return EqualsNoCase(extension, ".jpg") || EqualsNoCase(extension, ".jpeg") || EqualsNoCase(extension, ".jpe");
}

std::string LowerPrefix(const std::string& text, size_t limit) {
    std::string out = text.substr(0, limit);
    for (char& c : out) c = ToLowerAscii(c);
    return out;
}

}  // namespace

bool SniffPictureSize(const uint8_t* body, size_t count, const std::string& extension, int32_t& width,
                      int32_t& height) {
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (count > 24 && memcmp(body, kPng, 8) == 0) {
        uint32_t w = BigEndian32(body + 16), h = BigEndian32(body + 20);
        // Values above the signed range cannot pass any limit honestly: clamp, don't wrap.
        width = w > 0x7fffffffu ? 0x7fffffff : static_cast<int32_t>(w);
        height = h > 0x7fffffffu ? 0x7fffffff : static_cast<int32_t>(h);
        return true;
    }
    if (count >= 11 && (memcmp(body, "GIF87a", 6) == 0 || memcmp(body, "GIF89a", 6) == 0)) {
        width = LittleEndian16(body + 6);
        height = LittleEndian16(body + 8);
        return true;
    }
    if (count >= 55 && body[0] == 'B' && body[1] == 'M') {
        width = static_cast<int32_t>(ReadLittleEndian32(body + 18));
        height = static_cast<int32_t>(ReadLittleEndian32(body + 22));
        return true;
    }
    if (IsJpegExtension(extension) && count >= 1) {
        try {
            JpegReadHeader reader;
            reader.DecodeMemory(body, count, nullptr, 0);
            width = reader.GetWidth();
            height = reader.GetHeight();
            return true;
        } catch (...) {
            return false;
        }
    }
    return false;
}

DownloadFilterVerdict RunDownloadFilter(const DownloadFilterLimits& limits, bool isImage,
                                        const std::string& extension, const uint8_t* body, size_t count,
                                        uint64_t contentLength, const std::string& contentType) {
    DownloadFilterVerdict verdict;
    const std::string type = LowerPrefix(contentType, 2047);
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
            int32_t width = 0, height = 0;
            if (SniffPictureSize(body, count, extension, width, height)) {
                if ((limits.minimumWidthOn && width < limits.minimumWidth) ||
                    (limits.minimumHeightOn && height < limits.minimumHeight)) {
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
