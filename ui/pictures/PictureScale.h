// Resizing a colour-keyed picture for a larger display scale: bilinear over the opaque pixels
// only, so that the key colour never bleeds into the edges, and a pixel of the result is clear
// where less than half of what it covers was opaque. Portable; no platform headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qelvane {

struct KeyedPixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> colours;  // 0x00RRGGBB, row by row; 0 where clear
    std::vector<std::uint8_t> clear;     // 1 where the picture shows what lies beneath
};

inline KeyedPixels ResampleKeyed(const KeyedPixels& from, int width, int height) {
    KeyedPixels to{width, height, {}, {}};
    const std::size_t count = static_cast<std::size_t>(width > 0 ? width : 0) * static_cast<std::size_t>(height > 0 ? height : 0);
    to.colours.assign(count, 0);
    to.clear.assign(count, 1);
    if (count == 0 || from.width <= 0 || from.height <= 0) return to;
    // Sample positions in 1/256 pixel, centre to centre, clamped to the picture.
    auto axis = [](int out, int size, int in, int& i0, int& i1, int& f) {
        const std::int64_t p = ((2 * std::int64_t{out} + 1) * in * 256) / (2 * std::int64_t{size}) - 128;
        const std::int64_t c = p < 0 ? 0 : p > (in - 1) * 256 ? (in - 1) * 256 : p;
        i0 = static_cast<int>(c / 256);
        i1 = i0 + 1 < in ? i0 + 1 : i0;
        f = static_cast<int>(c % 256);
    };
    for (int y = 0; y < height; ++y) {
        int y0, y1, fy;
        axis(y, height, from.height, y0, y1, fy);
        for (int x = 0; x < width; ++x) {
            int x0, x1, fx;
            axis(x, width, from.width, x0, x1, fx);
            const int xs[4] = {x0, x1, x0, x1}, ys[4] = {y0, y0, y1, y1};
            const int ws[4] = {(256 - fx) * (256 - fy), fx * (256 - fy), (256 - fx) * fy, fx * fy};
            std::int64_t weight = 0, sum[3] = {0, 0, 0};
            for (int k = 0; k < 4; ++k) {
                const std::size_t i = static_cast<std::size_t>(ys[k]) * static_cast<std::size_t>(from.width) +
                                      static_cast<std::size_t>(xs[k]);
                if (from.clear[i]) continue;
                weight += ws[k];
                for (int c = 0; c < 3; ++c) sum[c] += std::int64_t{ws[k]} * ((from.colours[i] >> (8 * c)) & 0xFF);
            }
            if (weight * 2 < 256 * 256) continue;
            std::uint32_t colour = 0;
            for (int c = 0; c < 3; ++c)
                colour |= static_cast<std::uint32_t>((sum[c] + weight / 2) / weight) << (8 * c);
            const std::size_t o = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
            to.colours[o] = colour;
            to.clear[o] = 0;
        }
    }
    return to;
}

}  // namespace qelvane
