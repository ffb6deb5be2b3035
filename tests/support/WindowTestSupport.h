// Small helpers that the in-process Windows tests, the end-to-end tests and the benchmarks share:
// running the queued messages, where a window is on the screen, and the accessible object's
// "itself" child.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <vector>

namespace qelvane::testsupport {

// Runs the messages queued now, each offered to `preTranslate` first (the runtime's step, for
// a test that runs the runtime's windows) and else translated and dispatched. A WM_QUIT is left
// in the queue for the loop under test.
template <class PreTranslate>
void PumpQueued(PreTranslate preTranslate) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!preTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
inline void PumpQueued() {
    PumpQueued([](MSG&) { return false; });
}

// Runs messages for `ms` milliseconds: for what other processes send or post meanwhile.
inline void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        PumpQueued();
        Sleep(10);
    }
}

namespace detail {
struct WindowSearch {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> found;
};
inline BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->pid && (!search->visibleOnly || IsWindowVisible(hwnd))) search->found.push_back(hwnd);
    return TRUE;
}
}  // namespace detail

// The top-level windows of a process, in z-order; only the visible ones if asked.
inline std::vector<HWND> TopLevelWindowsOf(DWORD pid, bool visibleOnly) {
    detail::WindowSearch search{pid, visibleOnly, {}};
    EnumWindows(&detail::CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The middle of a window, in screen coordinates: where a user's click lands.
inline POINT CentreOnScreen(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// The child identifier that asks an accessible object about itself.
inline VARIANT Self() {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

}  // namespace qelvane::testsupport
