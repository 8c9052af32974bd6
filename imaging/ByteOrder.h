#pragma once
// Numbers stored least significant byte first (pictures, metafiles, the program's own files),
// read from bytes the caller has already made sure are there.
#include <cstdint>

inline uint32_t ReadLittleEndian32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
