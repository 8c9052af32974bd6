// What the viewer sends out: the wallpaper (with the real question once), copies, and printing,
// which here has no printer: the dialog's request without settings, and a page drawn into an
// enhanced metafile that stands in for the printer.
#include <gtest/gtest.h>
#include <cstring>
#include "imaging/AnyPicDecoder.h"
#include "imaging/AnyBmp.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/viewer/ViewerTestSupport.h"
#include "ui/viewer/MyBitmap.h"
#include "ui/viewer/ViewerMath.h"

using namespace viewertest;

namespace {

class OutputFixture : public ::testing::Test {
protected:
    OutputFixture() : host(scratch.Path()), viewer(&host) { host.viewer = &viewer; }
    void SetUp() override {
        frame.reset(new ViewerFrame(viewer));
        viewer.SetFile(Fixture("a.b.png"));
        WaitForLoad(viewer);
        ASSERT_NE(nullptr, viewer.GetPicture());
    }
    void TearDown() override { frame.reset(); }
    std::string Wallpaper() {
        char path[MAX_PATH] = {};
        ::SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof(path), path, 0);
        return path;
    }

    testsupport::ScratchDir scratch;
    TestHost host;
    ImageViewer viewer;
    std::unique_ptr<ViewerFrame> frame;
};

struct StretchRecord {
    int count = 0;
    RECT dest = {};
};

int CALLBACK FindStretch(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM data) {
    auto* found = reinterpret_cast<StretchRecord*>(data);
    if (record->iType == EMR_STRETCHDIBITS) {
        const auto* stretch = reinterpret_cast<const EMRSTRETCHDIBITS*>(record);
        ++found->count;
        found->dest = {stretch->xDest, stretch->yDest, stretch->cxDest, stretch->cyDest};
    }
    return 1;
}

}  // namespace

TEST_F(OutputFixture, WallpaperAsksWithTheRealPromptAndANoWritesNothing) {
    testsupport::PromptWatcher watcher("Question", IDNO);
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_WALLPAPER);
    EXPECT_TRUE(watcher.Answered());
    EXPECT_EQ("Are you sure you want to set 'a.b.png' as wallpaper?", watcher.PromptText());
    EXPECT_FALSE(testsupport::FileExists(scratch.File("a.b.bmp")));
}

TEST_F(OutputFixture, WallpaperIsWrittenIntoTheProgramFolderAndSetOnlyAfterAGoodWrite) {
    const std::string before = Wallpaper();
    {
        // The target is taken by a folder: the write fails, is reported, nothing is set.
        ASSERT_TRUE(::CreateDirectoryA(scratch.File("a.b.bmp").c_str(), nullptr));
        testsupport::ScriptedPrompts prompts;
        prompts.messageBoxAnswers = {IDYES};
        viewer.SendMessage(WM_COMMAND, ID_VIEWER_WALLPAPER);
        ASSERT_EQ(2u, prompts.boxes.size());
        EXPECT_EQ("Error", prompts.boxes[1].caption);
        EXPECT_NE(std::string::npos, prompts.boxes[1].text.find(scratch.File("a.b.bmp")));
        EXPECT_EQ(before, Wallpaper());
        ::RemoveDirectoryA(scratch.File("a.b.bmp").c_str());
    }
    testsupport::ScriptedPrompts prompts;
    prompts.messageBoxAnswers = {IDYES};
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_WALLPAPER);
    EXPECT_EQ(1u, prompts.boxes.size());
    ASSERT_TRUE(testsupport::FileExists(scratch.File("a.b.bmp")));
    CAnyBmp written;
    CAnyPicDecoder().DecodeFile(scratch.File("a.b.bmp").c_str(), &written, 32);
    EXPECT_EQ(120, written.GetWidth());
    EXPECT_EQ(90, written.GetHeight());
    EXPECT_EQ(PLMakePixel(255, 255, 0), written.GetPixel(60, 45));
    EXPECT_EQ(scratch.File("a.b.bmp"), Wallpaper());
}

TEST_F(OutputFixture, CopyToAsksForATargetAndCopies) {
    testsupport::ScriptedPrompts prompts;
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_COPY_TO);  // cancelled
    prompts.fileAnswer = scratch.File("copy.png");
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_COPY_TO);
    std::vector<uint8_t> original, copy;
    ASSERT_TRUE(testsupport::ReadFileBytes(Fixture("a.b.png"), original));
    ASSERT_TRUE(testsupport::ReadFileBytes(scratch.File("copy.png"), copy));
    EXPECT_EQ(original, copy);
}

TEST_F(OutputFixture, PrintingWithoutAPrinterAsksWithoutStoredSettings) {
    ASSERT_FALSE(viewer.GetPrinter().HasSettings()) << "this machine has no printer";
    viewer.GetPrinter().SetOrientation(true);  // nothing to change, nothing read
    EXPECT_EQ(0, viewer.GetPrinter().GetOrientation());
    PrintPrompts prompts;
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_PRINT);
    EXPECT_EQ(1, prompts.printRequests);
    EXPECT_FALSE(prompts.hadSettings);
    EXPECT_EQ(viewer.m_hWnd, prompts.owner);
    EXPECT_EQ(static_cast<DWORD>(PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS), prompts.flags);
    EXPECT_EQ(1, prompts.minPage);
    EXPECT_EQ(1, prompts.maxPage);

    // Without a picture there is nothing to print and no dialog.
    viewer.SetFile(Fixture("broken.png"));
    WaitForLoad(viewer);
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_PRINT);
    EXPECT_EQ(1, prompts.printRequests);
}

TEST(ViewerPrinting, PageIsFittedAndCentredOnTheDeviceContextGiven) {
    CMyBitmap picture;
    picture.Create(300, 100, 32, false);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 300; ++x) picture.SetPixel(x, y, PLMakePixel(0, 0, 255));
    ASSERT_GT(picture.MakeDibSection(), 0);

    HDC dc = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, "Brackenfly\0test\0");
    ASSERT_NE(nullptr, dc);
    const int pageW = ::GetDeviceCaps(dc, HORZRES), pageH = ::GetDeviceCaps(dc, VERTRES);
    // A metafile is no printer: it takes the page, not a document.
    EXPECT_FALSE(PrintBitmapOnPage(dc, picture.GetHandle(), 300, 100, "Brackenfly: printingx.png"));
    EXPECT_TRUE(DrawBitmapOnPage(dc, picture.GetHandle(), 300, 100));
    HENHMETAFILE metafile = ::CloseEnhMetaFile(dc);
    ASSERT_NE(nullptr, metafile);
    StretchRecord found;
    ::EnumEnhMetaFile(nullptr, metafile, &FindStretch, &found, nullptr);
    ::DeleteEnhMetaFile(metafile);

    const PrintPlacement expected = FitPictureOnPage(300, 100, pageW, pageH);
    EXPECT_EQ(pageW, expected.width);
    ASSERT_EQ(1, found.count);
    EXPECT_EQ(expected.left, found.dest.left);
    EXPECT_EQ(expected.top, found.dest.top);
    EXPECT_EQ(expected.width, found.dest.right);
    EXPECT_EQ(expected.height, found.dest.bottom);

    EXPECT_FALSE(PrintBitmapOnPage(nullptr, picture.GetHandle(), 300, 100, "none"));
    HDC screen = ::GetDC(nullptr);
    EXPECT_FALSE(DrawBitmapOnPage(screen, nullptr, 300, 100));
    ::ReleaseDC(nullptr, screen);
}

namespace {
// Answers the print dialog with a printer that does not exist and a metafile for its page.
class ChosenPrinterPrompts : public testsupport::ScriptedPrompts {
public:
    bool PrintDialog(PRINTDLGA& request) override {
        ++printRequests;
        const char device[] = "No Such Printer";
        request.hDevNames = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVNAMES) + sizeof(device) + 2);
        auto* names = static_cast<DEVNAMES*>(::GlobalLock(request.hDevNames));
        names->wDeviceOffset = sizeof(DEVNAMES);
        std::memcpy(reinterpret_cast<char*>(names) + sizeof(DEVNAMES), device, sizeof(device));
        ::GlobalUnlock(request.hDevNames);
        request.hDC = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
        given = request.hDC;
        return true;
    }
    HDC given = nullptr;
};
}  // namespace

TEST_F(OutputFixture, APrinterThatCannotBeOpenedLeavesNoSettingsBehind) {
    ChosenPrinterPrompts prompts;
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_PRINT);
    EXPECT_EQ(1, prompts.printRequests);
    ASSERT_NE(nullptr, prompts.given);
    EXPECT_EQ(0u, ::GetObjectType(prompts.given)) << "the dialog's device context is deleted after the print";
    EXPECT_FALSE(viewer.GetPrinter().HasSettings());
    EXPECT_EQ("", viewer.GetPrinter().GetPrinterName());
    viewer.SendMessage(WM_COMMAND, ID_VIEWER_PRINT);
    EXPECT_EQ(2, prompts.printRequests);
}
