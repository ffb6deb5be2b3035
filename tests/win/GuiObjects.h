// Process-wide counts of GDI objects and windows, for leak tests. GetGuiResources
// answers on Windows; Wine only stubs it (ERROR_CALL_NOT_IMPLEMENTED), so there the GDI
// handle table is walked by index (a handle without its generation bits still names its
// entry) and our own windows are found by walking the window handles.
#pragma once

#include <windows.h>

#include <string>

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

// The live GDI objects by kind (OBJ_PEN ... OBJ_COLORSPACE), from the table: for a leak
// test's message, which says what kind of object grew.
inline std::string GdiObjectKinds() {
    int counts[15] = {};
    for (UINT_PTR index = 1; index < 0x10000; ++index) {
        const DWORD kind = GetObjectType(reinterpret_cast<HGDIOBJ>(index));
        if (kind > 0 && kind < 15) ++counts[kind];
    }
    static const char* const kNames[15] = {"",       "pens",     "brushes", "DCs",      "metafile DCs",
                                           "palettes", "fonts",  "bitmaps", "regions",  "metafiles",
                                           "memory DCs", "ext pens", "EMF DCs", "EMFs", "colour spaces"};
    std::string out;
    for (int kind = 1; kind < 15; ++kind)
        if (counts[kind]) out += (out.empty() ? "" : ", ") + std::to_string(counts[kind]) + " " + kNames[kind];
    return out;
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
