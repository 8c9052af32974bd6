#pragma once
// Conditions for selecting a task's pictures (kept by the selection dialog for the whole run)
// and the tests the picture container applies to each record.
#include <cstdint>
#include <string>
#include <vector>

struct ImageRecord;

struct PictureCriteria {
    bool bySize = false;
    int32_t maxSizeKB = 1000;
    int32_t minSizeKB = 1;
    bool widthLargerOn = false;
    int32_t widthLarger = 100;
    bool heightLargerOn = false;
    int32_t heightLarger = 100;
    bool widthSmallerOn = false;
    int32_t widthSmaller = 1600;
    bool heightSmallerOn = false;
    int32_t heightSmaller = 900;
    std::vector<std::string> masks;
};

// Width and height read from a picture file's header. `known` is false when no format rule
// applies (the dimension test then passes); `failed` when a JPEG header cannot be read.
struct PictureDimensions {
    bool known = false;
    bool failed = false;
    bool isSigned = false;  // BMP sizes compare as signed numbers, the others as unsigned
    int64_t width = 0;
    int64_t height = 0;
};

// The first 54 bytes of the file (zeros where it is shorter or cannot be opened) decide the
// format; storedSize is the record's size, imageUrl gives the extension for the JPEG rule.
PictureDimensions ProbePictureDimensions(const std::string& localPath, int32_t storedSize, const std::string& imageUrl);
PictureDimensions DimensionsFromHeader(const unsigned char header[54], int32_t storedSize);

bool PassesSizeTest(const PictureCriteria& criteria, int32_t fileSize);
bool PassesDimensionTest(const PictureCriteria& criteria, const PictureDimensions& dimensions);
bool PassesMaskTest(const PictureCriteria& criteria, const std::string& fileName);
// All three tests in order; the file is read only when a dimension bound is switched on.
bool PictureMatches(const PictureCriteria& criteria, const ImageRecord& record);
