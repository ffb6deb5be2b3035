// Window classes of our own, registered on first use and unregistered at the
// end, and the attach step every window procedure of ours starts with.
#pragma once

#include <windows.h>

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

// The object given to CreateWindowEx for a window of one of our classes: kept
// in GWLP_USERDATA from WM_NCCREATE on, and told its handle then, before
// CreateWindowEx returns it.
template <class Owner>
Owner* AttachedOwner(HWND hwnd, UINT msg, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        if (owner) owner->AdoptWindow(hwnd);
    }
    return reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace qelvane
