// Pictures made while testing: PNG files written with libpng's simplified
// writer from rows of blue, green, red, alpha bytes.
#pragma once

#include <png.h>

#include <cstdint>
#include <vector>

namespace qelvane::testimages {

// Width x height pixels, each from pixel(x, y) as 0xAARRGGBB.
template <class PixelFn>
std::vector<std::uint8_t> MakePng(int width, int height, PixelFn pixel, bool withAlpha = true) {
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t argb = pixel(x, y);
            std::uint8_t* p = &rows[(static_cast<std::size_t>(y) * width + x) * 4];
            p[0] = argb & 0xFF;
            p[1] = (argb >> 8) & 0xFF;
            p[2] = (argb >> 16) & 0xFF;
            p[3] = (argb >> 24) & 0xFF;
        }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGRA;
    if (!withAlpha) {
        // Drop the alpha bytes: an RGB file like the badge.
        image.format = PNG_FORMAT_BGR;
        std::vector<std::uint8_t> bgr;
        for (std::size_t i = 0; i < rows.size(); i += 4) bgr.insert(bgr.end(), &rows[i], &rows[i] + 3);
        rows.swap(bgr);
    }
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rows.data(), 0, nullptr)) return {};
    std::vector<std::uint8_t> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rows.data(), 0, nullptr)) return {};
    out.resize(size);
    return out;
}

}  // namespace qelvane::testimages
