#include "tests/support/FailingAllocation.h"
#include <windows.h>
#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<DWORD> g_armedThread{0};
long g_countdown = 0;   // read and written by the armed thread only
std::atomic<bool> g_failed{false};

void* Allocate(std::size_t size) {
    if (g_armedThread.load() == ::GetCurrentThreadId() && g_countdown-- == 0) {
        g_armedThread = 0;
        g_failed = true;
        throw std::bad_alloc();
    }
    void* memory = std::malloc(size ? size : 1);
    if (!memory) throw std::bad_alloc();
    return memory;
}
}  // namespace

namespace testsupport {

void FailAllocationAfter(long skip) {
    g_failed = false;
    g_countdown = skip;
    g_armedThread = ::GetCurrentThreadId();
}

void DisarmAllocationFailure() { g_armedThread = 0; }

bool AllocationFailed() { return g_failed.load(); }

}  // namespace testsupport

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
