#pragma once
// Data source over a memory block that stays the caller's.
#include "imaging/DataSource.h"

class CMemSource : public CDataSource {
public:
    explicit CMemSource(IProgressInfo* progress = nullptr) : CDataSource(progress) {}
    int Open(const uint8_t* data, size_t size);
    // The same under a file name, for formats told apart by their extension (WMF/EMF).
    int Open(const char* name, const uint8_t* data, size_t size);
};
