#include "tests/viewer/ViewerTestSupport.h"
#include "tests/support/AnswerWatch.h"
#include <cstdlib>
#include "imaging/DibHelpers.h"

namespace viewertest {

std::string Fixture(const std::string& name) {
    const char* folder = std::getenv("BKF_TESTDATA");
    return std::string(folder ? folder : ".") + "\\" + name;
}

BOOL TestHost::TrackPopupMenu(HMENU popup, UINT flags, int x, int y, const RECT* exclude) {
    TestFrameHost::TrackPopupMenu(popup, flags, x, y, exclude);
    if (chooseCommand && viewer) viewer->SendMessage(WM_COMMAND, chooseCommand, 0);
    return FALSE;
}

void TestListener::ShowFirst() {
    current = 0;
    viewer_.SetFile(files_.empty() ? "" : files_[0]);
}

void TestListener::ShowNext() {
    ++nexts;
    if (files_.empty()) return;
    current = (current + 1) % files_.size();
    viewer_.SetFile(files_[current]);
}

void TestListener::ShowPrevious() {
    ++previous;
    if (files_.empty()) return;
    current = (current + files_.size() - 1) % files_.size();
    viewer_.SetFile(files_[current]);
}

int TestListener::ToggleFullScreen() {
    ++toggles;
    return files_.empty() ? -1 : viewer_.ToggleFullScreen();
}

ViewerFrame::ViewerFrame(ImageViewer& viewer, int width, int height) : viewer_(viewer) {
    RECT r = {20, 20, 20 + width, 20 + height};
    Create(nullptr, &r, "Viewer test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    viewer_.Create(m_hWnd, &client, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE);
    ::UpdateWindow(m_hWnd);
}

ViewerFrame::~ViewerFrame() {
    if (viewer_.IsWindow()) viewer_.DestroyWindow();
    if (IsWindow()) DestroyWindow();
}

LRESULT ViewerFrame::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
    if (viewer_.IsWindow()) ::MoveWindow(viewer_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
}

bool PrintPrompts::PrintDialog(PRINTDLGA& request) {
    ++printRequests;
    owner = request.hwndOwner;
    flags = request.Flags;
    hadSettings = request.hDevMode != nullptr;
    minPage = request.nMinPage;
    maxPage = request.nMaxPage;
    return false;
}

void WaitForLoad(ImageViewer& viewer) {
    // The decode runs on its own thread: wait for its result (a minute guards against a hang,
    // however busy the machine), then let the window paint it.
    const DWORD start = ::GetTickCount();
    while (viewer.IsLoading() && ::GetTickCount() - start < 60000) PumpFor(10);
    PumpFor(100);
}

int AnswersWhileDecoding(ImageViewer& viewer, HWND watched) {
    testsupport::AnswerWatch watcher(watched, 5);
    watcher.Start();
    int first = -1, last = -1;
    const DWORD start = ::GetTickCount();
    while (viewer.IsLoading() && ::GetTickCount() - start < 60000) {
        PumpFor(5);
        // Seen from this thread's pump: a decode on the window's own thread is never seen.
        if (ViewerDecodesRunning() > 0) {
            last = watcher.AnsweredSoFar();
            if (first < 0) first = last;
        }
    }
    watcher.Finish([] { PumpFor(5); });
    PumpFor(100);
    return first < 0 ? 0 : last - first;
}

Capture CaptureWindow(HWND window) {
    Capture capture;
    RECT client;
    ::GetClientRect(window, &client);
    capture.width = client.right;
    capture.height = client.bottom;
    if (capture.width <= 0 || capture.height <= 0) return capture;
    HBITMAP section = CreateDibSection32(nullptr, capture.width, capture.height);
    HDC windowDc = ::GetDC(window);
    HDC memory = ::CreateCompatibleDC(windowDc);
    HGDIOBJ old = ::SelectObject(memory, section);
    ::BitBlt(memory, 0, 0, capture.width, capture.height, windowDc, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(window, windowDc);
    capture.pixels.resize(static_cast<size_t>(capture.width) * capture.height);
    DIBSECTION info = {};
    ::GetObjectA(section, sizeof(info), &info);
    const auto* bits = static_cast<const uint8_t*>(info.dsBm.bmBits);
    for (int y = 0; y < capture.height; ++y)
        for (int x = 0; x < capture.width; ++x) {
            const uint8_t* p = bits + static_cast<size_t>(y) * info.dsBm.bmWidthBytes + x * 4;
            capture.pixels[static_cast<size_t>(y) * capture.width + x] = (p[2] << 16) | (p[1] << 8) | p[0];
        }
    ::DeleteObject(section);
    return capture;
}

bool NearColor(uint32_t pixel, uint32_t rgb, int tolerance) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = (pixel >> shift) & 0xFF, b = (rgb >> shift) & 0xFF;
        if (std::abs(a - b) > tolerance) return false;
    }
    return true;
}

double DifferingShare(const Capture& a, const Capture& b, int tolerance) {
    if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 1.0;
    size_t differing = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        if (!NearColor(a.pixels[i], b.pixels[i], tolerance)) ++differing;
    return static_cast<double>(differing) / a.pixels.size();
}

HBITMAP MakeSolidBitmap(int width, int height, COLORREF colour) {
    HBITMAP bitmap = CreateDibSection24(nullptr, width, height);
    FillDibRect(bitmap, nullptr, colour);
    return bitmap;
}

}  // namespace viewertest
