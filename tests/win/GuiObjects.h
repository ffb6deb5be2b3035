// Process-wide counts of GDI objects and windows, for leak tests. GetGuiResources
// answers on Windows; Wine only stubs it (ERROR_CALL_NOT_IMPLEMENTED), so there the GDI
// handle table is walked by index (a handle without its generation bits still names its
// entry) and our own windows are found by walking the window handles.
#pragma once

#include <windows.h>

namespace qelvane::testing {

inline int CountGdiObjects() {
    SetLastError(0);
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return static_cast<int>(reported);
    int live = 0;
    for (UINT_PTR index = 1; index < 0x10000; ++index)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++live;
    return live;
}

inline int CountUserObjects() {
    SetLastError(0);
    const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (reported != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return static_cast<int>(reported);
    // Windows only (tooltips included); icons and cursors are counted by our own owners.
    int live = 0;
    for (UINT_PTR index = 0x20; index < 0x10000; index += 2) {
        const HWND hwnd = reinterpret_cast<HWND>(index);
        DWORD pid = 0;
        if (IsWindow(hwnd) && GetWindowThreadProcessId(hwnd, &pid) != 0 && pid == GetCurrentProcessId())
            ++live;
    }
    return live;
}

}  // namespace qelvane::testing
