#pragma once
// GoogleTest's Notification uses std::mutex, which mingw's win32 thread model does not have.
// This one waits on an atomic flag instead; gtest only uses it to start its own helper threads.
#include <atomic>

extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : notified_(false) {}
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    void Notify() { notified_.store(true); }
    void WaitForNotification() {
        while (!notified_.load()) Sleep(1);
    }
private:
    std::atomic<bool> notified_;
};

}  // namespace internal
}  // namespace testing
