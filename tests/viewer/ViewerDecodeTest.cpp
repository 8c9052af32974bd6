// A large picture is decoded while the window goes on answering: another thread keeps sending
// it WM_NULL as a click would reach it, and no answer may wait for the decode.
#include <gtest/gtest.h>
#include <windows.h>
#include "tests/support/TestSupport.h"
#include "tests/viewer/ViewerTestSupport.h"
#include "ui/viewer/MyBitmap.h"

using namespace viewertest;

namespace {

double NowMs() {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct AnswerWatch {
    HWND window = nullptr;
    volatile LONG stop = 0;
    double longest = 0;
    int asked = 0;
    static DWORD WINAPI Run(void* self) {
        AnswerWatch& w = *static_cast<AnswerWatch*>(self);
        while (!w.stop) {
            const double begin = NowMs();
            DWORD_PTR result = 0;
            ::SendMessageTimeoutA(w.window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result);
            w.longest = std::max(w.longest, NowMs() - begin);
            ++w.asked;
            ::Sleep(5);
        }
        return 0;
    }
};

TEST(ViewerDecodeTest, TheWindowAnswersWhileALargePictureDecodes) {
    testsupport::ScratchDir scratch;
    TestHost host(scratch.Path());
    ImageViewer viewer(&host);
    host.viewer = &viewer;
    ViewerFrame frame(viewer);
    PumpFor(50);

    AnswerWatch watch;
    watch.window = viewer.m_hWnd;
    HANDLE thread = ::CreateThread(nullptr, 0, AnswerWatch::Run, &watch, 0, nullptr);
    const double begin = NowMs();
    viewer.SetFile(Fixture("huge.jpg"));
    while (!viewer.GetPicture() && NowMs() - begin < 60000) PumpFor(5);
    const double took = NowMs() - begin;
    ::InterlockedExchange(&watch.stop, 1);
    // The watcher may be waiting for an answer: keep answering until it is done.
    while (::WaitForSingleObject(thread, 0) == WAIT_TIMEOUT) PumpFor(5);
    ::CloseHandle(thread);

    ASSERT_NE(nullptr, viewer.GetPicture());
    EXPECT_EQ(4000, viewer.GetPicture()->GetWidth());
    EXPECT_EQ("huge.jpg - 4000 x 3000", viewer.GetHeaderText());
    // Decoding on the window's thread would hold one answer for about the whole load.
    EXPECT_LT(watch.longest, took / 2) << "loading took " << took << " ms over " << watch.asked << " answers";
}

}  // namespace
