#include "dialogs/pictures/PictureCriteria.h"

#include <windows.h>
#include <cstring>
#include "core/ImageRecord.h"
#include "imaging/ByteOrder.h"
#include "core/UrlHelpers.h"
#include "core/WildcardMatch.h"
#include "imaging/JpegReadHeader.h"

namespace {

uint32_t BigEndian32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
uint32_t LittleEndian16(const unsigned char* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8); }

void ReadHeader(const std::string& path, unsigned char header[54]) {
    memset(header, 0, 54);
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD read = 0;
    ::ReadFile(file, header, 54, &read, nullptr);
    ::CloseHandle(file);
}

bool IsJpegExtension(const std::string& url) {
    const std::string extension = GetUrlFileExtension(url);
    return _stricmp(extension.c_str(), ".jpg") == 0 || _stricmp(extension.c_str(), ".jpeg") == 0 ||
           _stricmp(extension.c_str(), ".jpe") == 0;
}

}  // namespace

PictureDimensions DimensionsFromHeader(const unsigned char header[54], int32_t storedSize) {
    static const unsigned char kPng[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
    PictureDimensions result;
    if (storedSize > 24 && memcmp(header, kPng, 8) == 0) {
        result.known = true;
        result.width = BigEndian32(header + 16);
        result.height = BigEndian32(header + 20);
    } else if (storedSize > 10 && (memcmp(header, "GIF87a", 6) == 0 || memcmp(header, "GIF89a", 6) == 0)) {
        result.known = true;
        result.width = LittleEndian16(header + 6);
        result.height = LittleEndian16(header + 8);
    } else if (storedSize > 54 && header[0] == 'B' && header[1] == 'M') {
        result.known = true;
        result.isSigned = true;
        result.width = static_cast<int32_t>(ReadLittleEndian32(header + 18));
        result.height = static_cast<int32_t>(ReadLittleEndian32(header + 22));
    }
    return result;
}

PictureDimensions ProbePictureDimensions(const std::string& localPath, int32_t storedSize, const std::string& imageUrl) {
    unsigned char header[54];
    ReadHeader(localPath, header);
    PictureDimensions result = DimensionsFromHeader(header, storedSize);
    if (result.known || storedSize <= 0 || !IsJpegExtension(imageUrl)) return result;
    try {
        JpegReadHeader reader;
        reader.DecodeFile(localPath.c_str(), nullptr, 0);
        result.known = true;
        result.width = reader.GetWidth();
        result.height = reader.GetHeight();
    } catch (...) {
        result.failed = true;
    }
    return result;
}

bool PassesSizeTest(const PictureCriteria& criteria, int32_t fileSize) {
    if (!criteria.bySize) return true;
    // KB bounds times 1000 overflow 32 bits from about 2.1 million KB on.
    const int64_t minimum = int64_t(criteria.minSizeKB) * 1000;
    const int64_t maximum = int64_t(criteria.maxSizeKB) * 1000;
    return fileSize >= minimum && fileSize <= maximum;
}

bool PassesDimensionTest(const PictureCriteria& criteria, const PictureDimensions& dimensions) {
    if (!criteria.widthLargerOn && !criteria.heightLargerOn && !criteria.widthSmallerOn && !criteria.heightSmallerOn)
        return true;
    if (dimensions.failed) return false;
    if (!dimensions.known) return true;
    // Unsigned sizes are compared against the bounds as unsigned numbers: a negative bound
    // then counts as a huge one, as an unsigned comparison would have it.
    auto bound = [&](int32_t value) -> int64_t {
        return dimensions.isSigned ? int64_t(value) : int64_t(static_cast<uint32_t>(value));
    };
    if (criteria.widthLargerOn && dimensions.width < bound(criteria.widthLarger)) return false;
    if (criteria.heightLargerOn && dimensions.height < bound(criteria.heightLarger)) return false;
    if (criteria.widthSmallerOn && dimensions.width > bound(criteria.widthSmaller)) return false;
    if (criteria.heightSmallerOn && dimensions.height > bound(criteria.heightSmaller)) return false;
    return true;
}

bool PassesMaskTest(const PictureCriteria& criteria, const std::string& fileName) {
    if (criteria.masks.empty()) return true;
    for (const std::string& mask : criteria.masks)
        if (WildcardMatch(fileName, mask, false)) return true;
    return false;
}

bool PictureMatches(const PictureCriteria& criteria, const ImageRecord& record) {
    if (!PassesSizeTest(criteria, record.fileSize)) return false;
    const bool anyDimension = criteria.widthLargerOn || criteria.heightLargerOn || criteria.widthSmallerOn ||
                              criteria.heightSmallerOn;
    if (anyDimension &&
        !PassesDimensionTest(criteria, ProbePictureDimensions(record.localPath, record.fileSize, record.imageUrl)))
        return false;
    return PassesMaskTest(criteria, record.fileName);
}
