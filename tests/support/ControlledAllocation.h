#pragma once
// Allocations a test controls, to reach what real programs reach only when memory runs out or
// another thread is caught mid-work: one allocation of the calling thread made to fail, or one of
// another thread held until the test lets it go. A test program that uses either replaces the
// global operator new with one that looks at these (plain malloc while nothing is armed).
#include <windows.h>
#include <cstddef>

namespace testsupport {

// The `skip`-th allocation of this thread from now (0: the next one) throws std::bad_alloc; the
// ones after it succeed again.
void FailAllocationAfter(long skip);
// Forgets an armed failure that has not happened.
void DisarmAllocationFailure();
// Whether the armed failure has happened (and has not been armed again since).
bool AllocationFailed();

// Holds the first allocation of at least `minimumBytes` that a thread other than the one making
// the object asks for, until Release (or the object's end). The held thread waits before the
// memory is asked for, so it holds no lock of the heap's. One hold at a time. A guard of two
// minutes lets a forgotten hold go, so that a fault shows as a failure rather than a hang.
class AllocationHold {
public:
    explicit AllocationHold(std::size_t minimumBytes);
    ~AllocationHold();
    AllocationHold(const AllocationHold&) = delete;
    AllocationHold& operator=(const AllocationHold&) = delete;

    // The held thread's id; 0 until a thread is held.
    DWORD HeldThread() const;
    // True from the moment a thread is held until it is let go (by Release or the guard).
    bool Holding() const;
    // Lets the held allocation, and every later one, go on.
    void Release();
};

}  // namespace testsupport
