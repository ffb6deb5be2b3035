// Small helpers that the in-process Windows tests and the end-to-end tests share: where a
// window is on the screen, and the accessible object's "itself" child.
#pragma once

#include <windows.h>
#include <oleacc.h>

namespace qelvane::testsupport {

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
