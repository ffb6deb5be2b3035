// Time of one "获取最新价格" click until the price label has been repainted, in-process:
// the real form and routines, a click sent to the button, the label repainted before the
// click returns (the label repaints synchronously), then whatever paint is still pending
// flushed. Prints the median, min and max over many clicks.
//   ClickBench.exe [CLICKS] [WARMUPS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/Routines.h"
#include "app/ServiceCatalogue.h"
#include "app/Identifiers.h"
#include "runtime/Runtime.h"
#include "app/StoredForm.h"
#include "ui/WindowLayer.h"

namespace {

constexpr std::uint32_t kThirdRadio = qelvane::kRadioBoxIds[0][2];  // 单选框3

double Now(LARGE_INTEGER frequency) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int clicks = argc > 1 ? std::max(1, _wtoi(argv[1])) : 201;
    const int warmups = argc > 2 ? std::max(0, _wtoi(argv[2])) : 10;
    using namespace qelvane;
    InitializeRuntime({kStoredForm, kStoredFormSize}, ProgramRoutines());
    LoadWindow(kMainWindowId);
    FormWindow* window = FindLoadedWindow(kMainWindowId);
    ComponentSlot* button = window ? window->Slot(kButtonId) : nullptr;
    if (!button || !button->object) {
        std::fwprintf(stderr, L"ClickBench: no button\n");
        return 1;
    }
    const HWND main = window->Hwnd();
    const HWND hwnd = button->object->Hwnd();
    // The longest lookup on page 0: the service is found on the third box.
    SetProperty(kMainWindowId, kThirdRadio, kCheckedProperty, -1, 1);
    Pump();
    UpdateWindow(main);

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int i = 0; i < warmups + clicks; ++i) {
        const double start = Now(frequency);
        SendMessageW(hwnd, BM_CLICK, 0, 0);
        RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
        const double elapsed = Now(frequency) - start;
        if (i >= warmups) times.push_back(elapsed);
        Pump();
    }
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    std::wprintf(L"click median_ms=%.3f min_ms=%.3f max_ms=%.3f clicks=%d\n", median, times.front(),
                 times.back(), clicks);
    std::fflush(stdout);
    ExitProgram(0);
    return 0;
}
