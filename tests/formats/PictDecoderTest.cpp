// Hand-made PICT files: opcode walking, BitMaps, PackBits rows, colour tables, DirectBits.
#include <gtest/gtest.h>

#include "imaging/PictDecoder.h"
#include "imaging/TextException.h"
#include "tests/formats/FormatsTestSupport.h"

using namespace formats_test;

namespace {

// A version 2 picture up to (and including) its header opcode; opcodes follow at even offsets.
std::vector<uint8_t> PictV2(int width, int height)
{
    std::vector<uint8_t> f(512, 0);
    PutBE16(f, 0);
    PutBE16(f, 0);
    PutBE16(f, 0);
    PutBE16(f, height);
    PutBE16(f, width);
    PutBytes(f, {0x00, 0x11, 0x02, 0xFF});
    PutBE16(f, 0x0C00);
    f.resize(f.size() + 24, 0);
    return f;
}

void Align(std::vector<uint8_t>& f)
{
    if (f.size() & 1)
        f.push_back(0);
}

void PutRect(std::vector<uint8_t>& f, int top, int left, int bottom, int right)
{
    PutBE16(f, top);
    PutBE16(f, left);
    PutBE16(f, bottom);
    PutBE16(f, right);
}

// PixMap record after the bounds.
void PutPixMap(std::vector<uint8_t>& f, int packType, int pixelSize, int cmpCount, int cmpSize)
{
    PutBE16(f, 0);         // version
    PutBE16(f, packType);
    PutBE32(f, 0);         // packSize
    PutBE32(f, 0x480000);  // hRes
    PutBE32(f, 0x480000);  // vRes
    PutBE16(f, pixelSize > 8 ? 16 : 0);
    PutBE16(f, pixelSize);
    PutBE16(f, cmpCount);
    PutBE16(f, cmpSize);
    PutBE32(f, 0);
    PutBE32(f, 0);
    PutBE32(f, 0);
}

// Colour table where each entry's index is its position; entry i is (i, 255 - i, 7) except
// the listed overrides.
void PutColourTable(std::vector<uint8_t>& f, int entries, int redIndex)
{
    PutBE32(f, 0);
    PutBE16(f, 0x8000);
    PutBE16(f, entries - 1);
    for (int i = 0; i < entries; ++i) {
        PutBE16(f, i);
        if (i == redIndex) {
            PutBE16(f, 0xFFFF);
            PutBE16(f, 0);
            PutBE16(f, 0);
        } else {
            PutBE16(f, (i & 0xFF) * 257);
            PutBE16(f, (255 - (i & 0xFF)) * 257);
            PutBE16(f, 7 * 257);
        }
    }
}

// PackBitsRect of an 8-bit PixMap: width x rows, rowBytes 8 or more.
std::vector<uint8_t> PackBitsPicture(int width, int height, int rowBytes, int tableEntries, int redIndex)
{
    std::vector<uint8_t> f = PictV2(width, height);
    PutBE16(f, 0x0098);
    PutBE16(f, 0x8000 | rowBytes);
    PutRect(f, 0, 0, height, width);
    PutPixMap(f, 0, 8, 1, 8);
    PutColourTable(f, tableEntries, redIndex);
    PutRect(f, 0, 0, height, width);
    PutRect(f, 0, 0, height, width);
    PutBE16(f, 0);  // mode
    return f;
}

void EndPicture(std::vector<uint8_t>& f)
{
    Align(f);
    PutBE16(f, 0x00FF);
}

TEST(PictDecoder, VectorOnlyPictureFailsAtItsEnd)
{
    std::vector<uint8_t> f = PictV2(10, 10);
    PutBE16(f, 0x0001);  // clip rectangle
    PutBE16(f, 10);
    PutRect(f, 0, 0, 10, 10);
    PutBE16(f, 0x0031);  // paintRect
    PutRect(f, 1, 1, 5, 5);
    PutBE16(f, 0x00A1);  // long comment of 3 bytes
    PutBE16(f, 100);
    PutBE16(f, 3);
    PutBytes(f, {1, 2, 3});
    Align(f);
    PutBE16(f, 0x0028);  // LongText "abc" at a point
    PutBE32(f, 0x00050005);
    PutBytes(f, {3, 'a', 'b', 'c'});
    Align(f);
    PutBE16(f, 0x0081);  // paintRgn
    PutBE16(f, 10);
    PutRect(f, 0, 0, 2, 2);
    PutBE16(f, 0x00A0);  // short comment
    PutBE16(f, 7);
    PutBE16(f, 0x0C01);  // reserved: 24 data bytes
    f.resize(f.size() + 24, 0);
    PutBE16(f, 0x8100);  // reserved with a 32-bit length
    PutBE32(f, 6);
    f.resize(f.size() + 6, 0);
    EndPicture(f);
    CAnyBmp bmp;
    EXPECT_EQ(6, DecodeBytes(f, bmp));
}

TEST(PictDecoder, VersionOneBitMapRowsAreBlackOnWhite)
{
    std::vector<uint8_t> f(512, 0);
    PutBE16(f, 0);
    PutRect(f, 0, 0, 2, 9);
    PutBytes(f, {0x11, 0x01, 0x01});  // version 1, clip
    PutBE16(f, 10);
    PutRect(f, 0, 0, 2, 9);
    f.push_back(0x90);  // BitsRect: unpacked rows
    PutBE16(f, 2);      // rowBytes
    PutRect(f, 0, 0, 2, 9);
    PutRect(f, 0, 0, 2, 9);
    PutRect(f, 0, 0, 2, 9);
    PutBE16(f, 0);
    PutBytes(f, {0x80, 0x80, 0x7F, 0x00});
    f.push_back(0xFF);
    f.resize(f.size() + 16, 0);
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    ASSERT_EQ(9, bmp.GetWidth());
    EXPECT_EQ(PLMakePixel(0, 0, 0), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(255, 255, 255), bmp.GetPixel(1, 0));
    EXPECT_EQ(PLMakePixel(0, 0, 0), bmp.GetPixel(8, 0));
    EXPECT_EQ(PLMakePixel(255, 255, 255), bmp.GetPixel(0, 1));
    EXPECT_EQ(PLMakePixel(0, 0, 0), bmp.GetPixel(1, 1));
}

TEST(PictDecoder, PackBitsRowsStayInsideTheRow)
{
    std::vector<uint8_t> f = PackBitsPicture(3, 3, 8, 256, 17);
    PutBytes(f, {2, 0xFE, 0x11});        // three items 0x11
    PutBytes(f, {2, 0x81, 0x11});        // 128 items for an 8-byte row
    PutBytes(f, {3, 0x7F, 0x11, 0x11});  // a literal of 128 with two bytes of data
    EndPicture(f);
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < (y == 2 ? 2 : 3); ++x)
            EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(x, y)) << x << "," << y;
    // Missing row data reads as index 0.
    EXPECT_EQ(PLMakePixel(0, 255, 7), bmp.GetPixel(2, 2));
}

TEST(PictDecoder, ColourTablesBeyond256EntriesAreCapped)
{
    std::vector<uint8_t> f = PackBitsPicture(2, 1, 8, 300, 5);
    PutBytes(f, {3, 0x01, 5, 200});
    EndPicture(f);
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(200, 55, 7), bmp.GetPixel(1, 0));
}

TEST(PictDecoder, RegionAndPolygonSizesBelowTwoAreRefused)
{
    for (int opcode : {0x0001, 0x0070, 0x0080}) {
        for (int size : {0, 1}) {
            std::vector<uint8_t> f = PictV2(4, 4);
            PutBE16(f, opcode);
            PutBE16(f, size);
            for (int i = 0; i < 20; ++i)
                PutBE16(f, opcode);
            EndPicture(f);
            CAnyBmp bmp;
            EXPECT_EQ(2, DecodeBytes(f, bmp)) << opcode << " " << size;
        }
    }
}

TEST(PictDecoder, DirectBitsUseTheirOwnRowBytes)
{
    // 60 pixels of three planes (180 bytes) in rows of 300 bytes: rowBytes above 250 means a
    // two-byte count before each packed row.
    const int width = 60;
    std::vector<uint8_t> f = PictV2(width, 2);
    PutBE16(f, 0x009A);
    PutBE32(f, 0xFF);
    PutBE16(f, 0x8000 | 300);
    PutRect(f, 0, 0, 2, width);
    PutPixMap(f, 4, 32, 3, 8);
    PutRect(f, 0, 0, 2, width);
    PutRect(f, 0, 0, 2, width);
    PutBE16(f, 0);
    for (int y = 0; y < 2; ++y) {
        std::vector<uint8_t> planes;
        for (int c = 0; c < 3; ++c)
            for (int x = 0; x < width; ++x)
                planes.push_back(static_cast<uint8_t>(c == 0 ? x : c == 1 ? 100 + y : 250 - x));
        std::vector<uint8_t> packed;
        packed.push_back(127);
        packed.insert(packed.end(), planes.begin(), planes.begin() + 128);
        packed.push_back(static_cast<uint8_t>(planes.size() - 128 - 1));
        packed.insert(packed.end(), planes.begin() + 128, planes.end());
        PutBE16(f, static_cast<unsigned>(packed.size()));
        f.insert(f.end(), packed.begin(), packed.end());
    }
    EndPicture(f);
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    EXPECT_FALSE(bmp.HasAlpha());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < width; x += 7)
            EXPECT_EQ(PLMakePixel(static_cast<uint8_t>(x), static_cast<uint8_t>(100 + y), static_cast<uint8_t>(250 - x)),
                      bmp.GetPixel(x, y));
}

TEST(PictDecoder, BadBitmapsRaise)
{
    CAnyBmp bmp;
    // QuickTime data without a JPEG in it.
    std::vector<uint8_t> q = PictV2(4, 4);
    PutBE16(q, 0x8200);
    PutBE32(q, 100);
    q.resize(q.size() + 100, 0);
    EndPicture(q);
    EXPECT_EQ(6, DecodeBytes(q, bmp));
    // A 30000 x 30000 PixMap in a few hundred bytes.
    std::vector<uint8_t> huge = PackBitsPicture(30000, 30000, 30000, 2, 0);
    EndPicture(huge);
    EXPECT_EQ(11, DecodeBytes(huge, bmp));
    // Rows shorter than the pixels they must hold.
    std::vector<uint8_t> narrow = PackBitsPicture(20, 1, 8, 2, 0);
    PutBytes(narrow, {2, 0x81, 1});
    EndPicture(narrow);
    EXPECT_EQ(2, DecodeBytes(narrow, bmp));
    // Empty bounds.
    std::vector<uint8_t> empty = PackBitsPicture(0, 1, 8, 2, 0);
    EndPicture(empty);
    EXPECT_EQ(2, DecodeBytes(empty, bmp));
}

TEST(PictDecoder, FourBitIndicesAndSixteenBitPixels)
{
    // 4-bit PixMap of 3 pixels in rows of 2 bytes: short rows are stored unpacked.
    std::vector<uint8_t> f = PictV2(3, 1);
    PutBE16(f, 0x0098);
    PutBE16(f, 0x8000 | 2);
    PutRect(f, 0, 0, 1, 3);
    PutPixMap(f, 0, 4, 1, 4);
    PutColourTable(f, 16, 5);
    PutRect(f, 0, 0, 1, 3);
    PutRect(f, 0, 0, 1, 3);
    PutBE16(f, 0);
    PutBytes(f, {0x5A, 0x30});
    EndPicture(f);
    CAnyBmp bmp;
    ASSERT_EQ(0, DecodeBytes(f, bmp));
    EXPECT_EQ(PLMakePixel(255, 0, 0), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(10, 245, 7), bmp.GetPixel(1, 0));
    EXPECT_EQ(PLMakePixel(3, 252, 7), bmp.GetPixel(2, 0));

    // 16-bit DirectBits: one unpacked row of two pixels, then a packed picture whose run
    // items are two bytes long.
    std::vector<uint8_t> g = PictV2(2, 1);
    PutBE16(g, 0x009A);
    PutBE32(g, 0xFF);
    PutBE16(g, 0x8000 | 4);
    PutRect(g, 0, 0, 1, 2);
    PutPixMap(g, 0, 16, 3, 5);
    PutRect(g, 0, 0, 1, 2);
    PutRect(g, 0, 0, 1, 2);
    PutBE16(g, 0);
    PutBytes(g, {0x7C, 0x00, 0x03, 0xE0});
    EndPicture(g);
    ASSERT_EQ(0, DecodeBytes(g, bmp));
    EXPECT_EQ(PLMakePixel(248, 0, 0), bmp.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(0, 248, 0), bmp.GetPixel(1, 0));

    std::vector<uint8_t> h = PictV2(5, 1);
    PutBE16(h, 0x009A);
    PutBE32(h, 0xFF);
    PutBE16(h, 0x8000 | 10);
    PutRect(h, 0, 0, 1, 5);
    PutPixMap(h, 3, 16, 3, 5);
    PutRect(h, 0, 0, 1, 5);
    PutRect(h, 0, 0, 1, 5);
    PutBE16(h, 0);
    PutBytes(h, {3, 0xFC, 0x00, 0x1F});
    EndPicture(h);
    ASSERT_EQ(0, DecodeBytes(h, bmp));
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(PLMakePixel(0, 0, 248), bmp.GetPixel(x, 0)) << x;
}

TEST(PictDecoder, MissingOrUnknownVersionIsRefused)
{
    CPictDecoder decoder(nullptr);
    CAnyBmp bmp;
    for (int second : {0x12, 0x11}) {
        std::vector<uint8_t> f(600, 0);
        f[524] = static_cast<uint8_t>(second);
        f[525] = 0x03;  // after 0x11: neither version 1 nor 2
        try {
            decoder.DecodeMemory(f.data(), f.size(), &bmp, 32);
            ADD_FAILURE() << "decoded";
        } catch (const CTextException& e) {
            EXPECT_EQ(1, e.GetCode());
        }
    }
}

}  // namespace
