// Window classes of our own, registered on first use and unregistered at the
// end, and the attach step every window procedure of ours starts with.
#pragma once

#include <windows.h>

#include "base/Messages.h"

namespace qelvane {

class WindowClass {
public:
    constexpr WindowClass(const wchar_t* name, UINT style, HBRUSH background)
        : name_(name), style_(style), background_(background) {}
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;

    // Registers the class with `procedure` unless that is done; false when it cannot be.
    bool Register(WNDPROC procedure);
    const wchar_t* Name() const { return name_; }
    // Unregisters every class registered so far that has no window left.
    static void UnregisterAll();

private:
    const wchar_t* name_;
    UINT style_;
    HBRUSH background_;  // a system colour brush, not ours
    bool registered_ = false;
};

// The window procedure of our classes: the object given to CreateWindowEx is
// kept in GWLP_USERDATA from WM_NCCREATE on, told its handle then (before
// CreateWindowEx returns it), and handles the window's messages.
template <class Owner>
LRESULT CALLBACK OwnerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* created = static_cast<Owner*>(message::Creation(lParam).lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        if (created) created->AdoptWindow(hwnd);
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!owner) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return owner->HandleMessage(msg, wParam, lParam);
}

}  // namespace qelvane
