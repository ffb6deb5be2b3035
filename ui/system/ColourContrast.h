// Contrast as WCAG 2.1 measures it, and the colour a text is drawn in under the user's colour
// scheme. Portable, so that the rules are tested on the host.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace qelvane {

// The system colours the components draw with (0x00BBGGRR), and whether the user asked for
// high contrast.
struct SchemeColours {
    bool highContrast = false;
    std::uint32_t face = 0xF0F0F0;
    std::uint32_t text = 0x000000;
    std::uint32_t grayText = 0x808080;
    std::uint32_t highlight = 0xD77800;
    std::uint32_t highlightText = 0xFFFFFF;
};

inline constexpr double kMinTextContrast = 4.5;  // WCAG 2.1 AA for text
inline constexpr double kDarkFaceLuminance = 0.2;

inline double RelativeLuminance(std::uint32_t colour) {
    const auto channel = [](std::uint32_t c) {
        const double s = static_cast<double>(c & 0xFF) / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour) + 0.7152 * channel(colour >> 8) + 0.0722 * channel(colour >> 16);
}

inline double ContrastRatio(std::uint32_t a, std::uint32_t b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

inline bool DarkFace(const SchemeColours& scheme) { return RelativeLuminance(scheme.face) < kDarkFaceLuminance; }

// A text colour of the form, to be drawn on `background`. In high contrast: the scheme's button
// text. On a dark face, a colour that would read below 4.5 : 1 gives way to the button text, or
// to black or white where even that reads worse. Otherwise, as the form says.
inline std::uint32_t TextColourFor(std::uint32_t wanted, std::uint32_t background, const SchemeColours& scheme) {
    if (scheme.highContrast) return scheme.text;
    if (!DarkFace(scheme) || ContrastRatio(wanted, background) >= kMinTextContrast) return wanted;
    if (ContrastRatio(scheme.text, background) >= kMinTextContrast) return scheme.text;
    return ContrastRatio(0x000000, background) >= ContrastRatio(0xFFFFFF, background) ? 0x000000u : 0xFFFFFFu;
}

}  // namespace qelvane
