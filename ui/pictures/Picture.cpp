#include "ui/pictures/Picture.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t first
#include <cstring>
#include <type_traits>

#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

namespace qelvane {
namespace {

std::uint16_t Word(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t BigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

bool WithinBounds(std::uint64_t width, std::uint64_t height) {
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

// A picture of a size that has passed WithinBounds, its pixels zero until decoded.
DecodedPicture Blank(PictureFormat format, std::uint32_t width, std::uint32_t height, int bitsPerPixel) {
    DecodedPicture out;
    out.format = format;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.bitsPerPixel = bitsPerPixel;
    out.bgra.resize(std::size_t{width} * height * 4);
    return out;
}

// ---- PNG ----

// libpng's simplified reader allocates whatever a chunk claims before it sees
// the data is missing; a chunk longer than the bytes left is refused here.
bool PngChunksFit(const std::uint8_t* bytes, std::size_t count) {
    std::size_t pos = 8;  // past the signature
    while (count - pos >= 12) {
        const std::uint32_t length = BigEndian32(bytes + pos);
        if (length > 0x7FFFFFFFu || length > count - pos - 12) return false;
        const bool end = std::memcmp(bytes + pos + 4, "IEND", 4) == 0;
        pos += std::size_t{12} + length;
        if (end) break;
    }
    return true;
}

struct PngImage {
    png_image image{};
    PngImage() { image.version = PNG_IMAGE_VERSION; }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
    ~PngImage() { png_image_free(&image); }
};

// Interlaced 16-bit files: the simplified reader of our libpng scales them to
// 8 bits through one reused row buffer and copies stale pixels of other rows
// over those of earlier passes. They go through the standard reader instead,
// with the transforms the simplified reader sets for 8-bit BGRA.
bool IsInterlaced16Bit(const std::uint8_t* bytes, std::size_t count) {
    return count >= 33 && std::memcmp(bytes + 12, "IHDR", 4) == 0 && bytes[24] == 16 && bytes[28] == 1;
}

struct PngStandardJob {
    png_structp png;
    png_infop info;
    const std::uint8_t* bytes;
    std::size_t count;
    std::size_t pos;
};
static_assert(std::is_trivially_destructible_v<PngStandardJob>);

void PngReadMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* job = static_cast<PngStandardJob*>(png_get_io_ptr(png));
    if (length > job->count - job->pos) png_error(png, "read past the end");
    std::memcpy(out, job->bytes + job->pos, length);
    job->pos += length;
}

void PngQuiet(png_structp, png_const_charp) {}
[[noreturn]] void PngFail(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// libpng longjmps out of its errors: the frames that setjmp hold only plain state.
bool PngStandardStart(PngStandardJob& job) {
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &job, &PngFail, &PngQuiet);
    if (!job.png) return false;
    job.info = png_create_info_struct(job.png);
    if (!job.info) return false;
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_set_user_limits(job.png, kMaxPictureSide, kMaxPictureSide);
    png_set_read_fn(job.png, &job, &PngReadMemory);
    png_read_info(job.png, job.info);
    const png_uint_32 width = png_get_image_width(job.png, job.info);
    const png_uint_32 height = png_get_image_height(job.png, job.info);
    if (!WithinBounds(width, height)) return false;
    const int colour = png_get_color_type(job.png, job.info);
    const bool alpha = (colour & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(job.png, job.info, PNG_INFO_tRNS) != 0;
    png_set_expand(job.png);
    if ((colour & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(job.png);
    // 16-bit data without a gamma of its own counts as linear, as in the simplified reader.
    png_set_alpha_mode(job.png, PNG_ALPHA_PNG, PNG_GAMMA_LINEAR);
    png_set_scale_16(job.png);
    if (!alpha) png_set_add_alpha(job.png, 0xFF, PNG_FILLER_AFTER);
    png_set_alpha_mode(job.png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
    png_set_bgr(job.png);
    png_set_interlace_handling(job.png);
    png_read_update_info(job.png, job.info);
    return png_get_rowbytes(job.png, job.info) == std::size_t{width} * 4;
}

bool PngStandardRows(PngStandardJob& job, png_bytepp rows) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_read_image(job.png, rows);
    png_read_end(job.png, nullptr);
    return true;
}

std::optional<DecodedPicture> DecodePngStandard(const std::uint8_t* bytes, std::size_t count) {
    PngStandardJob job{nullptr, nullptr, bytes, count, 0};
    std::optional<DecodedPicture> result;
    if (PngStandardStart(job)) {
        DecodedPicture out = Blank(PictureFormat::Png, png_get_image_width(job.png, job.info),
                                   png_get_image_height(job.png, job.info), 32);
        std::vector<png_bytep> rows(static_cast<std::size_t>(out.height));
        for (std::size_t y = 0; y < rows.size(); ++y) rows[y] = &out.bgra[y * static_cast<std::size_t>(out.width) * 4];
        if (PngStandardRows(job, rows.data())) result = std::move(out);
    }
    png_destroy_read_struct(&job.png, job.info ? &job.info : nullptr, nullptr);
    return result;
}

// The simplified reader catches libpng's errors itself: nothing jumps over us.
std::optional<DecodedPicture> DecodePng(const std::uint8_t* bytes, std::size_t count) {
    if (!PngChunksFit(bytes, count)) return std::nullopt;
    if (IsInterlaced16Bit(bytes, count)) return DecodePngStandard(bytes, count);
    PngImage png;
    if (!png_image_begin_read_from_memory(&png.image, bytes, count) ||
        (png.image.warning_or_error & PNG_IMAGE_ERROR) != 0)
        return std::nullopt;
    if (!WithinBounds(png.image.width, png.image.height)) return std::nullopt;
    png.image.format = PNG_FORMAT_BGRA;

    DecodedPicture out = Blank(PictureFormat::Png, png.image.width, png.image.height, 32);
    // Stride 0: rows packed, top row first.
    if (!png_image_finish_read(&png.image, nullptr, out.bgra.data(), 0, nullptr) ||
        (png.image.warning_or_error & PNG_IMAGE_ERROR) != 0)
        return std::nullopt;
    return out;
}

// ---- JPEG ----
// libjpeg reports errors by calling error_exit, which must not return: we
// longjmp back. The frames that call setjmp hold nothing with a destructor,
// and the decoder state lives in a trivially destructible struct of the caller.

struct JpegErrors {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

struct JpegJob {
    jpeg_decompress_struct info;
    JpegErrors errors;
    jpeg_progress_mgr progress;
    bool created;
};
static_assert(std::is_trivially_destructible_v<JpegJob>);

// A progressive file may carry any number of scans, each one a pass over the whole picture.
constexpr int kMaxJpegScans = 200;
constexpr long kMaxJpegMemory = 256L * 1024 * 1024;

[[noreturn]] void JpegErrorExit(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

void JpegOutputMessage(j_common_ptr) {}  // no stderr, no message box

// Warnings about damaged data make the picture fail; harmless oddities of
// otherwise sound files are let through. Trace messages (level > 0) are ignored.
void JpegEmitMessage(j_common_ptr info, int level) {
    if (level >= 0) return;
    switch (info->err->msg_code) {
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_JFIF_MAJOR:
    case JWRN_ADOBE_XFORM:
        ++info->err->num_warnings;
        return;
    default:
        JpegErrorExit(info);
    }
}

void JpegProgress(j_common_ptr info) {
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxJpegScans)
        JpegErrorExit(info);
}

// Header and decoder start. False on any error; the job is then to be ended.
bool JpegStart(JpegJob& job, const std::uint8_t* bytes, std::size_t count) {
    job.info.err = jpeg_std_error(&job.errors.mgr);
    job.errors.mgr.error_exit = &JpegErrorExit;
    job.errors.mgr.output_message = &JpegOutputMessage;
    job.errors.mgr.emit_message = &JpegEmitMessage;
    if (setjmp(job.errors.jump)) return false;
    jpeg_create_decompress(&job.info);
    job.created = true;
    job.info.mem->max_memory_to_use = kMaxJpegMemory;
    job.progress.progress_monitor = &JpegProgress;
    job.info.progress = &job.progress;
    jpeg_mem_src(&job.info, bytes, static_cast<unsigned long>(count));
    if (jpeg_read_header(&job.info, TRUE) != JPEG_HEADER_OK) return false;
    if (!WithinBounds(job.info.image_width, job.info.image_height)) return false;
    switch (job.info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        job.info.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        job.info.out_color_space = JCS_RGB;
        break;
    default:
        return false;  // CMYK and the like: not a picture for us
    }
    if (!jpeg_start_decompress(&job.info)) return false;
    return job.info.output_width == job.info.image_width && job.info.output_height == job.info.image_height;
}

// Reads every row into `out` (width x height pixels, blue-green-red-alpha).
bool JpegReadRows(JpegJob& job, std::uint8_t* out, std::uint8_t* row) {
    if (setjmp(job.errors.jump)) return false;
    const JDIMENSION width = job.info.output_width;
    const bool gray = job.info.output_components == 1;
    while (job.info.output_scanline < job.info.output_height) {
        JSAMPROW rows[1] = {row};
        std::uint8_t* dst = out + std::size_t{job.info.output_scanline} * width * 4;
        if (jpeg_read_scanlines(&job.info, rows, 1) != 1) return false;
        for (JDIMENSION x = 0; x < width; ++x, dst += 4) {
            const std::uint8_t* src = gray ? row + x : row + std::size_t{x} * 3;
            dst[0] = gray ? src[0] : src[2];
            dst[1] = gray ? src[0] : src[1];
            dst[2] = src[0];
            dst[3] = 255;
        }
    }
    return jpeg_finish_decompress(&job.info) != 0;
}

void JpegEnd(JpegJob& job) {
    if (job.created) jpeg_destroy_decompress(&job.info);  // never raises an error
    job.created = false;
}

std::optional<DecodedPicture> DecodeJpeg(const std::uint8_t* bytes, std::size_t count) {
    JpegJob job{};
    std::optional<DecodedPicture> result;
    if (JpegStart(job, bytes, count)) {
        DecodedPicture out = Blank(PictureFormat::Jpeg, job.info.output_width, job.info.output_height, 24);
        std::vector<std::uint8_t> row(std::size_t{job.info.output_width} * 3);
        if (JpegReadRows(job, out.bgra.data(), row.data())) result = std::move(out);
    }
    JpegEnd(job);
    return result;
}

}  // namespace

PictureFormat SniffPicture(const std::uint8_t* bytes, std::size_t count) {
    if (bytes == nullptr || count < 8) return PictureFormat::None;
    const std::uint8_t* b = bytes;
    if (b[0] == 0x42 && b[1] == 0x4D) return PictureFormat::Bmp;
    if (b[0] == 0xFF && b[1] == 0xD8) return PictureFormat::Jpeg;
    if (b[0] == 0x89 && b[1] == 0x50 && b[2] == 0x4E && b[3] == 0x47) return PictureFormat::Png;
    if (Word(b) == 0 && Word(b + 2) == 1 && Word(b + 4) >= 1) return PictureFormat::Ico;
    if (Word(b) == 0 && Word(b + 2) == 2 && Word(b + 4) >= 1) return PictureFormat::Cur;
    if (b[0] == 0x47 && b[1] == 0x49 && b[2] == 0x46 && b[3] == 0x38 && (b[4] == 0x37 || b[4] == 0x39) &&
        b[5] == 0x61)
        return PictureFormat::Gif;
    if (b[0] == 0x0A && b[1] <= 5 && b[2] == 1 && b[3] == 8) return PictureFormat::Pcx256;
    if (b[0] == 0x0A && b[1] == 3 && b[2] == 1 && b[3] == 1) return PictureFormat::PcxMono;
    return PictureFormat::None;
}

std::optional<IconImageBytes> FirstIconImage(const std::uint8_t* bytes, std::size_t count) {
    constexpr std::size_t kHeader = 6, kEntry = 16;
    if (SniffPicture(bytes, count) != PictureFormat::Ico || count < kHeader + kEntry) return std::nullopt;
    const std::uint8_t* e = bytes + kHeader;
    const std::uint32_t size = Word(e + 8) | std::uint32_t{Word(e + 10)} << 16;
    const std::uint32_t offset = Word(e + 12) | std::uint32_t{Word(e + 14)} << 16;
    if (size == 0 || offset < kHeader + kEntry || offset > count || size > count - offset) return std::nullopt;
    return IconImageBytes{bytes + offset, size, e[0] == 0 ? 256 : e[0], e[1] == 0 ? 256 : e[1]};
}

std::optional<DecodedPicture> DecodePicture(const std::uint8_t* bytes, std::size_t count) {
    switch (SniffPicture(bytes, count)) {
    case PictureFormat::Png:
        return DecodePng(bytes, count);
    case PictureFormat::Jpeg:
        return DecodeJpeg(bytes, count);
    default:
        return std::nullopt;  // the form carries no other format
    }
}

void BlendOverBackground(DecodedPicture& picture, std::uint32_t background) {
    const unsigned back[3] = {(background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF};  // b, g, r
    for (std::size_t i = 0; i + 3 < picture.bgra.size(); i += 4) {
        std::uint8_t* p = &picture.bgra[i];
        const unsigned alpha = p[3];
        if (alpha == 255) continue;
        // alpha/255 * picture + (1 - alpha/255) * background, in exact integers, truncated.
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<std::uint8_t>(std::min(255u, (alpha * p[c] + (255 - alpha) * back[c]) / 255));
        p[3] = 255;
    }
}

PictureRect PictureLayout(int drawMode, int boxWidth, int boxHeight, int pictureWidth, int pictureHeight) {
    const int W = std::max(boxWidth, 0), H = std::max(boxHeight, 0);
    const int w = pictureWidth, h = pictureHeight;
    if (drawMode <= 0) return {0, 0, w, h};
    if (drawMode == 1 || w <= 0 || h <= 0) return {0, 0, W, H};

    PictureRect r{0, 0, W, H};
    if (w <= W) {
        r.width = w;
        r.x = (W - w) / 2;
    }
    if (h <= H) {
        r.height = h;
        r.y = (H - h) / 2;
    }
    if (w > W || h > H) {
        // s = min(dw / w, dh / h), kept as a fraction so that w * s is exact before truncation.
        const std::int64_t dw = r.width, dh = r.height;
        int scaledW, scaledH;
        if (dw * h <= dh * w) {
            scaledW = static_cast<int>(dw);
            scaledH = static_cast<int>(h * dw / w);
        } else {
            scaledW = static_cast<int>(w * dh / h);
            scaledH = static_cast<int>(dh);
        }
        r.x += (r.width - scaledW) / 2;
        r.y += (r.height - scaledH) / 2;
        r.width = scaledW;
        r.height = scaledH;
    }
    return r;
}

}  // namespace qelvane
