// A saved picture's size: apart from the rest of the reader, since files are read through Windows.
#include "imaging/PictureHeaderSize.h"

#include <windows.h>

#include "imaging/FileSource.h"

PictureHeaderSize ReadPictureFileSize(const std::string& path, int64_t size, bool jpegByAddress) {
    uint8_t header[kPictureHeaderBytes] = {};
    DWORD read = 0;
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        if (!::ReadFile(file, header, sizeof(header), &read, nullptr)) read = 0;
        ::CloseHandle(file);
    }
    const PictureHeaderSize signature = PictureSizeFromSignature(header, read, size);
    if (signature.Known() || !jpegByAddress || size <= 0) return signature;
    CFileSource source;
    PictureHeaderSize measured;
    measured.outcome = PictureHeaderSize::Outcome::Unreadable;
    if (source.Open(path.c_str()) != 0) return measured;
    measured = ReadJpegHeaderSize(&source);
    source.Close();
    return measured;
}
