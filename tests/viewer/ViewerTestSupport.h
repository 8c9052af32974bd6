#pragma once
// The viewer's surroundings in tests: a frame host standing in for the main window, a listener
// standing in for the picture views, a top-level window to hold the viewer, and screen reads.
#include <windows.h>
#include <memory>
#include <string>
#include "tests/support/MessagePump.h"
#include <vector>
#include "core/ProgramSettings.h"
#include "framework/WindowImpl.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestFrameHost.h"
#include "ui/viewer/IImageViewerListener.h"
#include "ui/viewer/ImageViewer.h"

namespace viewertest {

std::string Fixture(const std::string& name);

class TestHost : public testsupport::TestFrameHost {
public:
    explicit TestHost(const std::string& programFolder) : TestFrameHost(programFolder) {}
    BOOL TrackPopupMenu(HMENU popup, UINT flags, int x, int y, const RECT* exclude = nullptr) override;

    // When set, "choosing" this item sends it to the viewer as the main window's routing would.
    UINT chooseCommand = 0;
    ImageViewer* viewer = nullptr;
};

// A list of picture files that the viewer browses, wrapping at both ends.
class TestListener : public IImageViewerListener {
public:
    TestListener(ImageViewer& viewer, std::vector<std::string> files) : viewer_(viewer), files_(std::move(files)) {}
    void ShowPrevious() override;
    void ShowNext() override;
    void DeleteCurrent() override { ++deletes; }
    int ToggleFullScreen() override;
    void SelectShown() override { ++shownSelected; }
    void ShowFirst();
    int nexts = 0, previous = 0, deletes = 0, toggles = 0, shownSelected = 0;
    size_t current = 0;

private:
    ImageViewer& viewer_;
    std::vector<std::string> files_;
};

// A visible top-level window with the viewer filling it.
class ViewerFrame : public CWindowImplBase {
public:
    DECLARE_WND_CLASS("Bkf_ViewerTestFrame")
    ViewerFrame(ImageViewer& viewer, int width = 640, int height = 480);
    ~ViewerFrame() override;
    BEGIN_MSG_MAP(ViewerFrame)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
    END_MSG_MAP()

private:
    LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL&);
    ImageViewer& viewer_;
};

// Scripted prompts that also record the print dialog's request and cancel it.
class PrintPrompts : public testsupport::ScriptedPrompts {
public:
    bool PrintDialog(PRINTDLGA& request) override;
    HWND owner = nullptr;
    DWORD flags = 0;
    bool hadSettings = true;
    int minPage = 0, maxPage = 0;
};

// Pumps messages for about ms milliseconds (also while the queue is empty).
using testsupport::PumpFor;
// Pumps until the viewer has shown what it was loading (at most 10 s), then a little more.
void WaitForLoad(ImageViewer& viewer);
// Waits for the viewer's load like WaitForLoad while another thread keeps asking `watched` for an
// answer (as a click would); returns the answers given while a decode was seen at work from the
// window's thread, which a decode on that thread itself never lets it see.
int AnswersWhileDecoding(ImageViewer& viewer, HWND watched);

// The pixels of a window's client area as it shows them, 0x00RRGGBB per pixel, row by row.
struct Capture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Capture CaptureWindow(HWND window);
// Share of pixels whose channels differ from the other capture's by more than tolerance.
double DifferingShare(const Capture& a, const Capture& b, int tolerance);
bool NearColor(uint32_t pixel, uint32_t rgb, int tolerance);

// A 24-bit section of one colour (caller deletes), and one with a gradient.
HBITMAP MakeSolidBitmap(int width, int height, COLORREF colour);

}  // namespace viewertest
