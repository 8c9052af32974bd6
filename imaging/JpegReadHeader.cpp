#include "imaging/JpegReadHeader.h"
#include "imaging/TextException.h"

JpegReadHeader::JpegReadHeader()
{
    InitJpegErrorManager(&m_jerr);
    m_cinfo.err = &m_jerr;
    jpeg_create_decompress(&m_cinfo);
}

JpegReadHeader::~JpegReadHeader()
{
    jpeg_destroy_decompress(&m_cinfo);
}

void JpegReadHeader::DecodeImage(CBmp*, CPaletteTable&, int&, CDataSource* pSource)
{
    m_Width = m_Height = 0;
    try {
        InstallJpegSource(&m_cinfo, &m_source, pSource);
        jpeg_read_header(&m_cinfo, TRUE);
        m_Width = static_cast<int>(m_cinfo.image_width);
        m_Height = static_cast<int>(m_cinfo.image_height);
        jpeg_abort_decompress(&m_cinfo);
    } catch (const CTextException&) {
        jpeg_abort_decompress(&m_cinfo);
        throw;
    }
}
