// Pictures made while testing: PNG files written here with zlib, so that the
// libpng the program links needs no write support.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <vector>

namespace qelvane::testimages {

// A PNG chunk: length, type, data, CRC of type and data.
inline void AppendChunk(std::vector<std::uint8_t>& out, const char (&type)[5], const std::vector<std::uint8_t>& data) {
    auto u32 = [&](std::uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
    };
    u32(static_cast<std::uint32_t>(data.size()));
    const std::size_t from = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    u32(static_cast<std::uint32_t>(crc32(0, &out[from], static_cast<uInt>(out.size() - from))));
}

// Width x height pixels, each from pixel(x, y) as 0xAARRGGBB: 8-bit RGBA (or RGB
// without alpha), not interlaced, rows unfiltered, compressed with zlib.
template <class PixelFn>
std::vector<std::uint8_t> MakePng(int width, int height, PixelFn pixel, bool withAlpha = true) {
    const int channels = withAlpha ? 4 : 3;
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < width; ++x) {
            const std::uint32_t argb = pixel(x, y);
            raw.push_back(static_cast<std::uint8_t>(argb >> 16));
            raw.push_back(static_cast<std::uint8_t>(argb >> 8));
            raw.push_back(static_cast<std::uint8_t>(argb));
            if (withAlpha) raw.push_back(static_cast<std::uint8_t>(argb >> 24));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size())) != Z_OK) return {};
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    for (std::uint32_t v : {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)})
        for (int s = 24; s >= 0; s -= 8) header.push_back(static_cast<std::uint8_t>(v >> s));
    header.insert(header.end(), {8, static_cast<std::uint8_t>(channels == 4 ? 6 : 2), 0, 0, 0});
    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    AppendChunk(out, "IHDR", header);
    AppendChunk(out, "IDAT", packed);
    AppendChunk(out, "IEND", {});
    return out;
}

}  // namespace qelvane::testimages
