// Bitmap classes: row layout, palettes, conversions, limits.
#include <gtest/gtest.h>

#include "imaging/AnyBmp.h"
#include "imaging/TextException.h"

TEST(ImagingBitmap, RowLengthsAndMemory)
{
    CAnyBmp bmp;
    EXPECT_EQ(16, bmp.GetWidth());
    EXPECT_EQ(84 + 1024 + 256, bmp.GetMemUsed());
    bmp.Create(10, 3, 1, false);
    EXPECT_EQ(2, bmp.GetBytesPerLine());
    bmp.Create(16, 3, 1, false);
    EXPECT_EQ(2, bmp.GetBytesPerLine());
    bmp.Create(5, 3, 32, true);
    EXPECT_EQ(20, bmp.GetBytesPerLine());
    EXPECT_TRUE(bmp.HasAlpha());
    EXPECT_EQ(nullptr, bmp.GetPalette());
    EXPECT_EQ(bmp.GetLine(0) + 20, bmp.GetLine(1));
    EXPECT_EQ(16777216, bmp.GetNumColors());
}

TEST(ImagingBitmap, GreyPalettes)
{
    CAnyBmp bmp;
    bmp.Create(4, 4, 8, false);
    EXPECT_EQ(PLMakePixel(0, 0, 0), bmp.GetPalette()[0]);
    EXPECT_EQ(PLMakePixel(128, 128, 128), bmp.GetPalette()[128]);
    EXPECT_EQ(PLMakePixel(255, 255, 255), bmp.GetPalette()[255]);
    bmp.Create(4, 4, 1, false);
    EXPECT_EQ(PLMakePixel(255, 255, 255), bmp.GetPalette()[1]);
}

TEST(ImagingBitmap, SizesAreValidated)
{
    CAnyBmp bmp;
    for (auto wh : {std::make_pair(0, 5), std::make_pair(5, 0), std::make_pair(-3, 5),
                    std::make_pair(100000, 100000), std::make_pair(0x7FFFFFFF, 2)}) {
        try {
            bmp.Create(wh.first, wh.second, 32, false);
            FAIL() << wh.first << "x" << wh.second;
        } catch (const CTextException& e) {
            EXPECT_EQ(10, e.GetCode());
        }
    }
    bmp.Create(3, 3, 8, false);  // still usable afterwards
    EXPECT_EQ(3, bmp.GetWidth());
}

TEST(ImagingBitmap, ConversionsBetweenDepths)
{
    CAnyBmp src;
    src.Create(3, 1, 32, false);
    uint32_t* row = reinterpret_cast<uint32_t*>(src.GetLine(0));
    row[0] = PLMakePixel(127, 127, 127);
    row[1] = PLMakePixel(128, 0, 0);
    row[2] = PLMakePixel(0, 0, 0);
    CAnyBmp mono;
    mono.CreateCopy(src, 1);
    EXPECT_EQ(1u, mono.GetPixel(0, 0));  // black
    EXPECT_EQ(0u, mono.GetPixel(1, 0));  // white
    EXPECT_EQ(1u, mono.GetPixel(2, 0));

    CAnyBmp back;
    back.CreateCopy(mono, 32);
    EXPECT_EQ(PLMakePixel(0, 0, 0), back.GetPixel(0, 0));
    EXPECT_EQ(PLMakePixel(255, 255, 255), back.GetPixel(1, 0));

    CAnyBmp pal;
    pal.Create(2, 2, 8, false);
    pal.SetPaletteEntry(7, 10, 20, 30, 255);
    pal.SetPixel(1, 1, 7);
    pal.SetPixel(0, 0, 255);
    pal.SetPixel(1, 0, 0);
    pal.SetPixel(0, 1, 0);
    CAnyBmp rgb;
    rgb.CreateCopy(pal, 32);
    EXPECT_EQ(PLMakePixel(10, 20, 30), rgb.GetPixel(1, 1));
    EXPECT_EQ(7, pal.FindNearestColor(PLMakePixel(11, 21, 29)));

    CAnyBmp same;
    same = rgb;
    EXPECT_TRUE(same == rgb);
    same.SetPixel(0, 0, 1);
    EXPECT_FALSE(same == rgb);

    // Converting into itself works from a copy of the pixels.
    pal.CreateCopy(pal, 32);
    ASSERT_EQ(32, pal.GetBitsPerPixel());
    EXPECT_EQ(PLMakePixel(10, 20, 30), pal.GetPixel(1, 1));

    // A depth without a conversion is an error, never a bitmap of unset pixels.
    CAnyBmp odd;
    EXPECT_THROW(odd.CreateCopy(rgb, 16), CTextException);
    EXPECT_THROW(odd.CreateCopy(rgb, 24), CTextException);
}

TEST(ImagingBitmap, TrueColourToEightBitsGoesThroughTheQuantiser)
{
    CAnyBmp src;
    src.Create(8, 2, 32, false);
    for (int x = 0; x < 8; ++x) {
        src.SetPixel(x, 0, PLMakePixel(255, 0, 0));
        src.SetPixel(x, 1, PLMakePixel(0, 0, 255));
    }
    CAnyBmp pal;
    pal.CreateCopy(src, 8);
    ASSERT_EQ(8, pal.GetBitsPerPixel());
    PLPixel32 top = pal.GetPalette()[pal.GetPixel(3, 0)];
    PLPixel32 bottom = pal.GetPalette()[pal.GetPixel(3, 1)];
    EXPECT_GT(PLPixelRed(top), 200);
    EXPECT_LT(PLPixelBlue(top), 60);
    EXPECT_GT(PLPixelBlue(bottom), 200);
    EXPECT_LT(PLPixelRed(bottom), 60);
}

TEST(ImagingBitmap, FilterShortcutsReachTheFilters)
{
    CAnyBmp src;
    src.Create(10, 6, 32, false);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            src.SetPixel(x, y, PLMakePixel(static_cast<uint8_t>(200 - x), static_cast<uint8_t>(100 + y), 50));
    CAnyBmp out;
    out.Crop(2, 7, 1, 4, &src);
    EXPECT_EQ(5, out.GetWidth());
    EXPECT_EQ(3, out.GetHeight());
    EXPECT_EQ(src.GetPixel(2, 1), out.GetPixel(0, 0));
    EXPECT_EQ(src.GetPixel(6, 3), out.GetPixel(4, 2));
    out.ResizeBilinear(20, 12, &src);
    EXPECT_EQ(20, out.GetWidth());
    EXPECT_EQ(src.GetPixel(0, 0), out.GetPixel(0, 0));
    EXPECT_EQ(src.GetPixel(9, 5), out.GetPixel(19, 11));
    out.Rotate(3.14159265358979 / 2, PLMakePixel(0, 0, 0), &src);
    EXPECT_NEAR(6, out.GetWidth(), 1);  // a quarter turn swaps the sides
    EXPECT_NEAR(10, out.GetHeight(), 1);
    EXPECT_EQ(src.GetPixel(0, 0), out.GetPixel(0, out.GetHeight() - 1));  // counter-clockwise
    double x = 0, y = 0;
    CBmp::RotatePoint(3.14159265358979 / 2, 10, 6, x, y);
    EXPECT_GE(x, -0.5);
    EXPECT_LT(x, 6.5);
    EXPECT_GE(y, -0.5);
    EXPECT_LT(y, 10.5);
    CAnyBmp grey;
    grey.CreateCopy(src, 0);
    grey.MakeGrayscale();
    PLPixel32 g = grey.GetBitsPerPixel() == 8 ? grey.GetPalette()[grey.GetPixel(3, 3)] : grey.GetPixel(3, 3);
    EXPECT_EQ(PLPixelRed(g), PLPixelBlue(g));
}
