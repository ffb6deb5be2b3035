// The QR code picture of the vendor's text, made at build time: libqrencode finds the modules,
// and they are drawn in the program's look (blue rounded modules, red finder squares, on
// white, with a quiet zone inside the picture) and stored as a baseline JPEG.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qelvane::vendorfile {

// The picture box shows the code in 95 x 95 pixels at 100 %, with no margin of its own. A
// phone needs a light border of 4 modules and modules of at least 2.5 screen pixels.
inline constexpr int kQrBoxPixels = 95;
inline constexpr int kQrQuietModules = 4;
inline constexpr double kQrMinModulePixels = 2.5;
// The widest code (QR versions grow by 4 modules from 21) whose modules, with the quiet zone,
// are still that large in the box: 29 modules, 2.57 pixels each.
constexpr int QrMaxModules() {
    int width = 21;
    while ((width + 4 + 2 * kQrQuietModules) * kQrMinModulePixels <= kQrBoxPixels) width += 4;
    return width;
}
inline constexpr int kQrMaxModules = QrMaxModules();
static_assert(kQrMaxModules == 29);
inline constexpr int kQrPictureSide = 226;

// The modules of `text` (UTF-8 bytes, error correction M), row by row, true for dark; empty
// when libqrencode cannot encode it at all.
struct QrModules {
    int width = 0;
    std::vector<bool> dark;
    bool Dark(int row, int column) const { return dark[static_cast<std::size_t>(row * width + column)]; }
};
std::optional<QrModules> EncodeQr(const std::string& text);

// The longest start of `text`, cut between characters, whose code fits kQrMaxModules.
std::string LongestFittingStart(const std::string& text);

// A kQrPictureSide-square baseline JPEG of the modules. The same modules give the same bytes.
std::vector<std::uint8_t> QrPictureJpeg(const QrModules& modules);

}  // namespace qelvane::vendorfile
