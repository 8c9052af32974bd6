#pragma once
// Builds the list blobs stored in property bags; the counterpart of BlobReader. All integers are
// written little-endian, field by field, whatever the machine's word size.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class BlobWriter {
public:
    void WriteU8(uint8_t value);
    void WriteU32(uint32_t value);
    void WriteI32(int32_t value);
    void WriteBytes(const void* data, size_t size);
    // u32 (length + 1), the characters, a zero byte.
    void WriteCountedString(const std::string& text);
    // A zero-padded field of fieldSize bytes holding at most fieldSize - 1 characters of text.
    void WriteFixedString(const std::string& text, size_t fieldSize);

    const std::vector<uint8_t>& Bytes() const { return bytes_; }
    const uint8_t* Data() const { return bytes_.data(); }
    uint32_t Size() const { return static_cast<uint32_t>(bytes_.size()); }

private:
    std::vector<uint8_t> bytes_;
};
