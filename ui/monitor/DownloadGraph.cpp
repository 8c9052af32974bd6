#include "ui/monitor/DownloadGraph.h"

#include <string>

#include "core/DownloadManagerTexts.h"
#include "core/TextFormat.h"
#include "framework/GdiHolders.h"
#include "resources/monitor_ids.h"
#include "ui/monitor/DownloadTotals.h"
#include "ui/monitor/GraphLayout.h"

DownloadGraph::DownloadGraph(const IDownloadTotals* totals) : totals_(totals) {}

DownloadGraph::~DownloadGraph() {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
}

WindowClassInfo DownloadGraph::GetWindowClassInfo() const {
    WindowClassInfo info;
    info.name = "Brackenfly_DownloadGraph";
    info.backgroundColor = -1;   // the paint covers everything
    return info;
}

HWND DownloadGraph::CreateGraph(HWND parent) {
    return Create(parent, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
}

void DownloadGraph::Start() {
    if (m_hWnd) ::SetTimer(m_hWnd, kSampleTimer, kSamplePeriod, nullptr);
}

void DownloadGraph::Stop() {
    if (m_hWnd) ::KillTimer(m_hWnd, kSampleTimer);
    if (speedDisplay_) speedDisplay_->ShowNoSpeed();
}

void DownloadGraph::TakeSample(int64_t now) {
    samples_.Add(now, totals_ ? totals_->BytesReceived() : 0);
    if (speedDisplay_) speedDisplay_->UpdateSpeed();
    if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT DownloadGraph::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT DownloadGraph::OnTimer(UINT, WPARAM, LPARAM, BOOL&) {
    TakeSample(MonotonicNow());
    return 0;
}

LRESULT DownloadGraph::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::KillTimer(m_hWnd, kSampleTimer);
    FreeGdiObjects();
    handled = FALSE;
    return 0;
}

LRESULT DownloadGraph::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PaintDc dc(m_hWnd);
    PaintBuffered(dc.Get());
    return 0;
}

LRESULT DownloadGraph::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&) {
    PaintBuffered(reinterpret_cast<HDC>(wParam));
    return 0;
}

void DownloadGraph::PaintBuffered(HDC target) {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (width <= 0 || height <= 0) return;
    // Declared first so it outlives the context it is selected into.
    GdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(target, width, height));
    MemoryDc memory(target, bitmap.Get());
    if (!bitmap || !memory.Ok() || !memory.Selected()) {
        // Out of GDI resources: draw straight onto the target rather than nothing.
        Paint(target, client);
        return;
    }
    Paint(memory.Get(), client);
    ::BitBlt(target, 0, 0, width, height, memory.Get(), 0, 0, SRCCOPY);
}

void DownloadGraph::MakeGdiObjects() {
    if (!plotBrush_) plotBrush_.Reset(::CreateSolidBrush(kPlotColor));
    if (!barBrush_) barBrush_.Reset(::CreateSolidBrush(kBarColor));
    if (!gridPen_) gridPen_.Reset(::CreatePen(PS_SOLID, 1, kLabelColor));
    if (!captionFont_) {
        LOGFONTA description;
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(description), &description);
        lstrcpynA(description.lfFaceName, "Arial", LF_FACESIZE);
        description.lfEscapement = 900;   // the caption runs upward
        description.lfOrientation = 900;
        captionFont_.Reset(::CreateFontIndirectA(&description));
    }
}

void DownloadGraph::FreeGdiObjects() {
    plotBrush_.Reset();
    barBrush_.Reset();
    gridPen_.Reset();
    captionFont_.Reset();
}

void DownloadGraph::Paint(HDC dc, const RECT& client) {
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
    if (!graphlayout::HasPlot(client)) return;
    MakeGdiObjects();
    const RECT plot = graphlayout::PlotRect(client);
    const double scaleMax = graphlayout::ScaleMax(samples_, plot);

    ::SetBkMode(dc, OPAQUE);
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    {
        SelectedObject pen(dc, gridPen_.Get());
        {
            SelectedObject brush(dc, plotBrush_.Get());
            ::Rectangle(dc, plot.left, plot.top, plot.right, plot.bottom);
        }
        DrawCaption(dc, plot);
        for (int y : graphlayout::GridLines(plot)) {
            ::MoveToEx(dc, plot.left, y, nullptr);
            ::LineTo(dc, plot.right - 1, y);
        }
    }
    DrawLabels(dc, plot, scaleMax);
    for (const RECT& bar : graphlayout::Bars(samples_, plot, scaleMax)) ::FillRect(dc, &bar, barBrush_.Get());
}

void DownloadGraph::DrawCaption(HDC dc, const RECT& plot) {
    std::string caption = EngineText(IDS_GRAPH_KBS).substr(0, 255);
    SelectedObject font(dc, captionFont_.Get());
    SIZE extent = {0, 0};
    ::GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    if (plot.bottom - plot.top >= extent.cx) {
        const POINT origin = graphlayout::CaptionOrigin(plot, extent.cy);
        ::SetTextColor(dc, kLabelColor);
        ::TextOutA(dc, origin.x, origin.y, caption.c_str(), static_cast<int>(caption.size()));
    }
}

void DownloadGraph::DrawLabels(HDC dc, const RECT& plot, double scaleMax) {
    const std::string labels[3] = {"0.0", FormatText("%.1f", scaleMax * 0.5), FormatText("%.1f", scaleMax)};
    const int middles[3] = {plot.bottom, plot.top + (plot.bottom - plot.top) / 2, plot.top};
    SelectedObject font(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE sizes[3];
    for (int i = 0; i < 3; ++i)
        ::GetTextExtentPoint32A(dc, labels[i].c_str(), static_cast<int>(labels[i].size()), &sizes[i]);
    if (graphlayout::LabelsFit(plot, sizes[0].cy, sizes[1].cy, sizes[2].cy)) {
        ::SetTextColor(dc, kLabelColor);
        for (int i = 0; i < 3; ++i) {
            RECT box = {plot.left - 3 - sizes[i].cx, middles[i] - sizes[i].cy / 2, plot.left - 3,
                        middles[i] - sizes[i].cy / 2 + sizes[i].cy};
            ::DrawTextA(dc, labels[i].c_str(), static_cast<int>(labels[i].size()), &box,
                        DT_RIGHT | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
}
