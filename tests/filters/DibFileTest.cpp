// Saving sections as .bmp files, loading .bmp files and resources, palette mapping, hostile files.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/ByteOrder.h"
#include "imaging/DibColorModel.h"
#include "imaging/DibFile.h"
#include "tests/filters/DibTestUtil.h"
#include "tests/support/TestSupport.h"

using dibtest::At;
using dibtest::Bitmap;
using dibtest::Put;
using dibtest::Px;

namespace {

void Add32(std::vector<uint8_t>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Add16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

// A bottom-up .bmp with the given palette and raw (already padded) pixel rows.
std::vector<uint8_t> MakeBmp(int w, int h, int bits, const std::vector<uint32_t>& palette,
                             const std::vector<uint8_t>& rows) {
    std::vector<uint8_t> b = {'B', 'M'};
    const uint32_t off = 54 + 4 * static_cast<uint32_t>(palette.size());
    Add32(b, off + static_cast<uint32_t>(rows.size()));
    Add32(b, 0);
    Add32(b, off);
    Add32(b, 40);
    Add32(b, static_cast<uint32_t>(w));
    Add32(b, static_cast<uint32_t>(h));
    Add16(b, 1);
    Add16(b, static_cast<uint32_t>(bits));
    for (int i = 0; i < 6; ++i) Add32(b, 0);
    for (uint32_t q : palette) Add32(b, q);
    b.insert(b.end(), rows.begin(), rows.end());
    return b;
}

// Paints a 3 x 2 section as GDI shows it: top row red, green, blue; bottom row white, black, grey.
void PaintSample(const Bitmap& b) {
    dibtest::PaintVisual(b.Get(), 0, 0, RGB(255, 0, 0));
    dibtest::PaintVisual(b.Get(), 1, 0, RGB(0, 255, 0));
    dibtest::PaintVisual(b.Get(), 2, 0, RGB(0, 0, 255));
    dibtest::PaintVisual(b.Get(), 0, 1, RGB(255, 255, 255));
    dibtest::PaintVisual(b.Get(), 1, 1, RGB(0, 0, 0));
    dibtest::PaintVisual(b.Get(), 2, 1, RGB(128, 128, 128));
}

}  // namespace

TEST(DibFiles, SavedRowsAreBottomUpWhateverTheSectionOrder) {
    testsupport::ScratchDir dir;
    Bitmap topDown(CreateDibSection24(nullptr, 3, 2));
    Bitmap bottomUp(dibtest::CreateBottomUp(3, 2, 24));
    ClearDib(topDown.Get());
    ClearDib(bottomUp.Get());
    PaintSample(topDown);
    PaintSample(bottomUp);
    EXPECT_FALSE(dibaccess::IsBottomUpSection(topDown.Get()));
    EXPECT_TRUE(dibaccess::IsBottomUpSection(bottomUp.Get()));
    {
        // The answer is the same while a device context holds the section.
        dibaccess::MemoryDc holder(nullptr, bottomUp.Get());
        ASSERT_TRUE(holder.Selected());
        EXPECT_TRUE(dibaccess::IsBottomUpSection(bottomUp.Get()));
        ASSERT_EQ(1, SaveDibAsBmpFile(bottomUp.Get(), dir.File("held.bmp").c_str()));
    }

    std::vector<uint8_t> a, b;
    ASSERT_EQ(1, SaveDibAsBmpFile(topDown.Get(), dir.File("a.bmp").c_str()));
    ASSERT_EQ(1, SaveDibAsBmpFile(bottomUp.Get(), dir.File("b.bmp").c_str()));
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("a.bmp"), a));
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("b.bmp"), b));
    ASSERT_EQ(54u + 24u, a.size());
    EXPECT_EQ(a, b);
    std::vector<uint8_t> held;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("held.bmp"), held));
    EXPECT_EQ(a, held);
    EXPECT_EQ('B', a[0]);
    EXPECT_EQ(78u, ReadLittleEndian32(&a[2]));
    EXPECT_EQ(54u, ReadLittleEndian32(&a[10]));
    EXPECT_EQ(2u, ReadLittleEndian32(&a[22]));  // positive height: bottom-up rows
    // The first stored row is the bottom one (white, black, grey), 12 bytes with padding.
    EXPECT_EQ(255, a[54]);
    EXPECT_EQ(0, a[57]);
    EXPECT_EQ(128, a[60]);
    EXPECT_EQ(255, a[66 + 2]);  // then red
    EXPECT_EQ(0, a[66]);

    // It reads back the right way up.
    Bitmap loaded(LoadBmpFileAsDib(dir.File("a.bmp").c_str(), 0, 0));
    ASSERT_TRUE(loaded.Get());
    EXPECT_EQ(Px(255, 0, 0), At(loaded, 0, 0));
    EXPECT_EQ(Px(128, 128, 128), At(loaded, 2, 1));
    Bitmap loaded32(LoadBmpFileAsDib(dir.File("a.bmp").c_str(), 0, 32));
    ASSERT_TRUE(loaded32.Get());
    EXPECT_EQ(32, loaded32.View().bpp);
    EXPECT_EQ(0x00FFFFFFu & Px(0, 0, 255), 0x00FFFFFFu & At(loaded32, 2, 0));
}

TEST(DibFiles, SavingWithoutASectionLeavesAnEmptyFile) {
    testsupport::ScratchDir dir;
    HDC screen = GetDC(nullptr);
    Bitmap ddb(CreateCompatibleBitmap(screen, 4, 4));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(0, SaveDibAsBmpFile(ddb.Get(), dir.File("x.bmp").c_str()));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("x.bmp"), bytes));
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(0, SaveDibAsBmpFile(ddb.Get(), (dir.Path() + "missing\\x.bmp").c_str()));
}

TEST(DibFiles, PaletteMappingToButtonColours) {
    testsupport::ScratchDir dir;
    std::vector<uint32_t> palette(16, 0x123456);
    palette[0] = 0xC0C0C0;
    palette[1] = 0x000000;
    palette[2] = 0x404040;
    // 3 pixels: entries 0, 1, 2; one row padded to 4 bytes.
    const std::vector<uint8_t> rows = {0x01, 0x20, 0, 0};
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("p.bmp"), MakeBmp(3, 1, 4, palette, rows)));

    Bitmap plain(LoadBmpFileAsDib(dir.File("p.bmp").c_str(), 0, 24));
    ASSERT_TRUE(plain.Get());
    EXPECT_EQ(Px(0xC0, 0xC0, 0xC0), At(plain, 0, 0));

    const COLORREF face = GetSysColor(COLOR_BTNFACE), text = GetSysColor(COLOR_BTNTEXT);
    Bitmap mapped(LoadBmpFileAsDib(dir.File("p.bmp").c_str(), 1, 24));
    ASSERT_TRUE(mapped.Get());
    EXPECT_EQ(Px(GetRValue(face), GetGValue(face), GetBValue(face)), At(mapped, 0, 0));
    EXPECT_EQ(Px(GetRValue(text), GetGValue(text), GetBValue(text)), At(mapped, 1, 0));
    EXPECT_EQ(Px(0x40, 0x40, 0x40), At(mapped, 2, 0));

    int h, l, s;
    RgbToHls(GetSysColor(COLOR_BTNHIGHLIGHT), &h, &l, &s);
    const uint32_t tinted = HlsToColor(h, 0x40 * 257, s);
    Bitmap toned(LoadBmpFileAsDib(dir.File("p.bmp").c_str(), 2, 24));
    ASSERT_TRUE(toned.Get());
    EXPECT_EQ(Px(GetRValue(tinted), GetGValue(tinted), GetBValue(tinted)), At(toned, 2, 0));

    // A palette section saved keeps its colour table.
    Bitmap kept(LoadBmpFileAsDib(dir.File("p.bmp").c_str(), 0, 0));
    ASSERT_EQ(4, kept.View().bpp);
    ASSERT_EQ(1, SaveDibAsBmpFile(kept.Get(), dir.File("q.bmp").c_str()));
    Bitmap again(LoadBmpFileAsDib(dir.File("q.bmp").c_str(), 0, 24));
    ASSERT_TRUE(again.Get());
    EXPECT_EQ(Px(0xC0, 0xC0, 0xC0), At(again, 0, 0));
    EXPECT_EQ(Px(0x40, 0x40, 0x40), At(again, 2, 0));
}

TEST(DibFiles, HostileFilesAreRefused) {
    testsupport::ScratchDir dir;
    const std::vector<uint8_t> rows = {1, 2, 3, 0};
    std::vector<uint8_t> good = MakeBmp(1, 1, 24, {}, rows);
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("good.bmp"), good));
    Bitmap ok(LoadBmpFileAsDib(dir.File("good.bmp").c_str(), 0, 0));
    EXPECT_TRUE(ok.Get());

    auto refused = [&](std::vector<uint8_t> bytes) {
        testsupport::WriteFileBytes(dir.File("bad.bmp"), bytes);
        HBITMAP b = LoadBmpFileAsDib(dir.File("bad.bmp").c_str(), 0, 0);
        if (b) DeleteObject(b);
        return b == nullptr;
    };
    EXPECT_TRUE(refused(std::vector<uint8_t>(good.begin(), good.end() - 1)));  // short pixels
    EXPECT_TRUE(refused(std::vector<uint8_t>(good.begin(), good.begin() + 10)));  // short header
    std::vector<uint8_t> bad = good;
    bad[0] = 'X';
    EXPECT_TRUE(refused(bad));
    bad = good;
    bad[18] = 0xFF;  // width 255 + huge height: pixels the file does not hold
    bad[22] = 0xFF;
    bad[23] = 0xFF;
    bad[24] = 0xFF;
    EXPECT_TRUE(refused(bad));
    bad = good;
    bad[10] = 20;  // pixel offset inside the info header
    EXPECT_TRUE(refused(bad));
    bad = good;
    bad[10] = 0xFF;  // pixel offset far beyond the file
    bad[13] = 0x7F;
    EXPECT_TRUE(refused(bad));
    bad = good;
    bad[28] = 7;  // bit count
    EXPECT_TRUE(refused(bad));
    EXPECT_FALSE(LoadBmpFileAsDib((dir.Path() + "none.bmp").c_str(), 0, 0));
}

TEST(DibFiles, MaskCombinationsFromFiles) {
    testsupport::ScratchDir dir;
    const std::vector<uint8_t> colourRows = {10, 20, 30, 40, 50, 60, 0, 0};
    const std::vector<uint8_t> maskRows = {200, 0, 0, 7, 0, 0, 0, 0};
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("c.bmp"), MakeBmp(2, 1, 24, {}, colourRows)));
    ASSERT_TRUE(testsupport::WriteFileBytes(dir.File("m.bmp"), MakeBmp(2, 1, 24, {}, maskRows)));
    Bitmap joined(LoadBmpFilesWithMask(dir.File("c.bmp").c_str(), dir.File("m.bmp").c_str(), 0));
    ASSERT_TRUE(joined.Get());
    EXPECT_EQ(Px(30, 20, 10, 200), At(joined, 0, 0));
    EXPECT_EQ(Px(60, 50, 40, 7), At(joined, 1, 0));
    EXPECT_FALSE(LoadBmpFilesWithMask(dir.File("c.bmp").c_str(), dir.File("none.bmp").c_str(), 0));
}

TEST(DibFiles, BitmapResources) {
    // The system's own bitmap resources stand in for ours: user32 carries the OBM_ pictures.
    HMODULE user32 = GetModuleHandleA("user32.dll");
    ASSERT_TRUE(user32);
    Bitmap res(LoadBitmapResourceAsDib(user32, MAKEINTRESOURCEA(32754) /* OBM_CLOSE */, 24, 0));
    if (!res.Get()) GTEST_SKIP() << "no OBM_CLOSE bitmap resource in this user32";
    EXPECT_EQ(24, res.View().bpp);
    EXPECT_GT(res.View().width, 0);
    EXPECT_FALSE(LoadBitmapResourceAsDib(user32, MAKEINTRESOURCEA(31999), 24, 0));
    Bitmap side(LoadBitmapResourceSideBySide(user32, MAKEINTRESOURCEA(32754), 0));
    EXPECT_TRUE(side.Get());
    if (side.Get()) {
        EXPECT_EQ(res.View().width / 2, side.View().width);
    }
    Bitmap button(LoadButtonImage(user32, MAKEINTRESOURCEA(32754), true));
    EXPECT_TRUE(button.Get());
}
