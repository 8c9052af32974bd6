#include "imaging/FileSource.h"

#include <windows.h>

CFileSource::~CFileSource()
{
    Release();
}

int CFileSource::Open(const char* path)
{
    Release();
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD err = GetLastError();
        if (err == ERROR_PATH_NOT_FOUND)
            return 3;
        if (err == ERROR_ACCESS_DENIED || err == ERROR_SHARING_VIOLATION)
            return 5;
        return 4;
    }
    m_hFile = file;
    DWORD high = 0;
    DWORD size = ::GetFileSize(file, &high);
    if (high != 0 || size == INVALID_FILE_SIZE) {
        Release();
        return 5;
    }
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) {
        Release();
        return 5;
    }
    m_hMapping = mapping;
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (!view) {
        Release();
        return 5;
    }
    m_pView = view;
    OpenSource(path, size);
    SetData(static_cast<const uint8_t*>(view));
    return 0;
}

void CFileSource::Release()
{
    if (m_pView) {
        UnmapViewOfFile(m_pView);
        m_pView = nullptr;
    }
    if (m_hMapping) {
        CloseHandle(static_cast<HANDLE>(m_hMapping));
        m_hMapping = nullptr;
    }
    if (m_hFile) {
        CloseHandle(static_cast<HANDLE>(m_hFile));
        m_hFile = nullptr;
    }
    SetData(nullptr);
}

void CFileSource::Close()
{
    Release();
    CDataSource::Close();
}
