// Geometry and colour decisions of the image buttons, free of the platform so
// that the host tests cover them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

#include "ui/system/DisplayScale.h"

namespace qelvane::superbtn {

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    friend bool operator==(const Box&, const Box&) = default;
};

struct Offset {
    int dx = 0, dy = 0;
    friend bool operator==(const Offset&, const Offset&) = default;
};

struct Placement {
    int x = 0, y = 0;  // picture's top-left corner
    Box caption;       // where the caption goes
    friend bool operator==(const Placement&, const Placement&) = default;
};

inline constexpr int kPictureMargin = 3;

// Offset (extent - size) / 2, truncated towards zero as the button always did.
inline int Centred(int extent, int size) { return (extent - size) / 2; }

// Where a w x h picture goes in the item rectangle, and what is left for the caption.
// `margin` is kPictureMargin at the display's scale.
inline Placement PlacePicture(std::int32_t alignStyle, bool hasCaption, Box item, int clientWidth, int w, int h,
                              int margin = kPictureMargin) {
    Placement p{item.left + Centred(item.Width(), w), item.top + Centred(item.Height(), h), item};
    const int centredY = item.top + Centred(item.Height(), h);
    switch (alignStyle) {
    case 1:  // picture above the text
        if (hasCaption) {
            p.y = margin;
            p.caption.top += h;
        }
        break;
    case 2:  // picture right of the text
        if (hasCaption) {
            p.x = clientWidth - margin - w;
            p.y = centredY;
            const int oldLeft = p.caption.left;
            p.caption.left = margin;
            p.caption.right = p.caption.right - oldLeft - margin - w;
        } else {
            p.y = item.top;
        }
        break;
    case 3:  // overlapping: the picture sits in the corner, the text goes over it
        p.x = item.left;
        p.y = item.top;
        break;
    default:  // 0, picture left of the text
        if (hasCaption) {
            p.x = item.left + margin;
            p.y = centredY;
            p.caption.left += w + margin;
        }
        break;
    }
    return p;
}

// How far picture and caption move while the button is held down.
inline Offset PressOffset(std::int32_t pressStyle, DisplayScale scale = {}) {
    return pressStyle == 1 ? Offset{0, scale.ToDevice(2)} : Offset{scale.ToDevice(1), scale.ToDevice(1)};
}

// Adds d to all three channels of a 0x00BBGGRR colour, reducing d so that no
// channel leaves 0..255; for |d| > 255 the colour stays as it is.
inline std::uint32_t ShiftColour(std::uint32_t colour, int d) {
    if (d > 255 || d < -255) return colour;
    const int r = static_cast<int>(colour & 0xFF), g = static_cast<int>((colour >> 8) & 0xFF),
              b = static_cast<int>((colour >> 16) & 0xFF);
    if (d > 0) d = std::min(d, 255 - std::max({r, g, b}));
    if (d < 0) d = std::max(d, -std::min({r, g, b}));
    return (colour & 0xFF000000u) | static_cast<std::uint32_t>(r + d) | (static_cast<std::uint32_t>(g + d) << 8) |
           (static_cast<std::uint32_t>(b + d) << 16);
}

enum class PictureSlot { Out, In, Disabled };

struct ButtonState {
    bool pressed = false;
    bool hot = false;
    bool disabled = false;
    bool checkBoxMode = false;
};

// The slot whose picture is drawn, or nothing when no slot holds one. An empty
// choice between in and out falls back to the other one.
inline std::optional<PictureSlot> ChoosePicture(const ButtonState& s, bool hasOut, bool hasIn, bool hasDisabled) {
    PictureSlot want;
    if (s.disabled)
        want = hasDisabled ? PictureSlot::Disabled : PictureSlot::In;
    else if ((s.checkBoxMode && !s.pressed) || (!s.pressed && !s.hot))
        want = PictureSlot::Out;
    else
        want = PictureSlot::In;
    if (want == PictureSlot::Disabled) return want;
    if (want == PictureSlot::In) {
        if (hasIn) return PictureSlot::In;
        if (hasOut) return PictureSlot::Out;
        return std::nullopt;
    }
    if (hasOut) return PictureSlot::Out;
    if (hasIn) return PictureSlot::In;
    return std::nullopt;
}

}  // namespace qelvane::superbtn
