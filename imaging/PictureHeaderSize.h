#pragma once
// A picture's width and height as its first bytes give them, without decoding it: PNG, GIF and
// BMP are told by their signatures, JPEG only by the address's extension, through its header
// reader. The download filter and the selection by size both measure with this, so the two agree
// on every file.
#include <cstddef>
#include <cstdint>
#include <string>

struct PictureHeaderSize {
    enum class Outcome {
        NoRule,      // no signature matched and the address names no JPEG
        Known,
        Unreadable,  // named a JPEG, but its header cannot be read (yet)
    };
    Outcome outcome = Outcome::NoRule;
    // PNG, GIF and JPEG sizes are unsigned (a PNG's fields may claim up to 0xFFFFFFFF, kept as
    // they are); a BMP's are signed, a negative height stays negative.
    bool isSigned = false;
    int64_t width = 0;
    int64_t height = 0;

    bool Known() const { return outcome == Outcome::Known; }
};

// The most bytes of a picture's start the signature rules read.
const size_t kPictureHeaderBytes = 54;

// ".jpg", ".jpeg" or ".jpe", letter case ignored.
bool IsJpegExtension(const std::string& extension);

// The signature rules alone. header holds the picture's first headerCount bytes (only the first
// kPictureHeaderBytes count; the rest read as zeros); size is how long the picture is known to
// be, which decides whether a rule applies: PNG above 24 bytes, GIF above 10, BMP above 54.
PictureHeaderSize PictureSizeFromSignature(const uint8_t* header, size_t headerCount, int64_t size);

// The JPEG rule over a data source opened on the picture: Unreadable when the header reader
// cannot read its header.
class CDataSource;
PictureHeaderSize ReadJpegHeaderSize(CDataSource* source);

// The first count bytes of a picture in memory (all of it, or what a download brought so far).
// jpegByAddress: the picture's address has a JPEG extension.
PictureHeaderSize ReadPictureSize(const uint8_t* bytes, size_t count, bool jpegByAddress);

// A saved picture whose recorded size is size: its first bytes (zeros where the file is shorter
// or cannot be opened) and, for a JPEG, the header read from the file.
PictureHeaderSize ReadPictureFileSize(const std::string& path, int64_t size, bool jpegByAddress);
