#include "core/BlobReader.h"

#include <cstring>

#include "imaging/ByteOrder.h"

BlobReader::BlobReader(const void* data, size_t size)
    : data_(static_cast<const uint8_t*>(data)), size_(data ? size : 0)
{
}

BlobReader::BlobReader(const std::vector<uint8_t>& bytes) : BlobReader(bytes.data(), bytes.size()) {}

bool BlobReader::Take(size_t size, const uint8_t*& where)
{
    if (failed_ || size > size_ - pos_) {
        failed_ = true;
        return false;
    }
    where = data_ + pos_;
    pos_ += size;
    return true;
}

bool BlobReader::ReadU8(uint8_t& value)
{
    const uint8_t* p = nullptr;
    if (!Take(1, p))
        return false;
    value = p[0];
    return true;
}

bool BlobReader::ReadU32(uint32_t& value)
{
    const uint8_t* p = nullptr;
    if (!Take(4, p))
        return false;
    value = ReadLittleEndian32(p);
    return true;
}

bool BlobReader::ReadI32(int32_t& value)
{
    uint32_t u = 0;
    if (!ReadU32(u))
        return false;
    value = static_cast<int32_t>(u);
    return true;
}

bool BlobReader::ReadBytes(void* destination, size_t size)
{
    const uint8_t* p = nullptr;
    if (!Take(size, p))
        return false;
    if (size > 0)
        memcpy(destination, p, size);
    return true;
}

bool BlobReader::Skip(size_t size)
{
    const uint8_t* p = nullptr;
    return Take(size, p);
}

bool BlobReader::ReadCount(uint32_t& count, size_t minItemSize)
{
    int32_t stored = 0;
    if (!ReadI32(stored))
        return false;
    count = 0;
    if (stored < 0) {
        failed_ = true;
        return false;
    }
    count = static_cast<uint32_t>(stored);
    if (minItemSize > 0) {
        const size_t fits = Remaining() / minItemSize;
        // One more than fits, so the loop still meets the truncation and reports it.
        if (count > fits)
            count = static_cast<uint32_t>(fits + 1 > 0xFFFFFFFFu ? 0xFFFFFFFFu : fits + 1);
    }
    return true;
}

bool BlobReader::ReadCountedString(std::string& text)
{
    uint32_t length = 0;
    if (!ReadU32(length))
        return false;
    const uint8_t* p = nullptr;
    if (!Take(length, p))
        return false;
    const void* zero = length ? memchr(p, 0, length) : nullptr;
    const size_t used = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - p) : length;
    text.assign(reinterpret_cast<const char*>(p), used);
    return true;
}

bool BlobReader::ReadFixedString(std::string& text, size_t fieldSize)
{
    const uint8_t* p = nullptr;
    if (!Take(fieldSize, p))
        return false;
    const void* zero = fieldSize ? memchr(p, 0, fieldSize) : nullptr;
    const size_t used = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - p) : fieldSize;
    text.assign(reinterpret_cast<const char*>(p), used);
    return true;
}
