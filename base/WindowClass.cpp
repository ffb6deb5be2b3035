#include "base/WindowClass.h"

#include <array>

namespace qelvane {
namespace {
std::array<WindowClass*, 8> registeredClasses{};
}

bool WindowClass::Register(WNDPROC procedure) {
    if (registered_) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = style_;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);  // shared system cursor, not ours
    wc.hbrBackground = background_;
    wc.lpszClassName = name_;
    registered_ = RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    if (!registered_) return false;
    for (WindowClass*& slot : registeredClasses)
        if (!slot || slot == this) {
            slot = this;
            break;
        }
    return true;
}

void WindowClass::UnregisterAll() {
    for (WindowClass* c : registeredClasses)
        if (c && c->registered_ && UnregisterClassW(c->name_, GetModuleHandleW(nullptr))) c->registered_ = false;
}

}  // namespace qelvane
