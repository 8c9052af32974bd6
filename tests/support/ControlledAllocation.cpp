#include "tests/support/ControlledAllocation.h"
#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// An armed failure.
std::atomic<DWORD> g_armedThread{0};
long g_countdown = 0;   // read and written by the armed thread only
std::atomic<bool> g_failed{false};

// An armed hold. The release event is made once for the program and never closed: a held thread
// may still be on its way out of the wait when the hold object is gone.
const DWORD kHoldGuardMs = 120000;
std::atomic<DWORD> g_holdOwner{0};     // the thread that armed it; 0: none armed
std::atomic<std::size_t> g_holdMinimum{0};
std::atomic<DWORD> g_heldThread{0};
std::atomic<bool> g_holding{false};
HANDLE g_holdRelease = nullptr;        // manual-reset

void HoldIfArmed(std::size_t size) {
    const DWORD owner = g_holdOwner.load();
    const DWORD self = ::GetCurrentThreadId();
    if (!owner || owner == self || size < g_holdMinimum.load()) return;
    DWORD none = 0;
    if (!g_heldThread.compare_exchange_strong(none, self)) return;  // one thread held per hold
    g_holding = true;
    ::WaitForSingleObject(g_holdRelease, kHoldGuardMs);
    g_holding = false;
}

void* Allocate(std::size_t size) {
    if (g_armedThread.load() == ::GetCurrentThreadId() && g_countdown-- == 0) {
        g_armedThread = 0;
        g_failed = true;
        throw std::bad_alloc();
    }
    HoldIfArmed(size);
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

AllocationHold::AllocationHold(std::size_t minimumBytes) {
    if (!g_holdRelease) g_holdRelease = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ::ResetEvent(g_holdRelease);
    g_heldThread = 0;
    g_holdMinimum = minimumBytes;
    g_holdOwner = ::GetCurrentThreadId();
}

AllocationHold::~AllocationHold() { Release(); }

DWORD AllocationHold::HeldThread() const { return g_heldThread.load(); }

bool AllocationHold::Holding() const { return g_holding.load(); }

void AllocationHold::Release() {
    g_holdOwner = 0;
    ::SetEvent(g_holdRelease);
}

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
