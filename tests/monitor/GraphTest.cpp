// The speed graph: its arithmetic, a render into a memory bitmap read back pixel by pixel, and
// the statistics panel that reads its samples.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/Dib32.h"
#include "dialogs/monitor/DownloadStatDlg.h"
#include "tests/monitor/MonitorHarness.h"
#include "ui/monitor/DownloadGraph.h"
#include "ui/monitor/DownloadTotals.h"
#include "ui/monitor/GraphLayout.h"
#include "ui/monitor/SpeedSamples.h"
#include "ui/monitor/StatViewer.h"

namespace {

struct FakeTotals : IDownloadTotals {
    int64_t bytes = 0;
    int32_t pictures = 0;
    int64_t BytesReceived() const override { return bytes; }
    int32_t PicturesSaved() const override { return pictures; }
};

const int64_t kTwoSeconds = 20000000;   // in 100 ns units

// A 32-bit top-down bitmap to paint into, read back as 0xRRGGBB.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height) : width_(width) {
        dc_ = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap_ = testsupport::CreateDib32(width, height, &bits);
        bits_ = static_cast<decltype(bits_)>(bits);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~MemoryCanvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    uint32_t At(int x, int y) const {
        GdiFlush();
        return bits_[y * width_ + x] & 0xFFFFFF;
    }

private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    uint32_t* bits_ = nullptr;
};

uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

}  // namespace

TEST(SpeedSamples, SpeedComesFromGrowthOverAPositiveInterval) {
    EXPECT_DOUBLE_EQ(10.0, SpeedBetween(0, 0, 20000, kTwoSeconds));
    EXPECT_DOUBLE_EQ(0.0, SpeedBetween(0, 5, 20000, 5));    // no time passed: no speed
    EXPECT_DOUBLE_EQ(0.0, SpeedBetween(0, 9, 20000, 5));    // a clock that went back: no speed
    EXPECT_DOUBLE_EQ(0.0, SpeedBetween(500, 0, 500, kTwoSeconds));
    // Totals past 4 GB stay exact.
    const int64_t big = 5000000000LL;
    EXPECT_DOUBLE_EQ(1000.0, SpeedBetween(big, 0, big + 2000000, kTwoSeconds));
    const int64_t earlier = MonotonicNow();
    EXPECT_LE(earlier, MonotonicNow());

    SpeedSampleRing ring;
    EXPECT_FALSE(ring.At(0).valid);
    EXPECT_DOUBLE_EQ(0.0, ring.MeanOfNewest(5));
    ring.Add(0, 0);
    ring.Add(kTwoSeconds, 20000);
    EXPECT_DOUBLE_EQ(10.0, ring.At(0).speed);
    EXPECT_DOUBLE_EQ(0.0, ring.At(1).speed);   // the first sample has nothing before it
    EXPECT_DOUBLE_EQ(2.0, ring.MeanOfNewest(5));   // slots not yet taken count as 0
    for (int i = 0; i < 1500; ++i) ring.Add(kTwoSeconds * (2 + i), 20000 + 2000LL * (i + 1));
    EXPECT_TRUE(ring.At(SpeedSampleRing::kCapacity - 1).valid);
    EXPECT_FALSE(ring.At(SpeedSampleRing::kCapacity).valid);
    EXPECT_DOUBLE_EQ(1.0, ring.At(0).speed);
}

TEST(SpeedGraph, ScaleGridAndBarsFollowTheSamples) {
    RECT client = {0, 0, 300, 120};
    ASSERT_TRUE(graphlayout::HasPlot(client));
    RECT narrow = {0, 0, 64, 120}, low = {0, 0, 300, 29};
    EXPECT_FALSE(graphlayout::HasPlot(narrow));
    EXPECT_FALSE(graphlayout::HasPlot(low));
    const RECT plot = graphlayout::PlotRect(client);
    EXPECT_EQ(60, plot.left);
    EXPECT_EQ(10, plot.top);
    EXPECT_EQ(295, plot.right);
    EXPECT_EQ(100, plot.bottom);

    SpeedSampleRing ring;
    EXPECT_DOUBLE_EQ(10.0, graphlayout::ScaleMax(ring, plot));   // no samples: the minimum
    EXPECT_EQ((std::vector<int>{32, 55, 77}), graphlayout::GridLines(plot));
    RECT flat = {60, 10, 295, 18};
    EXPECT_TRUE(graphlayout::GridLines(flat).empty());

    ring.Add(0, 0);
    ring.Add(kTwoSeconds, 20000);       // 10 KB/s
    ring.Add(2 * kTwoSeconds, 20000);   // nothing new: 0, still a sample
    ring.Add(3 * kTwoSeconds, 60000);   // 20 KB/s
    EXPECT_DOUBLE_EQ(26.0, graphlayout::ScaleMax(ring, plot));
    std::vector<RECT> bars = graphlayout::Bars(ring, plot, 26.0);
    ASSERT_EQ(2u, bars.size());
    EXPECT_EQ(287, bars[0].left);
    EXPECT_EQ(292, bars[0].right);
    EXPECT_EQ(100 - 69, bars[0].top);
    EXPECT_EQ(99, bars[0].bottom);
    EXPECT_EQ(271, bars[1].left);
    EXPECT_EQ(100 - 34, bars[1].top);
    // A bar of 2 pixels or less is left out.
    EXPECT_TRUE(graphlayout::Bars(ring, plot, 20.0 * 90 / 2.5).empty());

    // Only the samples that fit count for the scale: a narrow plot leaves the old peak out.
    RECT small = {60, 10, 75, 100};   // room for one sample
    SpeedSampleRing peak;
    peak.Add(0, 0);
    peak.Add(kTwoSeconds, 2000000);     // 1000 KB/s, soon out of view
    peak.Add(2 * kTwoSeconds, 2020000); // 10 KB/s
    EXPECT_DOUBLE_EQ(13.0, graphlayout::ScaleMax(peak, small));
    EXPECT_DOUBLE_EQ(1300.0, graphlayout::ScaleMax(peak, plot));

    EXPECT_TRUE(graphlayout::LabelsFit(plot, 13, 13, 13));
    EXPECT_FALSE(graphlayout::LabelsFit(flat, 13, 13, 13));

    // The statistics view's split.
    StatViewLayout wide = LayoutStatView(500, 200), tight = LayoutStatView(120, 200);
    EXPECT_EQ(330, wide.graph.right);
    EXPECT_EQ(330, wide.panel.left);
    EXPECT_EQ(500, wide.panel.right);
    EXPECT_EQ(0, tight.graph.right);
    EXPECT_EQ(0, tight.panel.left);
}

TEST(SpeedGraph, RendersBarsGridAndBackgroundIntoAMemoryBitmap) {
    FakeTotals totals;
    DownloadGraph graph(&totals);
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(graph.CreateGraph(parent));
    SetWindowPos(graph, nullptr, 0, 0, 300, 120, SWP_NOZORDER);
    for (int64_t bytes : {0, 20000, 20000, 60000}) {
        totals.bytes = bytes;
        graph.TakeSample(graph.Samples().At(0).time + kTwoSeconds);
    }

    MemoryCanvas canvas(300, 120);
    SendMessageA(graph, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    const uint32_t window = Rgb(GetSysColor(COLOR_WINDOW));
    const uint32_t plot = Rgb(DownloadGraph::kPlotColor), bar = Rgb(DownloadGraph::kBarColor),
                   line = Rgb(DownloadGraph::kLabelColor);
    EXPECT_EQ(window, canvas.At(5, 115));     // below the plot
    EXPECT_EQ(window, canvas.At(298, 50));    // right of the plot
    EXPECT_EQ(line, canvas.At(60, 50));       // the plot's frame
    EXPECT_EQ(line, canvas.At(150, 10));
    EXPECT_EQ(plot, canvas.At(150, 40));      // inside the plot
    EXPECT_EQ(line, canvas.At(150, 55));      // the middle grid line
    EXPECT_EQ(bar, canvas.At(289, 50));       // the newest bar, 20 KB/s of 26
    EXPECT_EQ(bar, canvas.At(289, 55));       // bars cover grid lines
    EXPECT_EQ(bar, canvas.At(287, 98));
    EXPECT_EQ(plot, canvas.At(289, 25));      // above it
    EXPECT_EQ(plot, canvas.At(292, 50));      // 5 pixels wide
    EXPECT_EQ(plot, canvas.At(281, 80));      // the idle sample: no bar
    EXPECT_EQ(bar, canvas.At(273, 80));       // 10 KB/s
    EXPECT_EQ(plot, canvas.At(273, 60));
    // Labels and the caption are drawn left of the plot in the label colour.
    int dark = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 57; ++x) dark += canvas.At(x, y) == line ? 1 : 0;
    EXPECT_GT(dark, 20);

    // Too small a window shows only the background.
    SetWindowPos(graph, nullptr, 0, 0, 60, 120, SWP_NOZORDER);
    MemoryCanvas narrow(60, 120);
    SendMessageA(graph, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(narrow.Dc()), PRF_CLIENT);
    for (int y = 0; y < 120; y += 7)
        for (int x = 0; x < 60; x += 7) ASSERT_EQ(window, narrow.At(x, y)) << x << "," << y;
    DestroyWindow(parent);
}

TEST(StatisticsPanel, ShowsTotalsInKilobytesAndTheMeanOfFiveSamples) {
    FakeTotals totals;
    StatViewer view(&totals);
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(view.CreateView(parent));
    HWND panel = view.StatPanel();
    EXPECT_EQ("0", testsupport::ControlText(panel, IDC_STAT_IMAGES));
    EXPECT_EQ("0.0", testsupport::ControlText(panel, IDC_STAT_SPEED));

    totals.bytes = 1500;
    totals.pictures = 3;
    view.StatPanel().UpdateCounters();
    EXPECT_EQ("1", testsupport::ControlText(panel, IDC_STAT_KBYTES));
    EXPECT_EQ("3", testsupport::ControlText(panel, IDC_STAT_IMAGES));
    totals.bytes = 5000000000000LL;   // far past what 32 bits hold
    view.StatPanel().UpdateCounters();
    EXPECT_EQ("5000000000", testsupport::ControlText(panel, IDC_STAT_KBYTES));

    // The first samples of a run: the ones not yet taken count as 0.
    totals.bytes = 0;
    view.Graph().TakeSample(kTwoSeconds);
    totals.bytes = 20000;
    view.Graph().TakeSample(2 * kTwoSeconds);
    EXPECT_EQ("2.0", testsupport::ControlText(panel, IDC_STAT_SPEED));
    view.Graph().Start();
    view.Graph().Stop();
    EXPECT_EQ("0.0", testsupport::ControlText(panel, IDC_STAT_SPEED));
    DestroyWindow(parent);
}
