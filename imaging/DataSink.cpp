#include "imaging/DataSink.h"
#include "imaging/TextException.h"

#include <cstdlib>
#include <cstring>

static void CheckRoom(size_t written, size_t n, size_t capacity)
{
    if (n > capacity || written > capacity - n)
        throw CTextException(PL_ERREND_OF_FILE, "Buffer overflow while encoding.\n");
}

void CDataSink::SetBuffer(uint8_t* buffer, size_t capacity, const char* name)
{
    m_pBuffer = buffer;
    m_Capacity = buffer ? capacity : 0;
    m_Written = 0;
    m_Name = name ? name : "";
}

void CDataSink::WriteNBytes(size_t n, const void* bytes)
{
    CheckRoom(m_Written, n, m_Capacity);
    if (n)
        memcpy(m_pBuffer + m_Written, bytes, n);
    m_Written += n;
}

void CDataSink::WriteWordLE(uint16_t v)
{
    uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    WriteNBytes(2, b);
}

void CDataSink::WriteDWordLE(uint32_t v)
{
    uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                    static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    WriteNBytes(4, b);
}

void CDataSink::Skip(size_t n)
{
    CheckRoom(m_Written, n, m_Capacity);
    // The skipped bytes carry no meaning; zero them so the file holds no stale memory.
    memset(m_pBuffer + m_Written, 0, n);
    m_Written += n;
}

CFileSink::~CFileSink()
{
    Close();
}

int CFileSink::Open(const char* path, size_t bufferSize)
{
    Close();
    FILE* f = fopen(path, "wb");
    if (!f)
        return -1;
    uint8_t* buffer = static_cast<uint8_t*>(malloc(bufferSize ? bufferSize : 1));
    if (!buffer) {
        fclose(f);
        return -1;
    }
    m_pFile = f;
    m_pOwnBuffer = buffer;
    SetBuffer(buffer, bufferSize, path);
    return 0;
}

void CFileSink::Close()
{
    Finish();
}

bool CFileSink::Finish()
{
    bool ok = true;
    if (m_pFile) {
        if (m_Written && fwrite(m_pOwnBuffer, 1, m_Written, m_pFile) != m_Written)
            ok = false;
        if (fflush(m_pFile) != 0)
            ok = false;
        if (fclose(m_pFile) != 0)
            ok = false;
        m_pFile = nullptr;
    }
    free(m_pOwnBuffer);
    m_pOwnBuffer = nullptr;
    SetBuffer(nullptr, 0, nullptr);
    return ok;
}
