// Picture recognition, decoding of the two pictures the form carries and of
// small made-up files, the blend over a background and the picture box geometry.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include <zlib.h>

#include "tests/unit/PictureTestImages.h"
#include "ui/pictures/Picture.h"

namespace qelvane {
namespace {

using ByteList = std::vector<std::uint8_t>;

ByteList ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteList(std::istreambuf_iterator<char>(in), {});
}

PictureFormat Sniff(const ByteList& b) { return SniffPicture(b.data(), b.size()); }

TEST(PictureSniff, FirstBytesTableInOrder) {
    struct Case {
        ByteList bytes;
        PictureFormat format;
    };
    const Case cases[] = {
        {{'B', 'M', 0, 0, 0, 0, 0, 0}, PictureFormat::Bmp},
        {{0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F'}, PictureFormat::Jpeg},
        {{0xFF, 0xD8, 0, 0, 0, 0, 0, 0}, PictureFormat::Jpeg},  // two bytes decide
        {{0x89, 'P', 'N', 'G', 0, 0, 0, 0}, PictureFormat::Png},  // four bytes decide
        {{0x89, 'P', 'N', 'X', '\r', '\n', 0x1A, '\n'}, PictureFormat::None},
        {{0, 0, 1, 0, 1, 0, 16, 16}, PictureFormat::Ico},
        {{0, 0, 1, 0, 0, 1, 16, 16}, PictureFormat::Ico},  // count 256
        {{0, 0, 1, 0, 0, 0, 16, 16}, PictureFormat::None},  // no image in it
        {{0, 0, 2, 0, 3, 0, 32, 32}, PictureFormat::Cur},
        {{0, 0, 2, 0, 0, 0, 32, 32}, PictureFormat::None},
        {{0, 0, 3, 0, 1, 0, 32, 32}, PictureFormat::None},
        {{1, 0, 1, 0, 1, 0, 16, 16}, PictureFormat::None},
        {{'G', 'I', 'F', '8', '9', 'a', 1, 0}, PictureFormat::Gif},
        {{'G', 'I', 'F', '8', '7', 'a', 1, 0}, PictureFormat::Gif},
        {{'G', 'I', 'F', '8', '8', 'a', 1, 0}, PictureFormat::None},
        {{'G', 'I', 'F', '8', '9', 'b', 1, 0}, PictureFormat::None},
        {{0x0A, 5, 1, 8, 0, 0, 0, 0}, PictureFormat::Pcx256},
        {{0x0A, 0, 1, 8, 0, 0, 0, 0}, PictureFormat::Pcx256},
        {{0x0A, 6, 1, 8, 0, 0, 0, 0}, PictureFormat::None},
        {{0x0A, 3, 1, 1, 0, 0, 0, 0}, PictureFormat::PcxMono},
        {{0x0A, 2, 1, 1, 0, 0, 0, 0}, PictureFormat::None},
        {{0x0A, 3, 0, 8, 0, 0, 0, 0}, PictureFormat::None},
        {{'p', 'r', 'i', 'c', 'e', ':', ' ', '3'}, PictureFormat::None},
        {{0, 0, 0, 0, 0, 0, 0, 0}, PictureFormat::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        EXPECT_EQ(Sniff(c.bytes), c.format);
    }
}

TEST(PictureSniff, FewerThanEightBytesIsNoPicture) {
    const ByteList png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_EQ(Sniff(png), PictureFormat::Png);
    for (std::size_t n = 0; n < 8; ++n) {
        EXPECT_EQ(SniffPicture(png.data(), n), PictureFormat::None) << n;
        EXPECT_FALSE(DecodePicture(png.data(), n)) << n;
    }
    EXPECT_EQ(SniffPicture(nullptr, 100), PictureFormat::None);
    EXPECT_FALSE(DecodePicture(nullptr, 100));
}

TEST(PictureSniff, RecognisedFormatsTheFormNeverCarriesGiveNoPicture) {
    for (const ByteList& b : {ByteList{'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0},
                              ByteList{0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0},
                              ByteList{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'},
                              ByteList{0x0A, 5, 1, 8, 0, 0, 0, 0, 9, 0, 9, 0}}) {
        ASSERT_NE(Sniff(b), PictureFormat::None);
        EXPECT_FALSE(DecodePicture(b.data(), b.size()));
    }
}

// An icon's first image is handed on as bytes; an entry that points outside the file is no icon.
TEST(PictureIcon, FirstImageStaysInsideTheFile) {
    // Header, one entry (width 0 = 256, height 16, 4 bytes at offset 22), then the image bytes.
    ByteList ico{0, 0, 1, 0, 1, 0, 0, 16, 0, 0, 1, 0, 32, 0, 4, 0, 0, 0, 22, 0, 0, 0, 'a', 'b', 'c', 'd'};
    const auto image = FirstIconImage(ico.data(), ico.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->data, ico.data() + 22);
    EXPECT_EQ(image->size, 4u);
    EXPECT_EQ(image->width, 256);
    EXPECT_EQ(image->height, 16);

    EXPECT_FALSE(FirstIconImage(ico.data(), ico.size() - 1)) << "image cut short";
    ico[14] = 0xFF;
    ico[17] = 0xFF;  // a size near 4 GiB must not wrap the bounds check
    EXPECT_FALSE(FirstIconImage(ico.data(), ico.size()));
    ico[14] = 4;
    ico[17] = 0;
    ico[18] = 10;  // offset inside the directory
    EXPECT_FALSE(FirstIconImage(ico.data(), ico.size()));
    EXPECT_FALSE(FirstIconImage(ico.data(), 21)) << "directory cut short";
    ico[2] = 2;  // a cursor is no icon
    ico[18] = 22;
    EXPECT_FALSE(FirstIconImage(ico.data(), ico.size()));
}

// ---- The two pictures of the form ----

TEST(PictureDecode, BadgePngIsOpaqueWithItsTransparentColourSevenTimes) {
    const ByteList png = ReadFile(QELVANE_SOURCE_DIR "/resources/qq-badge.png");
    ASSERT_EQ(Sniff(png), PictureFormat::Png);
    const auto p = DecodePicture(png.data(), png.size());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, PictureFormat::Png);
    EXPECT_EQ(p->width, 77);
    EXPECT_EQ(p->height, 22);
    EXPECT_EQ(p->bitsPerPixel, 32);
    ASSERT_EQ(p->bgra.size(), 77u * 22 * 4);
    int notOpaque = 0, keyColour = 0;
    for (std::size_t i = 0; i < p->bgra.size(); i += 4) {
        notOpaque += p->bgra[i + 3] != 255;
        keyColour += p->bgra[i] == 255 && p->bgra[i + 1] == 254 && p->bgra[i + 2] == 255;
    }
    EXPECT_EQ(notOpaque, 0);
    // Blue, green, red of the top-left pixel, the button's transparent colour.
    EXPECT_EQ(p->bgra[0], 255);
    EXPECT_EQ(p->bgra[1], 254);
    EXPECT_EQ(p->bgra[2], 255);
    EXPECT_EQ(keyColour, 7);
}

TEST(PictureDecode, QrJpegIs226Square) {
    const ByteList jpg = ReadFile(QELVANE_QR_PICTURE);
    ASSERT_EQ(Sniff(jpg), PictureFormat::Jpeg);
    const auto p = DecodePicture(jpg.data(), jpg.size());
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, PictureFormat::Jpeg);
    EXPECT_EQ(p->width, 226);
    EXPECT_EQ(p->height, 226);
    EXPECT_EQ(p->bitsPerPixel, 24);
    ASSERT_EQ(p->bgra.size(), 226u * 226 * 4);
    for (std::size_t i = 3; i < p->bgra.size(); i += 4) ASSERT_EQ(p->bgra[i], 255) << i;
    // White margin at the top left; a red finder square inside it (blue, green, red bytes).
    EXPECT_GT(p->bgra[0], 230);
    EXPECT_GT(p->bgra[2], 230);
    const std::uint8_t* finder = &p->bgra[(30u * 226 + 30) * 4];
    EXPECT_GT(finder[2], 150);
    EXPECT_LT(finder[0], 110);
}

// ---- Made-up PNGs: layout of the decoded rows ----

TEST(PictureDecode, PngRowsAreTopFirstInBlueGreenRedAlpha) {
    const ByteList png = testimages::MakePng(3, 2, [](int x, int y) {
        return static_cast<std::uint32_t>(((0x10 + x) << 24) | ((0x20 + y) << 16) | (0x30 << 8) | (0x40 + x + 3 * y));
    });
    ASSERT_FALSE(png.empty());
    const auto p = DecodePicture(png.data(), png.size());
    ASSERT_TRUE(p);
    ASSERT_EQ(p->width, 3);
    ASSERT_EQ(p->height, 2);
    const ByteList want{0x40, 0x30, 0x20, 0x10, 0x41, 0x30, 0x20, 0x11, 0x42, 0x30, 0x20, 0x12,
                        0x43, 0x30, 0x21, 0x10, 0x44, 0x30, 0x21, 0x11, 0x45, 0x30, 0x21, 0x12};
    EXPECT_EQ(p->bgra, want);
}

TEST(PictureDecode, OversizedHeadersAreRefusedBeforeAllocating) {
    // A valid picture of 1 x 1, then the same file claiming more than the bounds allow.
    for (auto [w, h, ok] : {std::tuple{1, 1, true}, std::tuple{kMaxPictureSide + 1, 1, false},
                            std::tuple{1, kMaxPictureSide + 1, false}, std::tuple{4097, 4097, false},
                            std::tuple{100000, 100000, false}, std::tuple{0x7FFFFFFF, 0x7FFFFFFF, false}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        ByteList png = testimages::MakePng(1, 1, [](int, int) { return 0xFF123456u; });
        ASSERT_GT(png.size(), 33u);
        // IHDR data starts at byte 16; its CRC covers type and data (bytes 12..28).
        auto put32 = [&](std::size_t at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i) png[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
        };
        put32(16, static_cast<std::uint32_t>(w));
        put32(20, static_cast<std::uint32_t>(h));
        put32(29, static_cast<std::uint32_t>(crc32(0, &png[12], 17)));
        EXPECT_EQ(DecodePicture(png.data(), png.size()).has_value(), ok);
    }
}

// ---- The blend ----

TEST(PictureBlend, MixesByAlphaTruncatingAndLeavesOpaquePixels) {
    DecodedPicture p;
    p.width = 5;
    p.height = 1;
    // blue, green, red, alpha
    p.bgra = {10, 20, 30, 255,   // opaque: kept
              200, 100, 0, 0,    // transparent: the background
              255, 0, 128, 128,  // half
              0, 255, 255, 1,    // almost transparent
              255, 255, 255, 254};
    const std::uint32_t background = 0x00336699;  // red 0x99, green 0x66, blue 0x33
    BlendOverBackground(p, background);
    const ByteList want{
        10, 20, 30, 255,
        0x33, 0x66, 0x99, 255,
        // (128 * 255 + 127 * 51) / 255 = 153.4; (127 * 102) / 255 = 50.8; (128 * 128 + 127 * 153) / 255 = 140.45
        153, 50, 140, 255,
        // (254 * 51) / 255 = 50.8; (255 + 254 * 102) / 255 = 102.6; (255 + 254 * 153) / 255 = 153.4
        50, 102, 153, 255,
        // (254 * 255 + 51) / 255 = 254.2; (254 * 255 + 102) / 255 = 254.4; (254 * 255 + 153) / 255 = 254.6
        254, 254, 254, 255,
    };
    EXPECT_EQ(p.bgra, want);
}

TEST(PictureBlend, WhiteAndBlackBackgroundsStayInRange) {
    DecodedPicture p;
    p.width = 256;
    p.height = 1;
    for (int a = 0; a < 256; ++a) p.bgra.insert(p.bgra.end(), {255, 0, 255, static_cast<std::uint8_t>(a)});
    DecodedPicture onWhite = p;
    BlendOverBackground(onWhite, 0x00FFFFFF);
    for (int a = 0; a < 256; ++a) {
        SCOPED_TRACE(a);
        EXPECT_EQ(onWhite.bgra[a * 4 + 0], 255);
        EXPECT_EQ(onWhite.bgra[a * 4 + 1], 255 - a) << "(255 - a) * 255 / 255";
        EXPECT_EQ(onWhite.bgra[a * 4 + 3], 255);
    }
    BlendOverBackground(p, 0);
    for (int a = 0; a < 256; ++a) EXPECT_EQ(p.bgra[a * 4 + 0], a) << a;
}

// ---- Where the picture box draws ----

TEST(PictureLayoutTest, ModesZeroAndOne) {
    EXPECT_EQ(PictureLayout(0, 95, 95, 226, 226), (PictureRect{0, 0, 226, 226}));
    EXPECT_EQ(PictureLayout(0, 95, 95, 60, 40), (PictureRect{0, 0, 60, 40}));
    EXPECT_EQ(PictureLayout(1, 95, 95, 226, 226), (PictureRect{0, 0, 95, 95}));
    EXPECT_EQ(PictureLayout(1, 95, 95, 60, 40), (PictureRect{0, 0, 95, 95}));
}

TEST(PictureLayoutTest, ModeTwoCentresSmallerPicturesAtTheirOwnSize) {
    EXPECT_EQ(PictureLayout(2, 95, 95, 60, 40), (PictureRect{17, 27, 60, 40}));
    EXPECT_EQ(PictureLayout(2, 95, 95, 95, 95), (PictureRect{0, 0, 95, 95}));
    EXPECT_EQ(PictureLayout(2, 95, 95, 77, 22), (PictureRect{9, 36, 77, 22}));
    EXPECT_EQ(PictureLayout(2, 95, 95, 94, 1), (PictureRect{0, 47, 94, 1}));
}

TEST(PictureLayoutTest, ModeTwoShrinksLargerPicturesKeepingProportions) {
    // Square into square: exactly the box, no rounding loss.
    EXPECT_EQ(PictureLayout(2, 95, 95, 226, 226), (PictureRect{0, 0, 95, 95}));
    // s = 95 / 300: 95 x 31.67 truncated to 31, centred in the freed 64 rows.
    EXPECT_EQ(PictureLayout(2, 95, 95, 300, 100), (PictureRect{0, 32, 95, 31}));
    EXPECT_EQ(PictureLayout(2, 95, 95, 100, 300), (PictureRect{32, 0, 31, 95}));
    // Narrower but taller: the drawn width starts at the picture's own (x = 22), then scales
    // by 95 / 200 to 23.75 -> 23, and half of the 27 freed columns (13) moves it on.
    EXPECT_EQ(PictureLayout(2, 95, 95, 50, 200), (PictureRect{35, 0, 23, 95}));
    // Wider but lower: the same across.
    EXPECT_EQ(PictureLayout(2, 95, 95, 200, 50), (PictureRect{0, 35, 95, 23}));
    // One pixel too wide.
    EXPECT_EQ(PictureLayout(2, 95, 95, 96, 96), (PictureRect{0, 0, 95, 95}));
    EXPECT_EQ(PictureLayout(2, 95, 95, 96, 48), (PictureRect{0, 23, 95, 47}));
    // Exact thirds, where a floating-point scale would land just below the whole number.
    EXPECT_EQ(PictureLayout(2, 100, 100, 300, 150), (PictureRect{0, 25, 100, 50}));
    EXPECT_EQ(PictureLayout(2, 49, 100, 147, 300), (PictureRect{0, 0, 49, 100}));
}

TEST(PictureLayoutTest, EmptyBoxesGiveEmptyRectangles) {
    EXPECT_EQ(PictureLayout(2, 0, 0, 60, 40), (PictureRect{0, 0, 0, 0}));
    EXPECT_EQ(PictureLayout(2, 0, 95, 60, 40), (PictureRect{0, 47, 0, 0}));
    EXPECT_EQ(PictureLayout(1, 0, 0, 60, 40), (PictureRect{0, 0, 0, 0}));
}

}  // namespace
}  // namespace qelvane
