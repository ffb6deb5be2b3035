#include "tools/QrPicture.h"

#include <qrencode.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>

#include <jpeglib.h>

namespace qelvane::vendorfile {
namespace {

struct Colour {
    std::uint8_t r, g, b;
};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kBlue{28, 64, 176};
constexpr Colour kRed{206, 30, 38};

// Drawn supersampled, then averaged down: smooth edges without a resampling library.
constexpr int kSupersample = 8;
constexpr int kCanvas = kQrPictureSide * kSupersample;

class Canvas {
public:
    Canvas() : ink_(static_cast<std::size_t>(kCanvas) * kCanvas, 0) {}

    // Fills the rounded rectangle [x0, x1] x [y0, y1] (canvas units) with colour `ink`.
    void RoundedRect(double x0, double y0, double x1, double y1, double radius, std::uint8_t ink) {
        radius = std::min({radius, (x1 - x0) / 2, (y1 - y0) / 2});
        const int left = std::max(0, static_cast<int>(std::floor(x0)));
        const int top = std::max(0, static_cast<int>(std::floor(y0)));
        const int right = std::min(kCanvas - 1, static_cast<int>(std::ceil(x1)));
        const int bottom = std::min(kCanvas - 1, static_cast<int>(std::ceil(y1)));
        for (int y = top; y <= bottom; ++y) {
            const double py = y + 0.5;
            if (py < y0 || py > y1) continue;
            const double dy = std::max({y0 + radius - py, 0.0, py - (y1 - radius)});
            for (int x = left; x <= right; ++x) {
                const double px = x + 0.5;
                if (px < x0 || px > x1) continue;
                const double dx = std::max({x0 + radius - px, 0.0, px - (x1 - radius)});
                if (dx * dx + dy * dy <= radius * radius) ink_[static_cast<std::size_t>(y) * kCanvas + x] = ink;
            }
        }
    }

    // Rows of red, green, blue bytes at the picture's size.
    std::vector<std::uint8_t> Reduced() const {
        static constexpr Colour kInks[] = {kWhite, kBlue, kRed};
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kQrPictureSide) * kQrPictureSide * 3);
        for (int y = 0; y < kQrPictureSide; ++y)
            for (int x = 0; x < kQrPictureSide; ++x) {
                int sum[3] = {};
                for (int sy = 0; sy < kSupersample; ++sy)
                    for (int sx = 0; sx < kSupersample; ++sx) {
                        const Colour c = kInks[ink_[static_cast<std::size_t>(y * kSupersample + sy) * kCanvas +
                                                   x * kSupersample + sx]];
                        sum[0] += c.r, sum[1] += c.g, sum[2] += c.b;
                    }
                for (int i = 0; i < 3; ++i)
                    rgb[(static_cast<std::size_t>(y) * kQrPictureSide + x) * 3 + i] =
                        static_cast<std::uint8_t>((sum[i] + kSupersample * kSupersample / 2) /
                                                  (kSupersample * kSupersample));
            }
        return rgb;
    }

private:
    std::vector<std::uint8_t> ink_;  // 0 white, 1 blue, 2 red
};

// A fixed seed and our own mapping to doubles: the same wobble on every machine and library.
class Wobble {
public:
    double Uniform(double low, double high) { return low + (high - low) * (engine_() / 4294967296.0); }

private:
    std::mt19937 engine_{20240611};
};

std::vector<std::uint8_t> Jpeg(const std::vector<std::uint8_t>& rgb) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr error{};
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = kQrPictureSide;
    cinfo.image_height = kQrPictureSide;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);  // baseline, 2 x 2 luma and 1 x 1 chroma sampling, JFIF 1.01
    jpeg_set_quality(&cinfo, 90, TRUE);
    cinfo.density_unit = 1;  // dots per inch
    cinfo.X_density = 120;
    cinfo.Y_density = 120;
    jpeg_start_compress(&cinfo, TRUE);
    static constexpr char kComment[] = "QR code made by vendorc";
    jpeg_write_marker(&cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(kComment), sizeof kComment - 1);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&rgb[static_cast<std::size_t>(cinfo.next_scanline) * kQrPictureSide * 3]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

}  // namespace

std::optional<QrModules> EncodeQr(const std::string& text) {
    if (text.empty()) return std::nullopt;
    // Mixed modes where they are shorter; letters stay as they are (case-sensitive).
    std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(text.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
    if (!code) return std::nullopt;
    QrModules m;
    m.width = code->width;
    m.dark.resize(static_cast<std::size_t>(m.width) * m.width);
    for (std::size_t i = 0; i < m.dark.size(); ++i) m.dark[i] = (code->data[i] & 1) != 0;
    return m;
}

std::string LongestFittingStart(const std::string& text) {
    std::size_t fits = 0;
    for (std::size_t end = 1; end <= text.size(); ++end) {
        // Only between characters of UTF-8.
        if (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) continue;
        const auto m = EncodeQr(text.substr(0, end));
        if (!m || m->width > kQrMaxModules) break;
        fits = end;
    }
    return text.substr(0, fits);
}

std::vector<std::uint8_t> QrPictureJpeg(const QrModules& m) {
    const int n = m.width;
    const int cells = n + 2 * kQrQuietModules;
    const double cell = static_cast<double>(kCanvas) / cells;
    const double u = cell / 40;  // the drawing's measures are in 1/40 of a module
    Canvas canvas;
    Wobble wobble;
    const auto inFinder = [n](int r, int c) {
        for (const auto& [r0, c0] : {std::pair{0, 0}, std::pair{0, n - 7}, std::pair{n - 7, 0}})
            if (r >= r0 && r < r0 + 7 && c >= c0 && c < c0 + 7) return true;
        return false;
    };
    // Slightly oversized, wobbling rounded blobs: a hand-drawn look where neighbours merge.
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            if (!m.Dark(r, c) || inFinder(r, c)) continue;
            const double x = (c + kQrQuietModules) * cell, y = (r + kQrQuietModules) * cell;
            const double j0 = wobble.Uniform(-2.5, 2.5), j1 = wobble.Uniform(-2.5, 2.5);
            const double j2 = wobble.Uniform(-2.5, 2.5), j3 = wobble.Uniform(-2.5, 2.5);
            const double radius = wobble.Uniform(10, 16);
            canvas.RoundedRect(x + (j0 - 2) * u, y + (j1 - 2) * u, x + cell + (1 + j2) * u, y + cell + (1 + j3) * u,
                               radius * u, 1);
        }
    for (const auto& [r0, c0] : {std::pair{0, 0}, std::pair{0, n - 7}, std::pair{n - 7, 0}}) {
        const double x = (c0 + kQrQuietModules) * cell, y = (r0 + kQrQuietModules) * cell;
        canvas.RoundedRect(x, y, x + 7 * cell, y + 7 * cell, 2 * cell, 2);
        canvas.RoundedRect(x + cell, y + cell, x + 6 * cell, y + 6 * cell, 1.2 * cell, 0);
        canvas.RoundedRect(x + 2 * cell, y + 2 * cell, x + 5 * cell, y + 5 * cell, 0.9 * cell, 2);
    }
    return Jpeg(canvas.Reduced());
}

}  // namespace qelvane::vendorfile
