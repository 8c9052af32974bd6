#pragma once
// Byte sinks for encoders: the whole file is gathered in memory and written at the end.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include "imaging/PLObject.h"

class CDataSink : public CPLObject {
public:
    ~CDataSink() override {}
    virtual void Close() {}
    // Copies n bytes; raises CTextException(11, "Buffer overflow while encoding.\n") when
    // the capacity would be exceeded.
    void WriteNBytes(size_t n, const void* bytes);
    void WriteByte(uint8_t b) { WriteNBytes(1, &b); }
    void WriteWordLE(uint16_t v);
    void WriteDWordLE(uint32_t v);
    // Advances the write count without copying (row padding), same overflow test.
    void Skip(size_t n);

    size_t GetBytesWritten() const { return m_Written; }
    size_t GetCapacity() const { return m_Capacity; }
    const uint8_t* GetBuffer() const { return m_pBuffer; }

protected:
    void SetBuffer(uint8_t* buffer, size_t capacity, const char* name);
    uint8_t* m_pBuffer = nullptr;
    size_t m_Written = 0;
    std::string m_Name;
    size_t m_Capacity = 0;
};

class CFileSink : public CDataSink {
public:
    ~CFileSink() override;
    // 0 on success, -1 when the file or the buffer cannot be made.
    int Open(const char* path, size_t bufferSize);
    // Writes the gathered bytes and closes the file.
    void Close() override;
    // Close() that tells whether every gathered byte reached the disk and the file closed cleanly
    // (a full disk or a failed flush is a failure, never a silent short file).
    bool Finish();

private:
    FILE* m_pFile = nullptr;
    uint8_t* m_pOwnBuffer = nullptr;
};
