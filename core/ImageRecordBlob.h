#pragma once
// The "DownloadedImages" value of a task's ".downloads" file: u32 record count, then per record
// the page URL, picture URL, local path and file name as counted strings, the file size and the
// two halves of the save time (32 bits each) and, in files newer than version 1.0, the flag byte.
#include <cstdint>
#include <vector>
#include "core/ImageRecord.h"

std::vector<uint8_t> EncodeImageRecords(const ImageRecordList& list);

// True when a ".downloads" file of this version stores the flag byte (versions above 1.0).
bool ImageRecordsHaveFlag(int32_t versionMajor, int32_t versionMinor);

// Appends the records of a blob to list in stored order. Records without a stored flag get 1
// (not new). A blob that ends inside a record, a negative count or bytes left after the last
// record: false, with the records read whole kept; no count or length is trusted beyond the bytes
// that are really there.
bool DecodeImageRecords(const uint8_t* data, size_t size, bool hasFlag, ImageRecordList& list);
