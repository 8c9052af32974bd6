#pragma once
// Data source over a memory block that stays the caller's.
#include "imaging/DataSource.h"

class CMemSource : public CDataSource {
public:
    explicit CMemSource(IProgressInfo* progress = nullptr) : CDataSource(progress) {}
    int Open(const uint8_t* data, size_t size);
};
