#include "tests/formats/FormatsTestSupport.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "imaging/AnyPicDecoder.h"
#include "imaging/TextException.h"
#include "tests/support/TestSupport.h"

namespace formats_test {

namespace {

// Reads one whitespace-separated header token.
std::string Token(const std::vector<uint8_t>& b, size_t& pos)
{
    while (pos < b.size() && (isspace(b[pos]) || b[pos] == '#')) {
        if (b[pos] == '#')
            while (pos < b.size() && b[pos] != '\n')
                ++pos;
        else
            ++pos;
    }
    std::string t;
    while (pos < b.size() && !isspace(b[pos]))
        t += static_cast<char>(b[pos++]);
    return t;
}

}  // namespace

RefPicture LoadReference(const std::string& name)
{
    std::vector<uint8_t> b;
    RefPicture ref;
    if (!testsupport::ReadFileBytes(testsupport::TestDataDir() + name, b) || b.size() < 3)
        return ref;
    size_t pos = 0;
    std::string magic = Token(b, pos);
    if (magic == "P7") {
        for (;;) {
            std::string key = Token(b, pos);
            if (key == "ENDHDR" || key.empty())
                break;
            std::string value = Token(b, pos);
            if (key == "WIDTH")
                ref.width = atoi(value.c_str());
            else if (key == "HEIGHT")
                ref.height = atoi(value.c_str());
            else if (key == "DEPTH")
                ref.channels = atoi(value.c_str());
        }
    } else {
        ref.width = atoi(Token(b, pos).c_str());
        ref.height = atoi(Token(b, pos).c_str());
        Token(b, pos);  // maxval
        ref.channels = magic == "P5" ? 1 : 3;
    }
    ++pos;  // the single separator after the header
    size_t bytes = static_cast<size_t>(ref.width) * ref.height * ref.channels;
    if (pos + bytes <= b.size())
        ref.data.assign(b.begin() + pos, b.begin() + pos + bytes);
    return ref;
}

void DecodeTestFile(const std::string& name, CAnyBmp& bmp)
{
    CAnyPicDecoder decoder;
    decoder.DecodeFile((testsupport::TestDataDir() + name).c_str(), &bmp, 32);
}

int DecodeBytes(const std::vector<uint8_t>& bytes, CAnyBmp& bmp, int wantedBpp)
{
    CAnyPicDecoder decoder;
    return DecodeBytesWith(decoder, bytes, bmp, wantedBpp);
}

int DecodeBytesWith(CPicDecoder& decoder, const std::vector<uint8_t>& bytes, CAnyBmp& bmp, int wantedBpp)
{
    try {
        decoder.DecodeMemory(bytes.data(), bytes.size(), &bmp, wantedBpp);
    } catch (const CTextException& e) {
        return e.GetCode();
    }
    return 0;
}

uint8_t RedAt(const CBmp& bmp, int x, int y) { return PLPixelRed(bmp.GetPixel(x, y)); }
uint8_t GreenAt(const CBmp& bmp, int x, int y) { return PLPixelGreen(bmp.GetPixel(x, y)); }
uint8_t BlueAt(const CBmp& bmp, int x, int y) { return PLPixelBlue(bmp.GetPixel(x, y)); }
uint8_t AlphaAt(const CBmp& bmp, int x, int y) { return PLPixelAlpha(bmp.GetPixel(x, y)); }

std::string ComparePixels(const CAnyBmp& bmp, const RefPicture& ref, int tolerance)
{
    std::ostringstream why;
    if (ref.data.empty())
        return "reference picture missing";
    if (bmp.GetWidth() != ref.width || bmp.GetHeight() != ref.height) {
        why << "size " << bmp.GetWidth() << "x" << bmp.GetHeight() << ", expected " << ref.width << "x" << ref.height;
        return why.str();
    }
    if (bmp.GetBitsPerPixel() != 32)
        return "not 32 bits per pixel";
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x) {
            PLPixel32 p = bmp.GetPixel(x, y);
            int got[4] = {PLPixelRed(p), PLPixelGreen(p), PLPixelBlue(p), PLPixelAlpha(p)};
            int want[4];
            for (int c = 0; c < 3; ++c)
                want[c] = ref.At(x, y, ref.channels == 1 ? 0 : c);
            want[3] = ref.channels == 4 ? ref.At(x, y, 3) : got[3];
            for (int c = 0; c < 4; ++c)
                if (abs(got[c] - want[c]) > tolerance) {
                    why << "pixel (" << x << "," << y << ") channel " << c << ": " << got[c] << ", expected " << want[c];
                    return why.str();
                }
        }
    return "";
}

void PutLE16(std::vector<uint8_t>& out, unsigned v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutLE32(std::vector<uint8_t>& out, uint32_t v)
{
    PutLE16(out, v & 0xFFFF);
    PutLE16(out, v >> 16);
}

void PutBE16(std::vector<uint8_t>& out, unsigned v)
{
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void PutBE32(std::vector<uint8_t>& out, uint32_t v)
{
    PutBE16(out, v >> 16);
    PutBE16(out, v & 0xFFFF);
}

void PutBytes(std::vector<uint8_t>& out, std::initializer_list<int> bytes)
{
    for (int b : bytes)
        out.push_back(static_cast<uint8_t>(b));
}

}  // namespace formats_test
