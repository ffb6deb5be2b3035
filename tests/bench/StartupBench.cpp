// Start-up time to a visible window, for two programs started alternately so that drift in
// the machine's load falls on both alike.
//   StartupBench.exe FIRST.exe SECOND.exe [RUNS] [WARMUPS]
// Prints one "result" line per program (median, min, max in ms), the ratio of medians, and
// one "memory" line per program: the median peak working set, read once the window is up.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->pid && IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

double Now(LARGE_INTEGER frequency) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::wstring FolderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

struct Start {
    double ms;          // negative on failure
    double peakKb = 0;  // peak working set once the window is up and painted
};

// Milliseconds from just before CreateProcess until a top-level window of the process is
// visible, and its peak memory. Closes the program afterwards.
Start TimeOneStart(const std::wstring& exe, LARGE_INTEGER frequency) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    const std::wstring folder = FolderOf(exe);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = Now(frequency);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        std::fwprintf(stderr, L"cannot start %ls: error %lu\n", exe.c_str(), GetLastError());
        return {-1};
    }
    Search search{process.dwProcessId, nullptr};
    double elapsed = -1;
    const double giveUp = start + 20000;
    for (;;) {
        search.found = nullptr;
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
        const double now = Now(frequency);
        if (search.found) {
            elapsed = now - start;
            break;
        }
        if (now > giveUp || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
        // 1 ms keeps the poll from taking a core away from the program it measures.
        Sleep(1);
    }
    if (elapsed < 0) std::fwprintf(stderr, L"%ls: no visible window\n", exe.c_str());
    wchar_t cls[64] = {};
    if (search.found && GetClassNameW(search.found, cls, 64) && std::wstring(cls) == L"#32770") {
        std::fwprintf(stderr, L"%ls: a message box opened instead of the window\n", exe.c_str());
        elapsed = -1;
    }
    double peakKb = 0;
    if (search.found) {
        // Let the first paint finish, so the peak includes the pictures drawn.
        WaitForInputIdle(process.hProcess, 2000);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (K32GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters))
            peakKb = static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
        PostMessageW(search.found, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        std::fwprintf(stderr, L"%ls: did not close, terminated\n", exe.c_str());
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {elapsed, peakKb};
}

struct Summary {
    double median, min, max;
};

Summary Summarise(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return {median, times.front(), times.back()};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: StartupBench FIRST.exe SECOND.exe [RUNS] [WARMUPS]\n");
        return 2;
    }
    const std::wstring exes[2] = {argv[1], argv[2]};
    const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 21;
    const int warmups = argc > 4 ? std::max(0, _wtoi(argv[4])) : 2;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);

    for (int i = 0; i < warmups; ++i)
        for (const std::wstring& exe : exes)
            if (TimeOneStart(exe, frequency).ms < 0) return 1;

    std::vector<double> times[2], peaks[2];
    for (int i = 0; i < runs; ++i) {
        // Alternate which goes first, so neither always follows the other's exit.
        for (int k = 0; k < 2; ++k) {
            const int which = (i + k) % 2;
            const Start t = TimeOneStart(exes[which], frequency);
            if (t.ms < 0) return 1;
            times[which].push_back(t.ms);
            peaks[which].push_back(t.peakKb);
        }
    }
    Summary summary[2];
    for (int k = 0; k < 2; ++k) {
        summary[k] = Summarise(times[k]);
        std::wprintf(L"result %ls median_ms=%.2f min_ms=%.2f max_ms=%.2f runs=%d\n",
                     exes[k].c_str(), summary[k].median, summary[k].min, summary[k].max, runs);
    }
    std::wprintf(L"ratio %.3f\n", summary[0].median / summary[1].median);
    for (int k = 0; k < 2; ++k)
        std::wprintf(L"memory %ls median_peak_kb=%.0f\n", exes[k].c_str(), Summarise(peaks[k]).median);
    return 0;
}
