#pragma once
// A picture file read whole into memory and closed again before anything decodes it, so the
// file can be deleted or renamed while a decode runs (on another thread). The read is bounded
// by kMaxPictureFileBytes (PictureLimits.h).
#include <cstdint>
#include <string>
#include <vector>

enum PictureFileRead { kPictureFileRead, kPictureFileMissing, kPictureFileTooLarge, kPictureFileUnreadable };

PictureFileRead ReadPictureFile(const std::string& path, std::vector<uint8_t>& bytes);
