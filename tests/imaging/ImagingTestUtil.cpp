#include "tests/imaging/ImagingTestUtil.h"
#include "tests/support/TestSupport.h"

#include "imaging/AnyPicDecoder.h"
#include "imaging/TextException.h"

#include <algorithm>
#include <cstdlib>

namespace imgtest {

std::vector<uint8_t> Fixture(const std::string& name)
{
    std::vector<uint8_t> data;
    testsupport::ReadFileBytes(testsupport::TestDataDir() + name, data);
    return data;
}

int DecodeBytes(const std::vector<uint8_t>& data, CAnyBmp& bmp, int wantedBpp, std::string* text)
{
    CAnyPicDecoder decoder;
    try {
        decoder.DecodeMemory(data.data(), data.size(), &bmp, wantedBpp);
    } catch (const CTextException& e) {
        if (text)
            *text = e.GetText();
        return e.GetCode() == 0 ? -1000 : e.GetCode();
    }
    return 0;
}

int MaxDifferenceToReference(const CAnyBmp& bmp, const std::string& name)
{
    std::vector<uint8_t> ref = Fixture(name + ".rgba");
    int w = bmp.GetWidth(), h = bmp.GetHeight();
    if (bmp.GetBitsPerPixel() != 32 || ref.size() != static_cast<size_t>(w) * h * 4)
        return 1000;
    int worst = 0;
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(bmp.GetLine(y));
        for (int x = 0; x < w; ++x) {
            const uint8_t* r = &ref[(static_cast<size_t>(y) * w + x) * 4];
            uint32_t p = row[x];
            int d = std::max({abs(R(p) - r[0]), abs(G(p) - r[1]), abs(B(p) - r[2])});
            if (bmp.HasAlpha())
                d = std::max(d, abs(A(p) - r[3]));
            worst = std::max(worst, d);
        }
    }
    return worst;
}

void PutLE16(std::vector<uint8_t>& v, size_t at, uint16_t value)
{
    v[at] = static_cast<uint8_t>(value);
    v[at + 1] = static_cast<uint8_t>(value >> 8);
}

void PutLE32(std::vector<uint8_t>& v, size_t at, uint32_t value)
{
    PutLE16(v, at, static_cast<uint16_t>(value));
    PutLE16(v, at + 2, static_cast<uint16_t>(value >> 16));
}

void PutBE16(std::vector<uint8_t>& v, size_t at, uint16_t value)
{
    v[at] = static_cast<uint8_t>(value >> 8);
    v[at + 1] = static_cast<uint8_t>(value);
}

void PutBE32(std::vector<uint8_t>& v, size_t at, uint32_t value)
{
    PutBE16(v, at, static_cast<uint16_t>(value >> 16));
    PutBE16(v, at + 2, static_cast<uint16_t>(value));
}

std::vector<uint8_t> MakeBmp(int width, int height, int bitCount, uint32_t compression,
                             const std::vector<uint32_t>& palette, const std::vector<uint8_t>& data)
{
    std::vector<uint8_t> f(54 + palette.size() * 4, 0);
    f[0] = 'B';
    f[1] = 'M';
    PutLE32(f, 2, static_cast<uint32_t>(f.size() + data.size()));
    PutLE32(f, 10, static_cast<uint32_t>(f.size()));
    PutLE32(f, 14, 40);
    PutLE32(f, 18, static_cast<uint32_t>(width));
    PutLE32(f, 22, static_cast<uint32_t>(height));
    PutLE16(f, 26, 1);
    PutLE16(f, 28, static_cast<uint16_t>(bitCount));
    PutLE32(f, 30, compression);
    PutLE32(f, 46, static_cast<uint32_t>(palette.size()));
    for (size_t i = 0; i < palette.size(); ++i)
        PutLE32(f, 54 + i * 4, palette[i] & 0xFFFFFF);
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

}  // namespace imgtest
