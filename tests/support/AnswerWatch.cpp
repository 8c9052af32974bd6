#include "tests/support/AnswerWatch.h"

#include <algorithm>

namespace testsupport {

double NowMs() {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

AnswerWatch::AnswerWatch(HWND window, DWORD periodMs, HWND textWindow)
    : window_(window), periodMs_(periodMs), textWindow_(textWindow) {}

AnswerWatch::~AnswerWatch() {
    if (thread_) Finish([]() {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
        ::Sleep(1);
    });
}

void AnswerWatch::Start() { thread_ = ::CreateThread(nullptr, 0, Run, this, 0, nullptr); }

void AnswerWatch::Finish(const std::function<void()>& pump) {
    if (!thread_) return;
    ::InterlockedExchange(&stop_, 1);
    while (::WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT) pump();
    ::CloseHandle(thread_);
    thread_ = nullptr;
}

DWORD WINAPI AnswerWatch::Run(void* self) {
    AnswerWatch& w = *static_cast<AnswerWatch*>(self);
    while (!w.stop_) {
        const double begin = NowMs();
        DWORD_PTR result = 0;
        if (::SendMessageTimeoutA(w.window_, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result))
            ::InterlockedIncrement(&w.answered_);
        w.answers_.push_back(NowMs() - begin);
        if (w.textWindow_) {
            char text[512] = {};
            ::SendMessageTimeoutA(w.textWindow_, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                                  SMTO_NORMAL, 20000, &result);
            if (w.texts_.empty() || w.texts_.back() != text) w.texts_.push_back(text);
        }
        ::Sleep(w.periodMs_);
    }
    return 0;
}

double AnswerWatch::Percentile(double p) const {
    if (answers_.empty()) return 0;
    std::vector<double> sorted = answers_;
    std::sort(sorted.begin(), sorted.end());
    const size_t at = static_cast<size_t>(p * static_cast<double>(sorted.size()));
    return sorted[std::min(sorted.size() - 1, at)];
}

}  // namespace testsupport
