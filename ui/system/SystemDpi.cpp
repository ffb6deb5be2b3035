#include "ui/system/SystemDpi.h"

#include "ui/Testing.h"

namespace qelvane {
namespace {

int forcedDpi = 0;  // a test's, or 0

// A user32 function of a later Windows than the oldest we run on; null where it has none.
template <class Function>
Function UserFunction(const char* name) {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    return user ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user, name))) : nullptr;
}

}  // namespace

void DeclareDpiAwareness() {
    // The manifest says as much; this is for a start where it is not read. Per monitor on
    // Windows 10 1703 on, else for the whole system (Vista on); both refuse once set.
    using SetContextFunction = BOOL(WINAPI*)(HANDLE);
    using SetAwareFunction = BOOL(WINAPI*)();
    const auto perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    if (auto set = UserFunction<SetContextFunction>("SetProcessDpiAwarenessContext"); set && set(perMonitorV2)) return;
    if (auto set = UserFunction<SetAwareFunction>("SetProcessDPIAware")) set();
}

int SystemDpi() {
    if (forcedDpi) return forcedDpi;
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int MonitorDpi(HWND hwnd) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto get = UserFunction<GetDpiForWindowFunction>("GetDpiForWindow");
    return get && hwnd && !forcedDpi ? static_cast<int>(get(hwnd)) : 0;
}

namespace testing {
void SetDisplayDpi(int dpi) { forcedDpi = dpi; }
int ForcedDisplayDpi() { return forcedDpi; }
}  // namespace testing

}  // namespace qelvane
