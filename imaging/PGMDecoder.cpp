#include "imaging/PGMDecoder.h"
#include "imaging/DataSource.h"
#include "imaging/DecoderError.h"
#include "imaging/DecoderHelpers.h"
#include "imaging/TextException.h"

namespace {

// Header numbers beyond these cannot describe a picture we accept.
const uint32_t kMaxDimension = 1u << 24;
const uint32_t kMaxSampleValue = 65535;

bool IsDigit(uint8_t c)
{
    return c >= '0' && c <= '9';
}

bool IsSpace(uint8_t c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

void SkipComment(CDataSource* pSource)
{
    uint8_t c;
    do {
        c = pSource->ReadByte();
    } while (c != '\n' && c != '\r');
}

// Reads digits after `first` up to the first non-digit, which is consumed; at the end of the
// data the number simply ends. Returns the terminator (0 at the end of the data).
uint8_t ReadDigits(CDataSource* pSource, uint8_t first, uint32_t cap, uint32_t& value)
{
    value = first - '0';
    for (;;) {
        if (pSource->GetRemaining() == 0)
            return 0;
        uint8_t c = pSource->ReadByte();
        if (!IsDigit(c))
            return c;
        value = value * 10 + (c - '0');
        if (value > cap)
            RaiseDecoderError(PL_ERRFORMAT_ERROR, "PGM decoder: Number too large.");
    }
}

// One number of the header: comments and whitespace before it are skipped; a comment right
// after it is skipped too, so the header's last byte is always the end of a separator.
uint32_t ReadHeaderNumber(CDataSource* pSource, uint32_t cap)
{
    for (;;) {
        uint8_t c = pSource->ReadByte();
        if (c == '#') {
            SkipComment(pSource);
        } else if (IsSpace(c)) {
            continue;
        } else if (IsDigit(c)) {
            uint32_t value;
            uint8_t end = ReadDigits(pSource, c, cap, value);
            if (end == '#')
                SkipComment(pSource);
            else if (!IsSpace(end))
                RaiseDecoderError(PL_ERRFORMAT_ERROR, "PGM decoder: Illegal character in header.");
            return value;
        } else {
            RaiseDecoderError(PL_ERRFORMAT_ERROR, "PGM decoder: Illegal character in header.");
        }
    }
}

uint32_t ReadPlainSample(CDataSource* pSource)
{
    for (;;) {
        uint8_t c = pSource->ReadByte();
        if (IsSpace(c))
            continue;
        if (!IsDigit(c))
            RaiseDecoderError(PL_ERRFORMAT_ERROR, "PGM decoder: Illegal character in sample data.");
        uint32_t value;
        uint8_t end = ReadDigits(pSource, c, kMaxSampleValue, value);
        if (end != 0 && !IsSpace(end))
            RaiseDecoderError(PL_ERRFORMAT_ERROR, "PGM decoder: Illegal character in sample data.");
        return value;
    }
}

}  // namespace

void CPGMDecoder::ReadLine(CDataSource* pSource, char* buffer, int bufferSize)
{
    int limit = bufferSize - 1 < 80 ? bufferSize - 1 : 80;
    int n = 0;
    for (;;) {
        uint8_t c = pSource->ReadByte();
        if (c == '\n' || c == '\r')
            break;
        if (n >= limit)
            RaiseDecoderError(PL_ERRFORMAT_ERROR, "PGM decoder: File Line to long.");
        buffer[n++] = static_cast<char>(c);
    }
    buffer[n] = 0;
}

void CPGMDecoder::DecodeImage(CBmp* pBmp, CPaletteTable& palette, int& wantedBpp, CDataSource* pSource)
{
    Trace(2, "Decoding PGM.\n");
    const uint8_t* magic = pSource->ReadNBytes(2);
    if (magic[0] != 'P' || (magic[1] != '2' && magic[1] != '5'))
        RaiseDecoderError(PL_ERRFORMAT_ERROR, "PGM decoder: Is not the correct identifier P5 or P2.");
    bool plain = magic[1] == '2';
    uint32_t width = ReadHeaderNumber(pSource, kMaxDimension);
    uint32_t height = ReadHeaderNumber(pSource, kMaxDimension);
    uint32_t maxValue = ReadHeaderNumber(pSource, kMaxSampleValue);
    if (maxValue < 1)
        maxValue = 255;
    if (width < 1 || height < 1)
        RaiseDecoderError(PL_ERRFORMAT_ERROR, "PGM picture has no pixels.");

    // Samples above 255 take two bytes (most significant first) in raw files.
    int sampleBytes = maxValue > 255 ? 2 : 1;
    uint64_t samples = static_cast<uint64_t>(width) * height;
    // A plain sample needs at least a digit and a separator (the last one no separator).
    RequireRemaining(pSource, plain ? samples * 2 - 1 : samples * sampleBytes);

    int target = ChooseTargetBpp(wantedBpp, 8) == 8 ? 8 : 32;
    wantedBpp = target;
    pBmp->Create(static_cast<int>(width), static_cast<int>(height), static_cast<uint16_t>(target), false);
    palette.resize(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = GreyPixel(i);

    uint8_t** lines = pBmp->GetLineArray();
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* raw = plain ? nullptr : pSource->ReadNBytes(static_cast<size_t>(width) * sampleBytes);
        uint8_t* line = lines[y];
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t s;
            if (plain)
                s = ReadPlainSample(pSource);
            else if (sampleBytes == 2)
                s = (raw[2 * x] << 8) | raw[2 * x + 1];
            else
                s = raw[x];
            if (s > maxValue)
                s = maxValue;
            uint8_t level = static_cast<uint8_t>(s * 255 / maxValue);
            if (target == 8)
                line[x] = level;
            else
                StorePixel(line, static_cast<int>(x), palette[level]);
        }
    }
}
