// The decoders against files made by others: the PngSuite and the test PNGs of
// libpng's source package, libjpeg-turbo's test images, and broken copies of
// them made here. The folders come from the build (unpacked source packages).
#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ui/pictures/Picture.h"

#ifndef QELVANE_LIBPNG_SRC
#define QELVANE_LIBPNG_SRC ""
#endif
#ifndef QELVANE_LIBJPEG_SRC
#define QELVANE_LIBJPEG_SRC ""
#endif

namespace qelvane {
namespace {

namespace fs = std::filesystem;
using ByteList = std::vector<std::uint8_t>;

ByteList ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteList(std::istreambuf_iterator<char>(in), {});
}

std::vector<fs::path> FilesIn(const fs::path& dir, const std::string& extension) {
    std::vector<fs::path> out;
    if (!fs::is_directory(dir)) return out;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.is_regular_file() && e.path().extension() == extension) out.push_back(e.path());
    std::sort(out.begin(), out.end());
    return out;
}

std::optional<DecodedPicture> Decode(const ByteList& b) { return DecodePicture(b.data(), b.size()); }

#define REQUIRE_SOURCE(dir)                                                             \
    if (std::string(dir).empty()) GTEST_SKIP() << #dir " is not set for this build"; \
    ASSERT_TRUE(fs::is_directory(dir)) << dir

// ---- Reference PNG reading through libpng's progressive-free standard API ----
// The same output the simplified reader promises for 8-bit BGRA: palette and low
// depths expanded, gray to colour, 16 bits scaled, gamma to sRGB (16-bit files
// without gAMA count as linear), opaque alpha added, blue first.

struct MemoryReader {
    const ByteList* bytes;
    std::size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* r = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > r->bytes->size() - r->pos) png_error(png, "read past the end");
    std::memcpy(out, r->bytes->data() + r->pos, length);
    r->pos += length;
}

void Quiet(png_structp, png_const_charp) {}
[[noreturn]] void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Plain state only between setjmp and longjmp; the vectors belong to the caller.
bool ReferenceDecodePng(const ByteList& bytes, int& width, int& height, ByteList& pixels,
                        std::vector<png_bytep>& rows) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, &Fail, &Quiet);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    MemoryReader reader{&bytes, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, &ReadFromMemory);
    png_read_info(png, info);
    const int depth = png_get_bit_depth(png, info);
    const int colour = png_get_color_type(png, info);
    const bool alpha = (colour & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_set_expand(png);
    if ((colour & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
    png_set_alpha_mode(png, PNG_ALPHA_PNG, depth == 16 ? PNG_GAMMA_LINEAR : PNG_DEFAULT_sRGB);
    if (depth == 16) png_set_scale_16(png);
    if (!alpha) png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_alpha_mode(png, PNG_ALPHA_PNG, PNG_DEFAULT_sRGB);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    width = static_cast<int>(png_get_image_width(png, info));
    height = static_cast<int>(png_get_image_height(png, info));
    if (png_get_rowbytes(png, info) != static_cast<std::size_t>(width) * 4) png_error(png, "not 4 bytes a pixel");
    pixels.assign(static_cast<std::size_t>(width) * height * 4, 0);
    rows.resize(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) rows[static_cast<std::size_t>(y)] = &pixels[static_cast<std::size_t>(y) * width * 4];
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

void ExpectSameAsReference(const fs::path& file, int& decoded) {
    SCOPED_TRACE(file.filename().string());
    const ByteList bytes = ReadFile(file);
    int w = 0, h = 0;
    ByteList want;
    std::vector<png_bytep> rows;
    ASSERT_TRUE(ReferenceDecodePng(bytes, w, h, want, rows));
    const auto got = Decode(bytes);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->width, w);
    EXPECT_EQ(got->height, h);
    EXPECT_EQ(got->bitsPerPixel, 32);
    const std::size_t differing = [&] {
        std::size_t n = 0;
        for (std::size_t i = 0; i < std::min(want.size(), got->bgra.size()); ++i) n += want[i] != got->bgra[i];
        return n;
    }();
    EXPECT_EQ(got->bgra.size(), want.size());
    EXPECT_EQ(differing, 0u);
    ++decoded;
}

TEST(PictureCorpus, PngSuiteDecodesLikeLibpngsOwnReader) {
    REQUIRE_SOURCE(QELVANE_LIBPNG_SRC);
    const fs::path suite = fs::path(QELVANE_LIBPNG_SRC) / "contrib" / "pngsuite";
    std::vector<fs::path> files = FilesIn(suite, ".png");
    const std::vector<fs::path> interlaced = FilesIn(suite / "interlaced", ".png");
    files.insert(files.end(), interlaced.begin(), interlaced.end());
    int decoded = 0, valid = 0;
    for (const fs::path& f : files) {
        if (f.filename().string()[0] == 'x') continue;  // the broken ones, below
        ++valid;
        ExpectSameAsReference(f, decoded);
    }
    EXPECT_GE(valid, 60);
    EXPECT_EQ(decoded, valid);
}

TEST(PictureCorpus, InterlacedSixteenBitFilesDecodeLikeTheirPlainTwins) {
    // The PngSuite's 16-bit files say gamma 1.0, their interlaced twins say nothing, and 16-bit
    // data without a gamma counts as linear: the same picture either way.
    REQUIRE_SOURCE(QELVANE_LIBPNG_SRC);
    const fs::path suite = fs::path(QELVANE_LIBPNG_SRC) / "contrib" / "pngsuite";
    for (const char* name : {"basn0g16.png", "basn2c16.png", "basn4a16.png", "basn6a16.png"}) {
        SCOPED_TRACE(name);
        const auto plain = Decode(ReadFile(suite / name));
        const auto interlaced = Decode(ReadFile(suite / (std::string("i") + name)));
        ASSERT_TRUE(plain);
        ASSERT_TRUE(interlaced);
        EXPECT_EQ(interlaced->width, plain->width);
        EXPECT_EQ(interlaced->height, plain->height);
        EXPECT_TRUE(interlaced->bgra == plain->bgra);
    }
}

TEST(PictureCorpus, LibpngTestPngsDecodeLikeLibpngsOwnReader) {
    REQUIRE_SOURCE(QELVANE_LIBPNG_SRC);
    const std::vector<fs::path> files = FilesIn(fs::path(QELVANE_LIBPNG_SRC) / "contrib" / "testpngs", ".png");
    int decoded = 0;
    for (const fs::path& f : files) ExpectSameAsReference(f, decoded);
    EXPECT_GE(files.size(), 100u);
    EXPECT_EQ(decoded, static_cast<int>(files.size()));
}

TEST(PictureCorpus, LibpngCrashersAreNoPicture) {
    REQUIRE_SOURCE(QELVANE_LIBPNG_SRC);
    const std::vector<fs::path> files =
        FilesIn(fs::path(QELVANE_LIBPNG_SRC) / "contrib" / "testpngs" / "crashers", ".png");
    int refused = 0;
    for (const fs::path& f : files) {
        SCOPED_TRACE(f.filename().string());
        if (f.filename() == "empty_ancillary_chunks.png") {
            int decoded = 0;  // empty ancillary chunks are legal
            ExpectSameAsReference(f, decoded);
            continue;
        }
        EXPECT_FALSE(Decode(ReadFile(f)));
        ++refused;
    }
    EXPECT_GE(refused, 22);
}

// ---- Broken PNGs after the PngSuite's x*.png, made from its valid files ----

std::uint32_t Get32(const ByteList& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}
void Put32(ByteList& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}
// Recomputes the CRC of the chunk starting at `at` so that only the intended fault remains.
void FixCrc(ByteList& b, std::size_t at) {
    const std::uint32_t length = Get32(b, at);
    Put32(b, at + 8 + length, static_cast<std::uint32_t>(crc32(0, &b[at + 4], 4 + length)));
}
std::size_t FindChunk(const ByteList& b, const char* type) {
    for (std::size_t at = 8; at + 12 <= b.size(); at += 12 + Get32(b, at))
        if (std::memcmp(&b[at + 4], type, 4) == 0) return at;
    return 0;
}

TEST(PictureCorpus, BrokenPngSuiteFilesAreNoPicture) {
    REQUIRE_SOURCE(QELVANE_LIBPNG_SRC);
    const fs::path suite = fs::path(QELVANE_LIBPNG_SRC) / "contrib" / "pngsuite";
    const ByteList gray = ReadFile(suite / "basn0g08.png");
    const ByteList rgb = ReadFile(suite / "basn2c08.png");
    ASSERT_TRUE(Decode(gray));
    ASSERT_TRUE(Decode(rgb));
    constexpr std::size_t kIhdr = 8;
    const std::size_t idat = FindChunk(gray, "IDAT");
    ASSERT_NE(idat, 0u);

    struct Broken {
        const char* what;
        ByteList bytes;
    };
    std::vector<Broken> cases;
    auto add = [&](const char* what, ByteList b, auto change) {
        change(b);
        cases.push_back({what, std::move(b)});
    };
    for (std::size_t i : {4, 5, 6, 7})
        add("signature byte changed", gray, [i](ByteList& b) { b[i] ^= 0x20; });
    add("CR added to the signature", gray, [](ByteList& b) { b.insert(b.begin() + 5, '\r'); });
    add("LF added to the signature", gray, [](ByteList& b) { b.insert(b.begin() + 6, '\n'); });
    add("IHDR checksum wrong", gray, [](ByteList& b) { b[kIhdr + 8 + 13] ^= 0xFF; });
    add("colour type 1", gray, [](ByteList& b) { b[kIhdr + 8 + 9] = 1; FixCrc(b, kIhdr); });
    add("colour type 9", rgb, [](ByteList& b) { b[kIhdr + 8 + 9] = 9; FixCrc(b, kIhdr); });
    add("bit depth 0", rgb, [](ByteList& b) { b[kIhdr + 8 + 8] = 0; FixCrc(b, kIhdr); });
    add("bit depth 3", rgb, [](ByteList& b) { b[kIhdr + 8 + 8] = 3; FixCrc(b, kIhdr); });
    add("bit depth 99", rgb, [](ByteList& b) { b[kIhdr + 8 + 8] = 99; FixCrc(b, kIhdr); });
    add("width 0", gray, [](ByteList& b) { Put32(b, kIhdr + 8, 0); FixCrc(b, kIhdr); });
    add("IDAT checksum wrong", gray, [idat](ByteList& b) { b[idat + 8 + Get32(b, idat)] ^= 0x01; });
    add("IDAT missing", gray, [idat](ByteList& b) {
        b.erase(b.begin() + static_cast<std::ptrdiff_t>(idat),
                b.begin() + static_cast<std::ptrdiff_t>(idat + 12 + Get32(b, idat)));
    });
    add("IDAT data damaged", gray, [idat](ByteList& b) {
        for (std::size_t i = idat + 10; i < idat + 8 + Get32(b, idat); i += 7) b[i] ^= 0x5A;
        FixCrc(b, idat);
    });
    add("IDAT longer than the file", gray, [idat](ByteList& b) { Put32(b, idat, 0x7FFFFFF0u); });
    const std::size_t idatEnd = idat + 12 + Get32(gray, idat);
    for (std::size_t cut : {std::size_t{9}, std::size_t{20}, std::size_t{33}, idat + 8, idat + 40, idatEnd - 5,
                            idatEnd - 1})
        add("cut short before the image data ends", gray, [cut](ByteList& b) { b.resize(cut); });

    for (const Broken& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(Decode(c.bytes));
    }

    // Cut after the image data: every pixel is there, checked by the zlib stream's own sum.
    const auto whole = Decode(gray);
    for (std::size_t cut : {idatEnd, idatEnd + 6, gray.size() - 1}) {
        SCOPED_TRACE(cut);
        const auto p = Decode(ByteList(gray.begin(), gray.begin() + static_cast<std::ptrdiff_t>(cut)));
        ASSERT_TRUE(p);
        EXPECT_TRUE(p->bgra == whole->bgra);
    }
}

// ---- JPEG ----

// MD5 (RFC 1321), for the checksums libjpeg-turbo's own tests give for its images.
std::string Md5Hex(const ByteList& data) {
    static constexpr std::array<std::uint32_t, 64> k = [] {
        std::array<std::uint32_t, 64> t{};
        const std::uint32_t v[64] = {
            0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
            0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
            0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
            0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
            0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
            0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
            0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
            0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
        for (int i = 0; i < 64; ++i) t[i] = v[i];
        return t;
    }();
    static constexpr int r[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                  5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                  4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                  6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
    ByteList m = data;
    const std::uint64_t bits = std::uint64_t{data.size()} * 8;
    m.push_back(0x80);
    while (m.size() % 64 != 56) m.push_back(0);
    for (int i = 0; i < 8; ++i) m.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    std::uint32_t h[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    for (std::size_t off = 0; off < m.size(); off += 64) {
        std::uint32_t w[16];
        for (int i = 0; i < 16; ++i)
            w[i] = m[off + 4 * i] | (m[off + 4 * i + 1] << 8) | (m[off + 4 * i + 2] << 16) |
                   (std::uint32_t{m[off + 4 * i + 3]} << 24);
        std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
        for (int i = 0; i < 64; ++i) {
            std::uint32_t f;
            int g;
            if (i < 16) f = (b & c) | (~b & d), g = i;
            else if (i < 32) f = (d & b) | (~d & c), g = (5 * i + 1) % 16;
            else if (i < 48) f = b ^ c ^ d, g = (3 * i + 5) % 16;
            else f = c ^ (b | ~d), g = (7 * i) % 16;
            const std::uint32_t t = d;
            d = c;
            c = b;
            const std::uint32_t x = a + f + k[i] + w[g];
            b = b + ((x << r[i]) | (x >> (32 - r[i])));
            a = t;
        }
        h[0] += a, h[1] += b, h[2] += c, h[3] += d;
    }
    std::string hex;
    char buf[3];
    for (std::uint32_t v : h)
        for (int i = 0; i < 4; ++i) {
            std::snprintf(buf, sizeof buf, "%02x", (v >> (8 * i)) & 0xFF);
            hex += buf;
        }
    return hex;
}

// The rows of a decoded picture as a binary PPM, leaving out rows [skipFirst, skipLast].
ByteList PpmWithoutRows(const DecodedPicture& p, int skipFirst, int skipLast) {
    const int kept = p.height - (skipLast - skipFirst + 1);
    const std::string header = "P6\n" + std::to_string(p.width) + " " + std::to_string(kept) + "\n255\n";
    ByteList out(header.begin(), header.end());
    for (int y = 0; y < p.height; ++y) {
        if (y >= skipFirst && y <= skipLast) continue;
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* px = &p.bgra[(static_cast<std::size_t>(y) * p.width + x) * 4];
            out.insert(out.end(), {px[2], px[1], px[0]});
        }
    }
    return out;
}

TEST(PictureCorpus, Md5SelfCheck) {
    EXPECT_EQ(Md5Hex({}), "d41d8cd98f00b204e9800998ecf8427e");
    const std::string fox = "The quick brown fox jumps over the lazy dog";
    EXPECT_EQ(Md5Hex(ByteList(fox.begin(), fox.end())), "9e107d9d372bb6826bd81d3542a419d6");
}

TEST(PictureCorpus, LibjpegTestImagesDecodeToTheirKnownPixels) {
    REQUIRE_SOURCE(QELVANE_LIBJPEG_SRC);
    const fs::path dir = fs::path(QELVANE_LIBJPEG_SRC) / "testimages";
    const auto orig = Decode(ReadFile(dir / "testorig.jpg"));
    const auto huffman = Decode(ReadFile(dir / "testimgint.jpg"));
    const auto arithmetic = Decode(ReadFile(dir / "testimgari.jpg"));
    ASSERT_TRUE(orig);
    ASSERT_TRUE(huffman);
    ASSERT_TRUE(arithmetic);
    for (const DecodedPicture* p : {&*orig, &*huffman, &*arithmetic}) {
        EXPECT_EQ(p->width, 227);
        EXPECT_EQ(p->height, 149);
        EXPECT_EQ(p->bitsPerPixel, 24);
        std::size_t notOpaque = 0;
        for (std::size_t i = 3; i < p->bgra.size(); i += 4) notOpaque += p->bgra[i] != 255;
        EXPECT_EQ(notOpaque, 0u);
    }
    // The checksums of libjpeg-turbo's own tests ("djpeg -dct int -skip a,b -ppm"): the same
    // rows, whether decoded in full as here or skipping as there.
    EXPECT_EQ(Md5Hex(PpmWithoutRows(*orig, 15, 31)), "c4c65c1e43d7275cd50328a61e6534f0");
    EXPECT_EQ(Md5Hex(PpmWithoutRows(*arithmetic, 16, 139)), "087c6b123db16ac00cb88c5b590bb74a");
    // Arithmetic coding is a lossless recoding of the same coefficients.
    EXPECT_EQ(arithmetic->bgra, huffman->bgra);
}

TEST(PictureCorpus, TwelveBitJpegIsNoPicture) {
    REQUIRE_SOURCE(QELVANE_LIBJPEG_SRC);
    const ByteList twelve = ReadFile(fs::path(QELVANE_LIBJPEG_SRC) / "testimages" / "testorig12.jpg");
    ASSERT_EQ(SniffPicture(twelve.data(), twelve.size()), PictureFormat::Jpeg);
    EXPECT_FALSE(Decode(twelve));
}

std::vector<ByteList> ValidJpegs() {
    std::vector<ByteList> out;
    const fs::path dir = fs::path(QELVANE_LIBJPEG_SRC) / "testimages";
    for (const char* name : {"testorig.jpg", "testimgint.jpg", "testimgari.jpg"}) out.push_back(ReadFile(dir / name));
    out.push_back(ReadFile(QELVANE_QR_PICTURE));
    return out;
}

TEST(PictureCorpus, TruncatedJpegsAreNoPicture) {
    REQUIRE_SOURCE(QELVANE_LIBJPEG_SRC);
    for (const ByteList& jpg : ValidJpegs()) {
        ASSERT_TRUE(Decode(jpg));
        std::vector<std::size_t> cuts{jpg.size() - 1, jpg.size() - 2, 8, 20, 200};
        for (std::size_t step = jpg.size() / 40, cut = step; cut < jpg.size(); cut += step) cuts.push_back(cut);
        for (std::size_t cut : cuts) {
            SCOPED_TRACE(cut);
            ByteList b(jpg.begin(), jpg.begin() + static_cast<std::ptrdiff_t>(cut));
            EXPECT_FALSE(Decode(b));
        }
    }
}

TEST(PictureCorpus, DamagedJpegsFailOrDecodeWhole) {
    REQUIRE_SOURCE(QELVANE_LIBJPEG_SRC);
    for (const ByteList& jpg : ValidJpegs()) {
        ASSERT_TRUE(Decode(jpg));
        // Flipped bits everywhere: many go unnoticed in the entropy-coded data (they only change
        // coefficients); whatever comes out is a whole, consistent picture.
        for (std::size_t at = 2; at < jpg.size(); at += 61) {
            for (std::uint8_t flip : {std::uint8_t{0xFF}, std::uint8_t{0x10}}) {
                ByteList b = jpg;
                b[at] ^= flip;
                const auto p = Decode(b);
                if (!p) continue;
                SCOPED_TRACE(at);
                ASSERT_EQ(p->bgra.size(), static_cast<std::size_t>(p->width) * p->height * 4);
                EXPECT_LE(p->width, kMaxPictureSide);
                EXPECT_LE(p->height, kMaxPictureSide);
            }
        }
    }
}

// Offset of the first marker segment FF `marker` before the scan data, or 0.
std::size_t FindSegment(const ByteList& jpg, std::uint8_t marker) {
    for (std::size_t at = 2; at + 4 <= jpg.size() && jpg[at] == 0xFF;) {
        if (jpg[at + 1] == marker) return at;
        if (jpg[at + 1] == 0xDA) break;  // the scan: entropy-coded data follows
        at += 2 + ((std::size_t{jpg[at + 2]} << 8) | jpg[at + 3]);
    }
    return 0;
}

TEST(PictureCorpus, JpegsMissingWhatTheScanNeedsAreNoPicture) {
    REQUIRE_SOURCE(QELVANE_LIBJPEG_SRC);
    for (const ByteList& jpg : ValidJpegs()) {
        // (Missing Huffman tables are not among these: libjpeg then uses the standard ones, as
        // motion-JPEG frames expect.)
        const std::uint8_t frame = FindSegment(jpg, 0xC0) ? 0xC0 : 0xC9;  // baseline or arithmetic
        for (std::uint8_t marker : {std::uint8_t{0xDB}, frame, std::uint8_t{0xDA}}) {
            SCOPED_TRACE(static_cast<int>(marker));
            const std::size_t at = FindSegment(jpg, marker);
            ASSERT_NE(at, 0u);
            const std::size_t length = 2 + ((std::size_t{jpg[at + 2]} << 8) | jpg[at + 3]);
            ByteList b = jpg;
            b.erase(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + length));
            EXPECT_FALSE(Decode(b));
            // A frame header that names no component at all.
            if (marker == frame) {
                ByteList c = jpg;
                c[at + 9] = 0;
                EXPECT_FALSE(Decode(c));
            }
        }
    }
}

TEST(PictureCorpus, JpegHeaderClaimingHugeSizeIsRefused) {
    REQUIRE_SOURCE(QELVANE_LIBJPEG_SRC);
    ByteList jpg = ReadFile(fs::path(QELVANE_LIBJPEG_SRC) / "testimages" / "testorig.jpg");
    // The baseline frame header: FF C0, length, precision, height, width.
    std::size_t sof = 0;
    for (std::size_t i = 2; i + 9 < jpg.size(); ++i)
        if (jpg[i] == 0xFF && jpg[i + 1] == 0xC0) {
            sof = i;
            break;
        }
    ASSERT_NE(sof, 0u);
    for (auto [h, w] : {std::pair{65535, 65535}, std::pair{149, 8193}, std::pair{4097, 4097}}) {
        ByteList b = jpg;
        b[sof + 5] = static_cast<std::uint8_t>(h >> 8);
        b[sof + 6] = static_cast<std::uint8_t>(h);
        b[sof + 7] = static_cast<std::uint8_t>(w >> 8);
        b[sof + 8] = static_cast<std::uint8_t>(w);
        EXPECT_FALSE(Decode(b)) << w << " x " << h;
    }
}

}  // namespace
}  // namespace qelvane
