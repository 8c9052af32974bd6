#pragma once
// Bounded reader for the list blobs stored in property bags (settings, task files, picture lists,
// resume files...). Every read checks the bytes that remain first: nothing is read past the end
// of the value, and a count or length is never trusted to size an allocation before the bytes
// it claims are known to be there. After the first failed read every later read fails too, so a
// loader can read a whole record and check once. All integers are little-endian.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class BlobReader {
public:
    BlobReader(const void* data, size_t size);
    explicit BlobReader(const std::vector<uint8_t>& bytes);

    bool ReadU8(uint8_t& value);
    bool ReadU32(uint32_t& value);
    bool ReadI32(int32_t& value);
    bool ReadBytes(void* destination, size_t size);
    bool Skip(size_t size);

    // A list count (stored as 32 bits). A negative count cannot be right: false, count 0, and the
    // reader fails from then on. A count whose items could not fit in the remaining bytes, at
    // minItemSize bytes each, is cut to one more than could fit, so a loop over it reads the items
    // that are there and then meets the end by a failed read, instead of allocating or spinning
    // on a huge number.
    bool ReadCount(uint32_t& count, size_t minItemSize);

    // A counted string: u32 (length + 1), the characters, a zero byte. The text is taken up to
    // its first zero byte inside the stored length.
    bool ReadCountedString(std::string& text);

    // A fixed-width zero-padded text field; the text is taken up to its first zero byte inside
    // the field (all of it when there is none).
    bool ReadFixedString(std::string& text, size_t fieldSize);

    size_t Remaining() const { return failed_ ? 0 : size_ - pos_; }
    size_t Position() const { return pos_; }
    bool AtEnd() const { return pos_ == size_; }
    bool Failed() const { return failed_; }

private:
    bool Take(size_t size, const uint8_t*& where);

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool failed_ = false;
};
