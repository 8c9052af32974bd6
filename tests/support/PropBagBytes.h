#pragma once
// An independent reader and writer of the PROPBAG file layout for the tests, written from the
// format description alone, so golden bytes are not checked against the code under test.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testsupport {

using Bytes = std::vector<uint8_t>;

struct RawBag {
    int32_t major = 2;
    int32_t minor = 0;
    std::map<std::string, Bytes> values;
};

// Whole-file parse; false on any malformation, names out of order or repeated among them.
bool ParseBag(const Bytes& file, RawBag& bag);
Bytes BuildBag(const RawBag& bag);
// The file at `path` read and parsed; a test failure where either cannot be done.
RawBag ReadBag(const std::string& path);

// Little-endian building blocks.
void PutU32(Bytes& b, uint32_t v);
void PutU8(Bytes& b, uint8_t v);
void PutText(Bytes& b, const std::string& s);              // the characters only
void PutCounted(Bytes& b, const std::string& s);           // u32 (len + 1), chars, 0
void PutField(Bytes& b, const std::string& s, size_t width);  // zero-padded
Bytes TextValue(const std::string& s);                      // chars + 0
uint32_t GetU32(const Bytes& b, size_t at);

}  // namespace testsupport
