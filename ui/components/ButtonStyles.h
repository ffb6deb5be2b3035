// Button style bits shared by the types built on the native BUTTON control.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "runtime/WinHandles.h"
#include "ui/FormModel.h"
#include "ui/components/PictureDraw.h"

namespace qelvane {

inline DWORD HAlignStyle(std::int32_t hAlign) {
    constexpr DWORD kStyles[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
    return kStyles[std::clamp(hAlign, 0, 2)];
}

inline DWORD VAlignStyle(std::int32_t vAlign) {
    constexpr DWORD kStyles[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
    return kStyles[std::clamp(vAlign, 0, 2)];
}

// The bitmap a `picture` property shows instead of the caption; empty when the
// bytes do not decode, and the caption shows.
inline UniqueBitmap PictureBitmap(const Bytes& picture) {
    if (picture.empty()) return UniqueBitmap();
    return PictureToBitmap(picture.data(), picture.size());
}

// Replaces the button-specific style bits in place (keeps the window bits) and repaints.
inline void ApplyButtonStyle(HWND hwnd, DWORD buttonStyle) {
    const DWORD windowBits = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & 0xFFFF0000u;
    SendMessageW(hwnd, BM_SETSTYLE, (windowBits | buttonStyle) & 0xFFFFu, TRUE);
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(windowBits | buttonStyle));
    InvalidateRect(hwnd, nullptr, TRUE);
}

}  // namespace qelvane
