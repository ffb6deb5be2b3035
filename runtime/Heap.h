// All runtime allocations come from the process heap: global operator new and
// delete are replaced (runtime/Heap.cpp); a failed allocation is a fatal error.
#pragma once

namespace qelvane::heap {

// Called at start-up; also keeps the replacement linked into every program.
void UseProcessHeap();

}  // namespace qelvane::heap

namespace qelvane::testing {
// From now on every allocation fails, as on a machine whose memory is exhausted.
void FailEveryAllocation();
}  // namespace qelvane::testing
