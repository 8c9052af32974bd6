#pragma once
// Conditions for selecting a task's pictures (kept by the selection dialog for the whole run)
// and the tests the picture container applies to each record.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/PictureHeaderSize.h"

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

// A saved picture's width and height: storedSize is the record's size, imageUrl gives the
// extension for the JPEG rule.
PictureHeaderSize ProbePictureDimensions(const std::string& localPath, int32_t storedSize, const std::string& imageUrl);

bool PassesSizeTest(const PictureCriteria& criteria, int32_t fileSize);
// No rule: passes; a JPEG header that cannot be read: fails.
bool PassesDimensionTest(const PictureCriteria& criteria, const PictureHeaderSize& dimensions);
bool PassesMaskTest(const PictureCriteria& criteria, const std::string& fileName);
// All three tests in order; the file is read only when a dimension bound is switched on.
bool PictureMatches(const PictureCriteria& criteria, const ImageRecord& record);
