#include "runtime/Heap.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <new>

#include "runtime/ErrorText.h"
#include "runtime/Runtime.h"

namespace qelvane::heap {
namespace {

HANDLE Heap() {
    static const HANDLE heap = GetProcessHeap();
    return heap;
}

bool failEveryAllocation = false;
std::uint64_t allocations = 0;  // since the count was last reset
std::uint64_t failingAllocation = 0;  // the one that fails; 0: none

void* Allocate(std::size_t size) {
    ++allocations;
    if (failEveryAllocation || allocations == failingAllocation) return nullptr;
    return HeapAlloc(Heap(), 0, size ? size : 1);
}

}  // namespace

[[noreturn]] void Fail(std::size_t size) {
    // Not on the heap: reporting must not need what just ran out.
    const AllocationFailureText message(size);
    ReportRuntimeError(message.View(), 0, 0, 0);
}

namespace {

void* AllocateOrFail(std::size_t size) {
    if (void* p = Allocate(size)) return p;
    Fail(size);
}

// Over-aligned blocks keep the heap block's address just below the aligned one.
void* AllocateAligned(std::size_t size, std::size_t align) {
    const std::size_t total = size + align + sizeof(void*);
    void* raw = total < size ? nullptr : Allocate(total);
    if (!raw) Fail(size);
    const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(raw) + sizeof(void*);
    const std::uintptr_t aligned = (start + align - 1) & ~(static_cast<std::uintptr_t>(align) - 1);
    reinterpret_cast<void**>(aligned)[-1] = raw;
    return reinterpret_cast<void*>(aligned);
}

void Free(void* p) {
    if (p) HeapFree(Heap(), 0, p);
}

void FreeAligned(void* p) {
    if (p) HeapFree(Heap(), 0, static_cast<void**>(p)[-1]);
}

}  // namespace

void UseProcessHeap() { (void)Heap(); }

}  // namespace qelvane::heap

namespace qelvane::testing {
void FailEveryAllocation() { heap::failEveryAllocation = true; }
void FailAllocationNumber(std::uint64_t n) {
    heap::allocations = 0;
    heap::failingAllocation = n;
}
std::uint64_t AllocationCount() { return heap::allocations; }
}  // namespace qelvane::testing

using qelvane::heap::AllocateAligned;
using qelvane::heap::AllocateOrFail;
using qelvane::heap::Free;
using qelvane::heap::FreeAligned;

void* operator new(std::size_t size) { return AllocateOrFail(size); }
void* operator new[](std::size_t size) { return AllocateOrFail(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrFail(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrFail(size); }
void* operator new(std::size_t size, std::align_val_t a) {
    return AllocateAligned(size, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t size, std::align_val_t a) {
    return AllocateAligned(size, static_cast<std::size_t>(a));
}
void* operator new(std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t size, std::align_val_t a, const std::nothrow_t&) noexcept {
    return AllocateAligned(size, static_cast<std::size_t>(a));
}

void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, std::size_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t) noexcept { Free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Free(p); }
void operator delete(void* p, std::align_val_t) noexcept { FreeAligned(p); }
void operator delete[](void* p, std::align_val_t) noexcept { FreeAligned(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { FreeAligned(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { FreeAligned(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { FreeAligned(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { FreeAligned(p); }
