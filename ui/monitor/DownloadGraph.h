#pragma once
// The bar chart of download speed on the "Statistics" tab. While a run goes on it samples the
// manager's byte total every two seconds and draws the newest samples right to left, scaled to
// the largest one in view. Painting goes through an off-screen bitmap, so it never flickers.
#include <windows.h>

#include "core/DownloadViews.h"
#include "framework/GdiHolders.h"
#include "framework/WindowImpl.h"
#include "dialogs/monitor/ISpeedDisplay.h"
#include "ui/monitor/SpeedSamples.h"

class IDownloadTotals;

class DownloadGraph : public CWindowImplBase, public IDownloadGraphView {
public:
    static constexpr UINT kSampleTimer = 1;
    static constexpr UINT kSamplePeriod = 2000;
    static constexpr COLORREF kPlotColor = RGB(200, 200, 200);
    static constexpr COLORREF kLabelColor = RGB(10, 10, 10);
    static constexpr COLORREF kBarColor = RGB(40, 120, 210);

    explicit DownloadGraph(const IDownloadTotals* totals);
    ~DownloadGraph() override;

    WindowClassInfo GetWindowClassInfo() const override;
    HWND CreateGraph(HWND parent);
    void SetSpeedDisplay(ISpeedDisplay* display) { speedDisplay_ = display; }

    void Start() override;
    void Stop() override;
    // One sampling tick at the given monotonic time (100 ns units).
    void TakeSample(int64_t now);
    const SpeedSampleRing& Samples() const { return samples_; }
    // Draws the whole graph for a client rectangle onto dc (no buffering).
    void Paint(HDC dc, const RECT& client);

    BEGIN_MSG_MAP(DownloadGraph)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);

    void PaintBuffered(HDC target);
    void MakeGdiObjects();
    void FreeGdiObjects();
    void DrawCaption(HDC dc, const RECT& plot);
    void DrawLabels(HDC dc, const RECT& plot, double scaleMax);

    const IDownloadTotals* totals_;
    ISpeedDisplay* speedDisplay_ = nullptr;
    SpeedSampleRing samples_;
    GdiObject<HBRUSH> plotBrush_;
    GdiObject<HBRUSH> barBrush_;
    GdiObject<HPEN> gridPen_;
    GdiObject<HFONT> captionFont_;
};
