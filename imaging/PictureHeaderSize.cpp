#include "imaging/PictureHeaderSize.h"

#include <cstring>

#include "imaging/ByteOrder.h"
#include "imaging/JpegReadHeader.h"
#include "imaging/MemSource.h"

namespace {

PictureHeaderSize Measured(int64_t width, int64_t height, bool isSigned) {
    PictureHeaderSize size;
    size.outcome = PictureHeaderSize::Outcome::Known;
    size.isSigned = isSigned;
    size.width = width;
    size.height = height;
    return size;
}

bool EqualsAsciiNoCase(const std::string& text, const char* other) {
    if (text.size() != strlen(other)) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != other[i]) return false;
    }
    return true;
}

}  // namespace

bool IsJpegExtension(const std::string& extension) {
    return EqualsAsciiNoCase(extension, ".jpg") || EqualsAsciiNoCase(extension, ".jpeg") ||
           EqualsAsciiNoCase(extension, ".jpe");
}

PictureHeaderSize PictureSizeFromSignature(const uint8_t* bytes, size_t headerCount, int64_t size) {
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    uint8_t header[kPictureHeaderBytes] = {};
    if (bytes) memcpy(header, bytes, headerCount < sizeof(header) ? headerCount : sizeof(header));
    if (size > 24 && memcmp(header, kPng, 8) == 0)
        return Measured(ReadBigEndian32(header + 16), ReadBigEndian32(header + 20), false);
    if (size > 10 && (memcmp(header, "GIF87a", 6) == 0 || memcmp(header, "GIF89a", 6) == 0))
        return Measured(ReadLittleEndian16(header + 6), ReadLittleEndian16(header + 8), false);
    if (size > 54 && header[0] == 'B' && header[1] == 'M')
        return Measured(static_cast<int32_t>(ReadLittleEndian32(header + 18)),
                        static_cast<int32_t>(ReadLittleEndian32(header + 22)), true);
    return PictureHeaderSize();
}

PictureHeaderSize ReadJpegHeaderSize(CDataSource* source) {
    try {
        JpegReadHeader reader;
        reader.DecodeSource(source, nullptr, 0);
        return Measured(reader.GetWidth(), reader.GetHeight(), false);
    } catch (...) {
        PictureHeaderSize size;
        size.outcome = PictureHeaderSize::Outcome::Unreadable;
        return size;
    }
}

PictureHeaderSize ReadPictureSize(const uint8_t* bytes, size_t count, bool jpegByAddress) {
    if (!bytes) count = 0;
    const PictureHeaderSize signature = PictureSizeFromSignature(bytes, count, static_cast<int64_t>(count));
    if (signature.Known() || !jpegByAddress || count == 0) return signature;
    CMemSource source;
    PictureHeaderSize size;
    size.outcome = PictureHeaderSize::Outcome::Unreadable;
    if (source.Open(bytes, count) != 0) return size;
    size = ReadJpegHeaderSize(&source);
    source.Close();
    return size;
}
