#pragma once
// Data source over a resource of a loaded module (RT_RCDATA unless another type is named).
#include "imaging/DataSource.h"

class CResourceSource : public CDataSource {
public:
    explicit CResourceSource(IProgressInfo* progress = nullptr) : CDataSource(progress) {}
    ~CResourceSource() override;
    // module is an HMODULE; type null means RT_RCDATA. 0 on success, 4 on any failure.
    int Open(void* module, int resourceId, const char* resourceType = nullptr);
    void Close() override;

private:
    void Release();
    void* m_hResource = nullptr;  // HGLOBAL of the loaded resource
};
