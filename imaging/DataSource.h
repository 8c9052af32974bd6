#pragma once
// Byte source that decoders read from. Every read goes through ReadNBytes, so data that ends
// early always raises CTextException(11) instead of reading past the end.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include "imaging/PLObject.h"

class IProgressInfo;

class CDataSource : public CPLObject {
public:
    explicit CDataSource(IProgressInfo* progress = nullptr);
    ~CDataSource() override;

    virtual void OpenSource(const char* name, size_t size);
    virtual void Close();
    // Pointer to a readable block of n bytes at the current position, without advancing.
    // When fewer than n bytes remain the block is a zero-padded copy, so callers that peek
    // (format detection) never read past the data.
    virtual const uint8_t* GetBufferPtr(size_t n);
    // Pointer to n bytes at the current position, then advances; raises code 11 when fewer
    // than n bytes remain (the position does not move then).
    virtual const uint8_t* ReadNBytes(size_t n);
    // Pointer to the rest of the data (GetRemaining() bytes); does not advance.
    virtual const uint8_t* ReadEverything();

    // Convenience readers on top of ReadNBytes (little- and big-endian).
    uint8_t ReadByte();
    uint16_t ReadWordLE();
    uint32_t ReadDWordLE();
    uint16_t ReadWordBE();
    uint32_t ReadDWordBE();
    // Moves forward by n bytes; raises code 11 when fewer remain.
    void Skip(size_t n);

    void CheckEOF();

    const char* GetName() const { return m_Name.c_str(); }
    size_t GetFileSize() const { return m_Size; }
    size_t GetPosition() const { return m_Pos; }
    size_t GetRemaining() const { return m_Size - m_Pos; }
    IProgressInfo* GetProgressReceiver() const { return m_pProgress; }

protected:
    // Subclasses tell the base where the bytes are once opened.
    void SetData(const uint8_t* data) { m_pData = data; }

private:
    std::string m_Name;
    size_t m_Size = 0;
    size_t m_Pos = 0;
    IProgressInfo* m_pProgress;
    const uint8_t* m_pData = nullptr;
    std::vector<uint8_t> m_PeekWindow;
};
