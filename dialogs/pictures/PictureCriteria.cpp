#include "dialogs/pictures/PictureCriteria.h"

#include "core/ImageRecord.h"
#include "core/UrlHelpers.h"
#include "core/WildcardMatch.h"

PictureHeaderSize ProbePictureDimensions(const std::string& localPath, int32_t storedSize, const std::string& imageUrl) {
    return ReadPictureFileSize(localPath, storedSize, IsJpegExtension(GetUrlFileExtension(imageUrl)));
}

bool PassesSizeTest(const PictureCriteria& criteria, int32_t fileSize) {
    if (!criteria.bySize) return true;
    // KB bounds times 1000 overflow 32 bits from about 2.1 million KB on.
    const int64_t minimum = int64_t(criteria.minSizeKB) * 1000;
    const int64_t maximum = int64_t(criteria.maxSizeKB) * 1000;
    return fileSize >= minimum && fileSize <= maximum;
}

bool PassesDimensionTest(const PictureCriteria& criteria, const PictureHeaderSize& dimensions) {
    if (!criteria.widthLargerOn && !criteria.heightLargerOn && !criteria.widthSmallerOn && !criteria.heightSmallerOn)
        return true;
    if (dimensions.outcome == PictureHeaderSize::Outcome::Unreadable) return false;
    if (!dimensions.Known()) return true;
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
