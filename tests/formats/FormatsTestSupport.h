#pragma once
// Shared pieces of the format tests: reference pictures (netpbm P5/P6/P7), decoding through
// CAnyPicDecoder, pixel comparison and little builders of hand-made files.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/AnyBmp.h"
#include "imaging/PicDecoder.h"

namespace formats_test {

struct RefPicture {
    int width = 0;
    int height = 0;
    int channels = 0;  // 1 grey, 3 RGB, 4 RGBA
    std::vector<uint8_t> data;
    uint8_t At(int x, int y, int c) const { return data[(static_cast<size_t>(y) * width + x) * channels + c]; }
};

// Reads a binary PGM, PPM or PAM (maxval 255) from the test data folder.
RefPicture LoadReference(const std::string& name);

// Decodes a file of the test data folder at 32 bits per pixel.
void DecodeTestFile(const std::string& name, CAnyBmp& bmp);

// Decodes bytes from memory at 32 bits per pixel; returns the exception code, 0 on success.
int DecodeBytes(const std::vector<uint8_t>& bytes, CAnyBmp& bmp, int wantedBpp = 32);

// The same through one format's decoder (no format detection).
int DecodeBytesWith(CPicDecoder& decoder, const std::vector<uint8_t>& bytes, CAnyBmp& bmp, int wantedBpp = 32);

// Compares every pixel with the reference (grey references compare all three colours);
// alpha only when the reference has it. Returns "" or a description of the first difference.
std::string ComparePixels(const CAnyBmp& bmp, const RefPicture& ref, int tolerance = 0);

uint8_t RedAt(const CBmp& bmp, int x, int y);
uint8_t GreenAt(const CBmp& bmp, int x, int y);
uint8_t BlueAt(const CBmp& bmp, int x, int y);
uint8_t AlphaAt(const CBmp& bmp, int x, int y);

// Appends numbers in the given byte order.
void PutLE16(std::vector<uint8_t>& out, unsigned v);
void PutLE32(std::vector<uint8_t>& out, uint32_t v);
void PutBE16(std::vector<uint8_t>& out, unsigned v);
void PutBE32(std::vector<uint8_t>& out, uint32_t v);
void PutBytes(std::vector<uint8_t>& out, std::initializer_list<int> bytes);

}  // namespace formats_test
