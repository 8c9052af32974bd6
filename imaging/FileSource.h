#pragma once
// Data source over a read-only mapping of a whole file.
#include "imaging/DataSource.h"

class CFileSource : public CDataSource {
public:
    explicit CFileSource(IProgressInfo* progress = nullptr) : CDataSource(progress) {}
    ~CFileSource() override;
    // 0 on success; 3 path not found, 5 access denied / sharing / mapping failure (an empty
    // file included), 4 any other error.
    int Open(const char* path);
    void Close() override;

private:
    void Release();
    void* m_hFile = nullptr;   // HANDLE; kept as void* so the header stays free of windows.h
    void* m_hMapping = nullptr;
    const void* m_pView = nullptr;
};
