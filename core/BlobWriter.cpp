#include "core/BlobWriter.h"

void BlobWriter::WriteU8(uint8_t value)
{
    bytes_.push_back(value);
}

void BlobWriter::WriteU32(uint32_t value)
{
    bytes_.push_back(static_cast<uint8_t>(value));
    bytes_.push_back(static_cast<uint8_t>(value >> 8));
    bytes_.push_back(static_cast<uint8_t>(value >> 16));
    bytes_.push_back(static_cast<uint8_t>(value >> 24));
}

void BlobWriter::WriteI32(int32_t value)
{
    WriteU32(static_cast<uint32_t>(value));
}

void BlobWriter::WriteBytes(const void* data, size_t size)
{
    const uint8_t* p = static_cast<const uint8_t*>(data);
    if (size > 0)
        bytes_.insert(bytes_.end(), p, p + size);
}

void BlobWriter::WriteCountedString(const std::string& text)
{
    WriteU32(static_cast<uint32_t>(text.size() + 1));
    WriteBytes(text.data(), text.size());
    WriteU8(0);
}

void BlobWriter::WriteFixedString(const std::string& text, size_t fieldSize)
{
    if (fieldSize == 0)
        return;
    const size_t used = text.size() < fieldSize - 1 ? text.size() : fieldSize - 1;
    WriteBytes(text.data(), used);
    bytes_.insert(bytes_.end(), fieldSize - used, 0);
}
