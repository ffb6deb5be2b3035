// Form units are pixels at 96 DPI; a window is built at the system's DPI. Edges are scaled, not
// sizes, so that components that meet at 96 DPI meet at every scale, and each edge is within
// half a pixel of the exact factor. At 96 DPI both directions are the identity, and from 96 DPI
// up a form value survives the trip to the device and back. Portable; no platform headers.
#pragma once

#include <cstdint>

namespace qelvane {

struct DisplayScale {
    int dpi = 96;

    struct Box {
        int left = 0, top = 0, width = 0, height = 0;
        friend bool operator==(const Box&, const Box&) = default;
    };

    constexpr int ToDevice(int form) const { return Rounded(std::int64_t{form} * dpi, 96); }
    constexpr int ToForm(int device) const { return Rounded(std::int64_t{device} * 96, dpi); }
    constexpr Box ToDevice(Box b) const { return Mapped(b, &DisplayScale::ToDevice); }
    constexpr Box ToForm(Box b) const { return Mapped(b, &DisplayScale::ToForm); }

private:
    // Halves away from zero, so that a negative value scales like its mirror.
    static constexpr int Rounded(std::int64_t num, std::int64_t den) {
        const std::int64_t half = den / 2;
        return static_cast<int>(num >= 0 ? (num + half) / den : -((-num + half) / den));
    }
    constexpr Box Mapped(Box b, int (DisplayScale::*to)(int) const) const {
        const int left = (this->*to)(b.left), top = (this->*to)(b.top);
        return {left, top, (this->*to)(b.left + b.width) - left, (this->*to)(b.top + b.height) - top};
    }
};

}  // namespace qelvane
