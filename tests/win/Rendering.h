// Pixels of what a window paints, for the tests that look at the screen: one
// 32-bit bitmap of ours, painted by the window or copied from the screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "app/Testing.h"
#include "base/WinHandles.h"
#include "ui/pictures/PictureDraw.h"

namespace qelvane::wintest {

// Pixels as 0x00BBGGRR, like COLORREF, top row first.
struct Rendered {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
    bool operator==(const Rendered&) const = default;
};

// A width x height bitmap prefilled with `fill`, then painted by `paint(dc)`.
template <class Paint>
Rendered RenderWith(int width, int height, COLORREF fill, Paint&& paint) {
    Rendered out;
    out.width = width;
    out.height = height;
    BITMAPINFO bi = TopDownDib32(width, height);
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueDc dc(CreateCompatibleDC(nullptr));
    if (!dib || !dc || !bits) return out;
    ScopedSelect select(dc.get(), dib.get());
    auto* px = static_cast<std::uint32_t*>(bits);
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const std::uint32_t word = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    for (std::size_t i = 0; i < n; ++i) px[i] = word;
    paint(dc.get());
    GdiFlush();
    out.pixels.resize(n);
    for (std::size_t i = 0; i < n; ++i) out.pixels[i] = RGB((px[i] >> 16) & 0xFF, (px[i] >> 8) & 0xFF, px[i] & 0xFF);
    return out;
}

// What the window paints of its client area when asked to print it.
inline Rendered PrintClient(HWND hwnd, UINT flags = PRF_CLIENT) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return RenderWith(r.right, r.bottom, RGB(0, 0, 0), [&](HDC dc) {
        SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), flags);
    });
}

// The client area as it is on screen now, read from the window's own DC.
inline Rendered OnScreen(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return RenderWith(r.right, r.bottom, RGB(0, 0, 0), [&](HDC dc) {
        HDC source = GetDC(hwnd);
        BitBlt(dc, 0, 0, r.right, r.bottom, source, 0, 0, SRCCOPY);
        ReleaseDC(hwnd, source);
    });
}

}  // namespace qelvane::wintest
