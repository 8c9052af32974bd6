#pragma once
// Another thread that keeps asking a window for an answer (WM_NULL through SendMessageTimeout,
// as a click reaches it) and, when given one, reads a window's text after each answer: what a
// user waiting on the window would feel and see.
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// Milliseconds from the performance counter.
double NowMs();

class AnswerWatch {
public:
    // Asks `window` every `periodMs`; reads `textWindow`'s text after each answer (when set).
    AnswerWatch(HWND window, DWORD periodMs, HWND textWindow = nullptr);
    ~AnswerWatch();
    AnswerWatch(const AnswerWatch&) = delete;
    AnswerWatch& operator=(const AnswerWatch&) = delete;

    void Start();
    // Stops the thread; pump runs meanwhile, since the thread may be waiting for an answer.
    void Finish(const std::function<void()>& pump);

    // Answer times in ms, in the order asked; valid after Finish.
    const std::vector<double>& Answers() const { return answers_; }
    // Answers so far, read while the watch runs (a send that timed out is not an answer).
    LONG AnsweredSoFar() const { return answered_; }
    // p in [0, 1]; 0 without answers.
    double Percentile(double p) const;
    // The texts read, each change once.
    const std::vector<std::string>& Texts() const { return texts_; }

private:
    static DWORD WINAPI Run(void* self);

    HWND window_;
    DWORD periodMs_;
    HWND textWindow_;
    volatile LONG stop_ = 0;
    volatile LONG answered_ = 0;
    HANDLE thread_ = nullptr;
    std::vector<double> answers_;
    std::vector<std::string> texts_;
};

}  // namespace testsupport
