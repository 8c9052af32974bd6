#include "imaging/PictureFileReader.h"

#include <windows.h>
#include <algorithm>
#include <new>
#include "imaging/PictureLimits.h"

PictureFileRead ReadPictureFile(const std::string& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    // Others may delete or rename the file meanwhile: that only makes this read fail.
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return kPictureFileMissing;
    LARGE_INTEGER length = {};
    PictureFileRead outcome = kPictureFileRead;
    if (!::GetFileSizeEx(file, &length) || length.QuadPart <= 0) {
        outcome = kPictureFileUnreadable;
    } else if (static_cast<uint64_t>(length.QuadPart) > kMaxPictureFileBytes) {
        outcome = kPictureFileTooLarge;
    } else {
        try {
            bytes.resize(static_cast<size_t>(length.QuadPart));
        } catch (const std::bad_alloc&) {
            outcome = kPictureFileTooLarge;
        }
        size_t done = 0;
        while (outcome == kPictureFileRead && done < bytes.size()) {
            const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 16u * 1024u * 1024u));
            DWORD got = 0;
            if (!::ReadFile(file, bytes.data() + done, want, &got, nullptr) || got == 0) outcome = kPictureFileUnreadable;
            done += got;
        }
    }
    ::CloseHandle(file);
    if (outcome != kPictureFileRead) std::vector<uint8_t>().swap(bytes);
    return outcome;
}
