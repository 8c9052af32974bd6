#include "imaging/JPEGDecoder.h"
#include "imaging/DataSource.h"
#include "imaging/PictureLimits.h"
#include "imaging/TextException.h"

#include <vector>

CJPEGDecoder::CJPEGDecoder()
{
    InitJpegErrorManager(&m_jerr);
    m_cinfo.err = &m_jerr;
    jpeg_create_decompress(&m_cinfo);
    // The library's own buffers keep to the rule for bitmaps too: a progressive picture needs
    // all its full-size coefficients whatever reduction is asked, and with no backing store a
    // picture whose buffers pass the cap fails instead of taking gigabytes.
    m_cinfo.mem->max_memory_to_use = static_cast<long>(kMaxPictureBytes);
}

CJPEGDecoder::~CJPEGDecoder()
{
    jpeg_destroy_decompress(&m_cinfo);
}

void CJPEGDecoder::DecodeImage(CBmp* pBmp, CPaletteTable&, int& wantedBpp, CDataSource* pSource)
{
    try {
        InstallJpegSource(&m_cinfo, &m_source, pSource);
        jpeg_read_header(&m_cinfo, TRUE);
        m_ImageWidth = static_cast<int>(m_cinfo.image_width);
        m_ImageHeight = static_cast<int>(m_cinfo.image_height);
        m_cinfo.scale_num = 1;
        m_cinfo.scale_denom = static_cast<unsigned int>(
            ChooseScaleDenominator(m_cinfo.image_width, m_cinfo.image_height, m_CoverWidth, m_CoverHeight));
        // Only what will really be allocated counts against the limit.
        jpeg_calc_output_dimensions(&m_cinfo);
        ValidatePictureSize(m_cinfo.output_width, m_cinfo.output_height, 32);
        if (m_bFastUpsampling)
            m_cinfo.do_fancy_upsampling = FALSE;
        m_cinfo.dct_method = JDCT_FLOAT;

        J_COLOR_SPACE in = m_cinfo.jpeg_color_space;
        if (in == JCS_GRAYSCALE)
            m_cinfo.out_color_space = JCS_GRAYSCALE;
        else if (in == JCS_CMYK || in == JCS_YCCK)
            m_cinfo.out_color_space = JCS_CMYK;
        else
            m_cinfo.out_color_space = JCS_EXT_BGRA;  // straight into our pixel layout, alpha 255

        jpeg_start_decompress(&m_cinfo);
        if (m_cinfo.out_color_space == JCS_GRAYSCALE) {
            int target = ChooseTargetBpp(wantedBpp, 8);
            wantedBpp = target;
            DecodeGray(pBmp, target);
        } else if (m_cinfo.out_color_space == JCS_CMYK) {
            wantedBpp = 32;
            DecodeCMYK(pBmp);
        } else {
            wantedBpp = 32;
            DecodeRGB(pBmp);
        }
        jpeg_finish_decompress(&m_cinfo);
    } catch (const CTextException&) {
        jpeg_abort_decompress(&m_cinfo);
        throw;
    }
}

void CJPEGDecoder::SetScaleToCover(int boxWidth, int boxHeight)
{
    m_CoverWidth = boxWidth > 0 ? boxWidth : 0;
    m_CoverHeight = boxHeight > 0 ? boxHeight : 0;
}

int CJPEGDecoder::ChooseScaleDenominator(int64_t width, int64_t height, int boxWidth, int boxHeight)
{
    if (boxWidth <= 0 || boxHeight <= 0 || width <= 0 || height <= 0)
        return 1;
    // The picture fitted into the box, keeping its proportions and never enlarged.
    int64_t fitWidth = width, fitHeight = height;
    if (width * boxHeight >= height * boxWidth) {
        if (width > boxWidth) {
            fitWidth = boxWidth;
            fitHeight = height * boxWidth / width;
        }
    } else if (height > boxHeight) {
        fitHeight = boxHeight;
        fitWidth = width * boxHeight / height;
    }
    for (int denom = 8; denom > 1; denom /= 2) {
        if ((width + denom - 1) / denom >= fitWidth && (height + denom - 1) / denom >= fitHeight)
            return denom;
    }
    return 1;
}

void CJPEGDecoder::DecodeGray(CBmp* pBmp, int targetBpp)
{
    int width = static_cast<int>(m_cinfo.output_width);
    int height = static_cast<int>(m_cinfo.output_height);
    pBmp->Create(width, height, targetBpp == 8 ? 8 : 32, false);
    uint8_t** lines = pBmp->GetLineArray();
    pBmp->Lock(false, true);
    if (targetBpp == 8) {
        while (m_cinfo.output_scanline < m_cinfo.output_height) {
            JSAMPROW row = lines[m_cinfo.output_scanline];
            jpeg_read_scanlines(&m_cinfo, &row, 1);
        }
    } else {
        std::vector<JSAMPLE> scratch(width);
        while (m_cinfo.output_scanline < m_cinfo.output_height) {
            int y = static_cast<int>(m_cinfo.output_scanline);
            JSAMPROW row = scratch.data();
            jpeg_read_scanlines(&m_cinfo, &row, 1);
            PLPixel32* dst = reinterpret_cast<PLPixel32*>(lines[y]);
            for (int x = 0; x < width; ++x)
                dst[x] = PLMakePixel(scratch[x], scratch[x], scratch[x], 255);
        }
    }
    pBmp->Unlock();
}

void CJPEGDecoder::DecodeRGB(CBmp* pBmp)
{
    pBmp->Create(static_cast<int>(m_cinfo.output_width), static_cast<int>(m_cinfo.output_height), 32, false);
    uint8_t** lines = pBmp->GetLineArray();
    pBmp->Lock(false, true);
    while (m_cinfo.output_scanline < m_cinfo.output_height) {
        JSAMPROW row = lines[m_cinfo.output_scanline];
        jpeg_read_scanlines(&m_cinfo, &row, 1);
    }
    pBmp->Unlock();
}

void CJPEGDecoder::DecodeCMYK(CBmp* pBmp)
{
    int width = static_cast<int>(m_cinfo.output_width);
    pBmp->Create(width, static_cast<int>(m_cinfo.output_height), 32, false);
    uint8_t** lines = pBmp->GetLineArray();
    // Adobe writers store CMYK inverted (0 = full ink); others store it plainly.
    bool inverted = m_cinfo.saw_Adobe_marker != 0;
    std::vector<JSAMPLE> scratch(static_cast<size_t>(width) * 4);
    pBmp->Lock(false, true);
    while (m_cinfo.output_scanline < m_cinfo.output_height) {
        int y = static_cast<int>(m_cinfo.output_scanline);
        JSAMPROW row = scratch.data();
        jpeg_read_scanlines(&m_cinfo, &row, 1);
        PLPixel32* dst = reinterpret_cast<PLPixel32*>(lines[y]);
        for (int x = 0; x < width; ++x) {
            int c = scratch[x * 4], m = scratch[x * 4 + 1], ye = scratch[x * 4 + 2], k = scratch[x * 4 + 3];
            if (!inverted) {
                c = 255 - c;
                m = 255 - m;
                ye = 255 - ye;
                k = 255 - k;
            }
            // Now each value is the share of light that passes (255 = no ink).
            dst[x] = PLMakePixel(static_cast<uint8_t>((c * k + 127) / 255), static_cast<uint8_t>((m * k + 127) / 255),
                                 static_cast<uint8_t>((ye * k + 127) / 255), 255);
        }
    }
    pBmp->Unlock();
}
