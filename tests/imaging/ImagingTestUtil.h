#pragma once
// Helpers shared by the image library tests.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/AnyBmp.h"

namespace imgtest {

std::vector<uint8_t> Fixture(const std::string& name);

// Decodes bytes with CAnyPicDecoder; returns the exception code, or 0 on success.
int DecodeBytes(const std::vector<uint8_t>& data, CAnyBmp& bmp, int wantedBpp = 32, std::string* text = nullptr);

// Largest per-channel difference between a 32-bit bitmap and the fixture's reference RGBA
// (<name>.rgba, same size). Alpha is compared only when the bitmap has an alpha channel.
// Returns 1000 when the sizes differ.
int MaxDifferenceToReference(const CAnyBmp& bmp, const std::string& name);

void PutLE16(std::vector<uint8_t>& v, size_t at, uint16_t value);
void PutLE32(std::vector<uint8_t>& v, size_t at, uint32_t value);
void PutBE16(std::vector<uint8_t>& v, size_t at, uint16_t value);
void PutBE32(std::vector<uint8_t>& v, size_t at, uint32_t value);

// A BMP file: 14 + 40 header, palette of paletteEntries (B,G,R,0), then data.
std::vector<uint8_t> MakeBmp(int width, int height, int bitCount, uint32_t compression,
                             const std::vector<uint32_t>& palette, const std::vector<uint8_t>& data);

inline uint8_t R(uint32_t p) { return static_cast<uint8_t>(p >> 16); }
inline uint8_t G(uint32_t p) { return static_cast<uint8_t>(p >> 8); }
inline uint8_t B(uint32_t p) { return static_cast<uint8_t>(p); }
inline uint8_t A(uint32_t p) { return static_cast<uint8_t>(p >> 24); }

}  // namespace imgtest
