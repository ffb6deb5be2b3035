// Linked into the program only: the stack canary and its failure, in place of the compiler
// library's, whose start-up asks a cryptographic provider for the canary (a DLL load and
// registry reads that cost the start tens of milliseconds under Wine).
#include <windows.h>

#include <cstdint>

namespace {
constexpr std::uintptr_t kUnseeded = 0x5A3CC3A5u;  // never zero: a zero canary is easy to forge
}  // namespace

extern "C" {

// Read by every protected function on entry and checked on return. Set once, before main and
// before any protected function of ours is on the stack.
std::uintptr_t __stack_chk_guard = kUnseeded;

// The stack of the caller is damaged: end at once, calling nothing that might use it.
[[noreturn]] void __stack_chk_fail() {
    TerminateProcess(GetCurrentProcess(), 0xC0000409u);  // STATUS_STACK_BUFFER_OVERRUN
    __builtin_unreachable();
}

}  // extern "C"

namespace {

using GenRandom = BOOLEAN(WINAPI*)(PVOID, ULONG);

__attribute__((constructor(101), no_stack_protector)) void SeedStackGuard() {
    std::uintptr_t seed = 0;
    // RtlGenRandom, exported by advapi32 (a known DLL) under this name since Windows XP.
    if (HMODULE advapi = LoadLibraryExW(L"advapi32.dll", nullptr, 0)) {
        auto gen = reinterpret_cast<GenRandom>(reinterpret_cast<void (*)()>(GetProcAddress(advapi, "SystemFunction036")));
        if (!gen || !gen(&seed, sizeof seed)) seed = 0;
        FreeLibrary(advapi);
    }
    if (seed == 0) {
        LARGE_INTEGER counter{};
        QueryPerformanceCounter(&counter);
        seed = static_cast<std::uintptr_t>(counter.QuadPart) ^ (GetCurrentProcessId() << 16) ^ GetTickCount() ^
               reinterpret_cast<std::uintptr_t>(&seed);
    }
    __stack_chk_guard = seed ? seed : kUnseeded;
}

}  // namespace
