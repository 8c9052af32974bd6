#include "imaging/ResourceSource.h"

#include <windows.h>
#include <cstdio>

CResourceSource::~CResourceSource()
{
    Release();
}

int CResourceSource::Open(void* module, int resourceId, const char* resourceType)
{
    Release();
    HMODULE hModule = static_cast<HMODULE>(module);
    char text[128];
    HRSRC info = FindResourceA(hModule, MAKEINTRESOURCEA(resourceId & 0xFFFF),
                               resourceType ? resourceType : MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!info) {
        snprintf(text, sizeof text, "FindResource Failed (Code %i).\n", static_cast<int>(GetLastError()));
        return 4;
    }
    HGLOBAL loaded = LoadResource(hModule, info);
    if (!loaded) {
        snprintf(text, sizeof text, "LoadResource Failed (Code %i).\n", static_cast<int>(GetLastError()));
        return 4;
    }
    const void* data = LockResource(loaded);
    if (!data) {
        FreeResource(loaded);
        return 4;
    }
    m_hResource = loaded;
    snprintf(text, sizeof text, "Resource: %i", resourceId);
    OpenSource(text, SizeofResource(hModule, info));
    SetData(static_cast<const uint8_t*>(data));
    return 0;
}

void CResourceSource::Release()
{
    if (m_hResource) {
        FreeResource(static_cast<HGLOBAL>(m_hResource));
        m_hResource = nullptr;
    }
}

void CResourceSource::Close()
{
    Release();
    CDataSource::Close();
}
