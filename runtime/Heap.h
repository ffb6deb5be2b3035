// All runtime allocations come from the process heap: global operator new and
// delete are replaced (runtime/Heap.cpp); a failed allocation is a fatal error.
#pragma once

#include <cstddef>

namespace qelvane::heap {

// Called at start-up; also keeps the replacement linked into every program.
void UseProcessHeap();
// The fatal report of an allocation of `size` bytes that failed.
[[noreturn]] void Fail(std::size_t size);

}  // namespace qelvane::heap

namespace qelvane::testing {
// From now on every allocation fails, as on a machine whose memory is exhausted.
void FailEveryAllocation();
}  // namespace qelvane::testing
