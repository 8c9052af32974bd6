#pragma once
// Measures how promptly a window's thread answers while the test thread pumps it: a thread of
// its own sends WM_NULL over and over and keeps the longest wait for an answer.
#include <windows.h>

namespace testsupport {

class AnswerWatcher {
public:
    explicit AnswerWatcher(HWND window);
    ~AnswerWatcher();
    AnswerWatcher(const AnswerWatcher&) = delete;
    AnswerWatcher& operator=(const AnswerWatcher&) = delete;

    // Ends the watching thread; returns the longest wait in milliseconds.
    DWORD Stop();
    DWORD LongestWaitMs() const { return longest_; }
    int Answers() const { return answers_; }

private:
    static DWORD WINAPI Run(void* self);
    HWND window_;
    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;
    volatile DWORD longest_ = 0;
    volatile int answers_ = 0;
};

}  // namespace testsupport
