#include "ui/thumbnails/MyThumbnailChache.h"

#include "ui/thumbnails/ThumbnailPictureLoader.h"

bool CMyThumbnailChache::LoadPicture(const char* path, int* width, int* height, HBITMAP* bitmap) {
    return LoadThumbnailPicture(path, GetCellWidth(), GetCellHeight(), width, height, bitmap);
}

bool CMyThumbnailChache::ReadKeyStamp(const char* path, ThumbnailKeyStamp* stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    stamp->size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp->writeTime = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                       data.ftLastWriteTime.dwLowDateTime;
    return true;
}
