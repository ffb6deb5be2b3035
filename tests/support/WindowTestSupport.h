// Small helpers that the in-process Windows tests, the end-to-end tests and the benchmarks share:
// running the queued messages, real input, where a window is on the screen, and the accessible
// object's "itself" child.
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

// ---- Real input, through the system's input queue as a user's ----

namespace detail {
inline INPUT AbsoluteMouse(int x, int y, DWORD buttons) {
    const long long w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    // Rounded up: Wine maps back with truncation, and rounding down lands one pixel short.
    input.mi.dx = static_cast<LONG>((x * 65536LL + w - 1) / w);
    input.mi.dy = static_cast<LONG>((y * 65536LL + h - 1) / h);
    // Button events carry the position too, or Wine may take them at the old one.
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    return input;
}
}  // namespace detail

// One absolute mouse event at a screen point, with the button flags given (MOUSEEVENTF_LEFTDOWN...).
inline void MouseAt(int x, int y, DWORD buttons = 0) {
    INPUT input = detail::AbsoluteMouse(x, y, buttons);
    SendInput(1, &input, sizeof input);
}
inline void MovePointer(int x, int y) { MouseAt(x, y); }
inline void ClickAt(int x, int y) {
    MovePointer(x, y);
    INPUT inputs[2] = {detail::AbsoluteMouse(x, y, MOUSEEVENTF_LEFTDOWN), detail::AbsoluteMouse(x, y, MOUSEEVENTF_LEFTUP)};
    SendInput(2, inputs, sizeof(INPUT));
}
// modifier: VK_MENU, VK_SHIFT, ... held around vk.
inline void PressKey(WORD vk, WORD modifier = 0) {
    INPUT inputs[4]{};
    const WORD keys[4] = {modifier, vk, vk, modifier};
    for (int i = 0; i < 4; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i];
        inputs[i].ki.wScan = static_cast<WORD>(MapVirtualKeyW(keys[i], MAPVK_VK_TO_VSC));
        if (i >= 2) inputs[i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    if (modifier)
        SendInput(4, inputs, sizeof(INPUT));
    else
        SendInput(2, inputs + 1, sizeof(INPUT));
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
