// Start-up time to a fully painted window, for programs started in turn so that drift in the
// machine's load falls on all alike. Painted is judged from outside, on the screen: the page
// headers, the four radio boxes' captions, the push button's caption and the price label's
// text are there, on the face colour (not on a window not yet painted) and, for a
// program marked with a leading '+', the QR code and the QQ badge are drawn too, so that work
// put off past the first paint cannot look faster.
//   StartupBench.exe RUNS WARMUPS [+]A.exe [+]B.exe ...
// Prints one "result" line per program (median, min, max in ms), the ratio of each median to
// the first's, and one "memory" line per program: the median peak working set once painted.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/WindowTestSupport.h"

namespace {

// Client-area places of what must be on screen (the same in every program measured).
constexpr RECT kLabel{8, 258, 200, 296};
constexpr RECT kTabHeaders{2, 2, 240, 22};
// The four radio boxes' captions on page 0, and the push button's caption.
constexpr RECT kCaptions[] = {{28, 34, 460, 62}, {28, 82, 460, 110}, {28, 130, 460, 158}, {28, 178, 460, 206}};
constexpr RECT kButtonCaption{30, 318, 170, 338};
constexpr RECT kQr{383, 263, 478, 358};
constexpr RECT kBadge{253, 264, 330, 286};

// Counts of pixels in three places of the window's client area, read from the screen.
struct Seen {
    int face = 0;      // the button-face grey around the texts: a window not yet painted is
                       // black or white, and black would pass for ink
    int labelInk = 0;  // dark: the label's text
    int tabInk = 0;    // the page headers' texts
    int captionInk[4] = {};  // each radio box's caption
    int buttonInk = 0;      // the push button's caption
    int qrRed = 0;     // the QR code's red finder squares
    int badgeBlue = 0; // the badge's blue
};

Seen Look(HWND hwnd) {
    Seen seen;
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* px = static_cast<const std::uint32_t*>(bits);
    // The places are at 100 %; the window is built at the display's scale.
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    auto count = [&](const RECT& at100, auto is) {
        const RECT r{MulDiv(at100.left, dpi, 96), MulDiv(at100.top, dpi, 96), MulDiv(at100.right, dpi, 96),
                     MulDiv(at100.bottom, dpi, 96)};
        int n = 0;
        for (int y = r.top; y < r.bottom && y < client.bottom; ++y)
            for (int x = r.left; x < r.right && x < client.right; ++x) {
                const std::uint32_t v = px[y * client.right + x];
                n += is(int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF));
            }
        return n;
    };
    if (bits) {
        auto dark = [](int r, int g, int b) { return r < 90 && g < 90 && b < 90; };
        const COLORREF f = GetSysColor(COLOR_BTNFACE);
        auto face = [&](int r, int g, int b) {
            return std::abs(r - GetRValue(f)) < 8 && std::abs(g - GetGValue(f)) < 8 && std::abs(b - GetBValue(f)) < 8;
        };
        seen.face = count(kLabel, face) + count(kTabHeaders, face) + count(kCaptions[0], face);
        seen.labelInk = count(kLabel, dark);
        seen.tabInk = count(kTabHeaders, dark);
        for (int i = 0; i < 4; ++i) seen.captionInk[i] = count(kCaptions[i], dark);
        seen.buttonInk = count(kButtonCaption, dark);
        seen.qrRed = count(kQr, [](int r, int g, int b) { return r > 150 && g < 110 && b < 110; });
        seen.badgeBlue = count(kBadge, [](int r, int, int b) { return b > r + 40; });
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return seen;
}

bool Painted(HWND hwnd, bool withPictures) {
    const Seen s = Look(hwnd);
    auto area = [](const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); };
    const bool captions = std::all_of(std::begin(s.captionInk), std::end(s.captionInk), [](int n) { return n >= 30; });
    return s.face >= (area(kLabel) + area(kTabHeaders) + area(kCaptions[0])) / 2 && s.labelInk >= 15 &&
           s.tabInk >= 30 && captions && s.buttonInk >= 20 && (!withPictures || (s.qrRed >= 50 && s.badgeBlue >= 50));
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
// visible and painted, and its peak memory. Closes the program afterwards.
Start TimeOneStart(const std::wstring& exe, bool withPictures, LARGE_INTEGER frequency) {
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
    HWND found = nullptr;  // the first visible window of the program
    double elapsed = -1;
    const double giveUp = start + 20000;
    for (;;) {
        const auto shown = qelvane::testsupport::TopLevelWindowsOf(process.dwProcessId, true);
        found = shown.empty() ? nullptr : shown.front();
        const double now = Now(frequency);
        if (found && Painted(found, withPictures)) {
            elapsed = now - start;
            break;
        }
        if (now > giveUp || WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
        // 1 ms keeps the poll from taking a core away from the program it measures.
        Sleep(1);
    }
    if (elapsed < 0) std::fwprintf(stderr, L"%ls: no painted window\n", exe.c_str());
    wchar_t cls[64] = {};
    if (found && GetClassNameW(found, cls, 64) && std::wstring(cls) == L"#32770") {
        std::fwprintf(stderr, L"%ls: a message box opened instead of the window\n", exe.c_str());
        elapsed = -1;
    }
    double peakKb = 0;
    if (found) {
        // Let the first paint finish, so the peak includes the pictures drawn.
        WaitForInputIdle(process.hProcess, 2000);
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (K32GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters))
            peakKb = static_cast<double>(counters.PeakWorkingSetSize) / 1024.0;
        PostMessageW(found, WM_CLOSE, 0, 0);
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
    if (argc < 4) {
        std::fwprintf(stderr, L"usage: StartupBench RUNS WARMUPS [+]A.exe [[+]B.exe ...]\n");
        return 2;
    }
    SetProcessDPIAware();  // the screen in real pixels, at any scale
    const int runs = std::max(1, _wtoi(argv[1]));
    const int warmups = std::max(0, _wtoi(argv[2]));
    std::vector<std::wstring> exes;
    std::vector<bool> pictures;
    for (int i = 3; i < argc; ++i) {
        const bool plus = argv[i][0] == L'+';
        exes.push_back(argv[i] + (plus ? 1 : 0));
        pictures.push_back(plus);
    }
    const std::size_t n = exes.size();
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);

    for (int i = 0; i < warmups; ++i)
        for (std::size_t k = 0; k < n; ++k)
            if (TimeOneStart(exes[k], pictures[k], frequency).ms < 0) return 1;

    std::vector<std::vector<double>> times(n), peaks(n);
    for (int i = 0; i < runs; ++i) {
        // Rotate which goes first, so that none always follows the same one's exit.
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t which = (static_cast<std::size_t>(i) + k) % n;
            const Start t = TimeOneStart(exes[which], pictures[which], frequency);
            if (t.ms < 0) return 1;
            times[which].push_back(t.ms);
            peaks[which].push_back(t.peakKb);
        }
    }
    std::vector<Summary> summary(n);
    for (std::size_t k = 0; k < n; ++k) {
        summary[k] = Summarise(times[k]);
        std::wprintf(L"result %ls median_ms=%.2f min_ms=%.2f max_ms=%.2f runs=%d\n", exes[k].c_str(),
                     summary[k].median, summary[k].min, summary[k].max, runs);
    }
    for (std::size_t k = 1; k < n; ++k)
        std::wprintf(L"ratio %ls %.3f\n", exes[k].c_str(), summary[0].median / summary[k].median);
    for (std::size_t k = 0; k < n; ++k)
        std::wprintf(L"memory %ls median_peak_kb=%.0f\n", exes[k].c_str(), Summarise(peaks[k]).median);
    return 0;
}
