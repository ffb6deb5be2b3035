// Pictures carried as the bytes of image files: recognising the format,
// decoding (PNG with libpng, JPEG with libjpeg) and the blend over a background.
// Portable: no window is needed, so all of it is tested on the host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace qelvane {

enum class PictureFormat { None, Bmp, Jpeg, Png, Ico, Cur, Gif, Pcx256, PcxMono };

// By the first eight bytes; fewer than eight is not a picture.
PictureFormat SniffPicture(const std::uint8_t* bytes, std::size_t count);

// Decoded pixels: rows of blue, green, red, alpha bytes, top row first.
struct DecodedPicture {
    PictureFormat format = PictureFormat::None;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 32;  // 24 for JPEG (alpha is 255 throughout), 32 for PNG
    std::vector<std::uint8_t> bgra;
};

// Bounds a hostile header cannot get past: pictures larger than this are no picture.
inline constexpr int kMaxPictureSide = 8192;
inline constexpr std::size_t kMaxPicturePixels = std::size_t{4096} * 4096;

// Nothing when the bytes are not a picture, fail to decode, or are a format the
// form never carries (BMP, ICO, CUR, GIF, PCX: recognised, not decoded).
std::optional<DecodedPicture> DecodePicture(const std::uint8_t* bytes, std::size_t count);

// The bytes of the first image of an icon file (ICO), as the platform's icon
// maker takes them; nothing when the file is no icon or the entry points outside it.
struct IconImageBytes {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    int width = 0;  // from the directory entry; 0 there means 256
    int height = 0;
};
std::optional<IconImageBytes> FirstIconImage(const std::uint8_t* bytes, std::size_t count);

// Each pixel with alpha below 255 is mixed with the background colour 0x00BBGGRR
// (truncated, clamped); alpha 255 stays. The result has alpha 255 throughout.
void BlendOverBackground(DecodedPicture& picture, std::uint32_t background);

// Where a picture box draws its picture: at (x, y), `width` x `height` pixels.
struct PictureRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PictureRect&, const PictureRect&) = default;
};

// For draw mode 0 (own size, top-left), 1 (stretched over the box) and 2 (centred,
// shrunk to fit with its proportions kept) in a box of boxWidth x boxHeight.
PictureRect PictureLayout(int drawMode, int boxWidth, int boxHeight, int pictureWidth, int pictureHeight);

}  // namespace qelvane
