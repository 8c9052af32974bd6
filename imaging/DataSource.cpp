#include "imaging/DataSource.h"
#include "imaging/ByteOrder.h"
#include "imaging/IProgressInfo.h"
#include "imaging/TextException.h"

#include <cstring>

static const char kEndOfFileText[] = "End of file reached while decoding.\n";

CDataSource::CDataSource(IProgressInfo* progress) : m_pProgress(progress) {}

CDataSource::~CDataSource() {}

void CDataSource::OpenSource(const char* name, size_t size)
{
    m_Name = name ? name : "";
    m_Size = size;
    m_Pos = 0;
}

void CDataSource::Close()
{
    if (m_pProgress)
        m_pProgress->OnProgress(1.0);
    m_Name.clear();
}

const uint8_t* CDataSource::GetBufferPtr(size_t n)
{
    size_t remaining = GetRemaining();
    if (n <= remaining)
        return m_pData + m_Pos;
    m_PeekWindow.assign(n, 0);
    if (remaining)
        memcpy(m_PeekWindow.data(), m_pData + m_Pos, remaining);
    return m_PeekWindow.data();
}

const uint8_t* CDataSource::ReadNBytes(size_t n)
{
    if (n > GetRemaining())
        throw CTextException(PL_ERREND_OF_FILE, kEndOfFileText);
    const uint8_t* p = m_pData + m_Pos;
    size_t oldPos = m_Pos;
    m_Pos += n;
    if (m_pProgress && oldPos / 1024 != m_Pos / 1024 && m_Size)
        m_pProgress->OnProgress(static_cast<double>(m_Pos) / static_cast<double>(m_Size));
    return p;
}

const uint8_t* CDataSource::ReadEverything()
{
    return m_pData + m_Pos;
}

uint8_t CDataSource::ReadByte()
{
    return *ReadNBytes(1);
}

uint16_t CDataSource::ReadWordLE()
{
    return ReadLittleEndian16(ReadNBytes(2));
}

uint32_t CDataSource::ReadDWordLE()
{
    return ReadLittleEndian32(ReadNBytes(4));
}

uint16_t CDataSource::ReadWordBE()
{
    const uint8_t* p = ReadNBytes(2);
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

uint32_t CDataSource::ReadDWordBE()
{
    return ReadBigEndian32(ReadNBytes(4));
}

void CDataSource::Skip(size_t n)
{
    ReadNBytes(n);
}

void CDataSource::CheckEOF()
{
    if (m_Pos > m_Size)
        throw CTextException(PL_ERREND_OF_FILE, kEndOfFileText);
}
