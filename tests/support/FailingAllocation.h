#pragma once
// Makes one allocation of the calling thread fail, to drive failure paths that real programs
// reach only when memory runs out. A test program that uses it replaces the global operator
// new with a counting one (plain malloc while nothing is armed); other threads are never failed.
#include <cstddef>

namespace testsupport {

// The `skip`-th allocation of this thread from now (0: the next one) throws std::bad_alloc; the
// ones after it succeed again.
void FailAllocationAfter(long skip);
// Forgets an armed failure that has not happened.
void DisarmAllocationFailure();
// Whether the armed failure has happened (and has not been armed again since).
bool AllocationFailed();

}  // namespace testsupport
