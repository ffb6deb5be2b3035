// All runtime allocations come from the process heap: global operator new and
// delete are replaced (runtime/Heap.cpp); a failed allocation is a fatal error.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qelvane::heap {

// Called at start-up; also keeps the replacement linked into every program.
void UseProcessHeap();
// The fatal report of an allocation of `size` bytes that failed.
[[noreturn]] void Fail(std::size_t size);

}  // namespace qelvane::heap

namespace qelvane::testing {
// From now on every allocation fails, as on a machine whose memory is exhausted.
void FailEveryAllocation();
// Counts allocations from now on and makes the nth fail (1: the next one; 0: none).
void FailAllocationNumber(std::uint64_t n);
// Allocations since FailAllocationNumber was last called.
std::uint64_t AllocationCount();
}  // namespace qelvane::testing
