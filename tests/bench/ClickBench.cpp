// In-process: where the start-up time goes, and the time of one "获取最新价格" click until
// the price label has been repainted (the real form and routines, a click sent to the button,
// the label repainted before the click returns, then whatever paint is still pending
// flushed), beside a baseline that makes the click's native calls directly: the button drawn
// pressed and released, the label's text set twice (the routine writes the default text, then
// the price) and the same repaint of the windows beneath it each time. Medians, min and max
// over many clicks.
//   ClickBench.exe [CLICKS] [WARMUPS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "app/Routines.h"
#include "app/ServiceCatalogue.h"
#include "app/Identifiers.h"
#include "app/Testing.h"
#include "runtime/Runtime.h"
#include "app/StoredForm.h"
#include "ui/form/FormCodec.h"
#include "ui/window/WindowLayer.h"
#include "ui/pictures/Picture.h"
#include "tests/support/WindowTestSupport.h"

namespace {

constexpr std::uint32_t kThirdRadio = qelvane::kRadioBoxIds[0][2];  // 单选框3

double Now(LARGE_INTEGER frequency) {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

template <class Work>
double MedianMs(int times, LARGE_INTEGER frequency, Work&& work) {
    std::vector<double> ms;
    for (int i = 0; i < times; ++i) {
        const double start = Now(frequency);
        work();
        ms.push_back(Now(frequency) - start);
    }
    return Median(ms);
}

// What the label does for a new text, made directly: the text, then everything beneath it
// repainted from the bottom of the Z order up, then the label itself.
void SetLabelDirectly(HWND label, const wchar_t* text) {
    SetWindowTextW(label, text);
    HWND top = GetAncestor(label, GA_ROOT);
    RECT screen;
    GetClientRect(label, &screen);
    MapWindowPoints(label, HWND_DESKTOP, reinterpret_cast<POINT*>(&screen), 2);
    RECT inTop = screen;
    MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&inTop), 2);
    InvalidateRect(top, &inTop, TRUE);
    UpdateWindow(top);
    std::vector<HWND> below;
    std::vector<HWND> pending{top};
    while (!pending.empty()) {
        HWND parent = pending.back();
        pending.pop_back();
        for (HWND child = GetWindow(GetTopWindow(parent), GW_HWNDLAST); child; child = GetWindow(child, GW_HWNDPREV))
            if (IsWindowVisible(child)) {
                below.push_back(child);
                pending.push_back(child);
            }
    }
    for (HWND w : below) {
        RECT r, overlap;
        GetWindowRect(w, &r);
        if (!IntersectRect(&overlap, &r, &screen)) continue;
        MapWindowPoints(HWND_DESKTOP, w, reinterpret_cast<POINT*>(&overlap), 2);
        RedrawWindow(w, &overlap, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
    }
    InvalidateRect(label, nullptr, FALSE);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int clicks = argc > 1 ? std::max(1, _wtoi(argv[1])) : 201;
    const int warmups = argc > 2 ? std::max(0, _wtoi(argv[2])) : 10;
    using namespace qelvane;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);

    // Where the start-up time goes.
    const double runtimeStart =
        MedianMs(1, frequency, [] { InitializeRuntime({kStoredForm, kStoredFormSize}, ProgramRoutines()); });
    std::optional<FormDescription> form;
    const double formDecode =
        MedianMs(21, frequency, [&] { form = DecodeForm({kStoredForm, kStoredFormSize}, ProgramRoutines()); });
    Bytes qrBytes, badgeBytes;
    for (const ComponentEntry& e : form->windows[0].components) {
        if (const auto* box = std::get_if<PicBoxProps>(&e.settings)) qrBytes = box->picture;
        if (const auto* b = std::get_if<SuperBtnProps>(&e.settings); b && !b->picOut.empty()) badgeBytes = b->picOut;
    }
    const double qrDecode = MedianMs(21, frequency, [&] { (void)DecodePicture(qrBytes.data(), qrBytes.size()); });
    const double badgeDecode =
        MedianMs(21, frequency, [&] { (void)DecodePicture(badgeBytes.data(), badgeBytes.size()); });
    // The window built alone (hidden, then thrown away), and the real load: build, show, first paint.
    const double build = MedianMs(5, frequency, [&] { (void)FormWindow::Build(form->windows[0], RuntimeWindowEvents()); });
    const double windowOpen = MedianMs(1, frequency, [] { LoadWindow(kMainWindowId); });
    std::wprintf(L"profile runtime_start_ms=%.3f form_decode_ms=%.3f qr_decode_ms=%.3f badge_decode_ms=%.3f "
                 L"window_build_ms=%.3f build_show_first_paint_ms=%.3f\n",
                 runtimeStart, formDecode, qrDecode, badgeDecode, build, windowOpen);

    FormWindow* window = FindLoadedWindow(kMainWindowId);
    ComponentSlot* button = window ? window->Slot(kButtonId) : nullptr;
    ComponentSlot* label = window ? window->Slot(kPriceLabelId) : nullptr;
    if (!button || !button->object || !label || !label->object) {
        std::fwprintf(stderr, L"ClickBench: no button or label\n");
        return 1;
    }
    const HWND main = window->Hwnd();
    const HWND hwnd = button->object->Hwnd();
    // The third box checked as a user checks it, which unchecks the second (checked in the form):
    // with one box checked the click sets the label twice, as the baseline does.
    ComponentSlot* third = window->Slot(kThirdRadio);
    SendMessageW(third->object->Hwnd(), BM_CLICK, 0, 0);
    qelvane::testsupport::PumpQueued();
    UpdateWindow(main);
    for (std::uint32_t id : kRadioBoxIds[0])
        if (GetProperty(kMainWindowId, id, kCheckedProperty, -1) != (id == kThirdRadio ? 1u : 0u)) {
            std::fwprintf(stderr, L"ClickBench: more than the third box checked\n");
            return 1;
        }

    auto measure = [&](auto&& click) {
        std::vector<double> times;
        for (int i = 0; i < warmups + clicks; ++i) {
            const double start = Now(frequency);
            click();
            RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            GdiFlush();
            const double elapsed = Now(frequency) - start;
            if (i >= warmups) times.push_back(elapsed);
            qelvane::testsupport::PumpQueued();
        }
        std::sort(times.begin(), times.end());
        return times;
    };
    const std::vector<double> real = measure([&] { SendMessageW(hwnd, BM_CLICK, 0, 0); });
    const HWND labelHwnd = label->object->Hwnd();
    const std::vector<double> direct = measure([&] {
        // The button pressed and released, as a click shows it, without its notification.
        SendMessageW(hwnd, BM_SETSTATE, TRUE, 0);
        SendMessageW(hwnd, BM_SETSTATE, FALSE, 0);
        SetLabelDirectly(labelHwnd, L"价格：");
        SetLabelDirectly(labelHwnd, L"价格：30元一百个微信真人粉丝");
    });
    for (const auto& [name, t] : {std::pair{L"click", &real}, std::pair{L"baseline", &direct}})
        std::wprintf(L"%ls median_ms=%.3f min_ms=%.3f max_ms=%.3f clicks=%d\n", name, Median(*t), t->front(),
                     t->back(), clicks);
    std::fflush(stdout);
    ExitProgram(0);
    return 0;
}
