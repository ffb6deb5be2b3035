// The QR code is the vendor's: made by the build from the price list's text (or the ordering
// page), drawn so that every module reads right in the picture box, or taken from the vendor's
// own picture once it is checked. Refusals name the line and column of their key.
#include "tools/QrPicture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/EmbeddedPictures.h"
#include "tests/unit/PictureTestImages.h"
#include "tools/VendorFile.h"
#include "ui/pictures/Picture.h"
#include "vendor/VendorData.h"

namespace qelvane::vendorfile {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

std::string Shipped() {
    std::ifstream in(QELVANE_SOURCE_DIR "/vendor/price-list.toml", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The shipped file with `line` added to its [vendor] table.
std::string WithVendorLine(const std::string& line) {
    std::string text = Shipped();
    text.insert(text.find("[vendor]\n") + 9, line + "\n");
    return text;
}

std::string AllFindings(const std::vector<Finding>& findings) {
    std::string out;
    for (const Finding& f : findings) out += f.text + "\n";
    return out;
}

int Luma(const DecodedPicture& p, int x, int y) {
    const std::uint8_t* px = &p.bgra[(static_cast<std::size_t>(y) * p.width + x) * 4];
    return (px[0] * 114 + px[1] * 587 + px[2] * 299) / 1000;
}

TEST(QrPicture, TheFormCarriesTheCodeOfThePriceListsText) {
    const ReadResult shipped = ReadVendorFile(Shipped(), "price-list.toml");
    ASSERT_TRUE(shipped.Ok()) << AllFindings(shipped.findings);
    EXPECT_EQ(shipped.data.qrText, "http://order.qelvane.example/") << "by default, the ordering page";
    EXPECT_TRUE(shipped.data.qrPicture.empty());

    // Whichever file this build was made from: its text, made into the picture, is what the form holds.
    const std::string text(reinterpret_cast<const char*>(vendor::kQrText));
    ASSERT_FALSE(text.empty());
    const auto modules = EncodeQr(text);
    ASSERT_TRUE(modules);
    EXPECT_EQ(Bytes(embedded::kQrCode, embedded::kQrCode + embedded::kQrCodeSize), QrPictureJpeg(*modules));
}

TEST(QrPicture, EveryModuleReadsRightInsideALightQuietZone) {
    const auto modules = EncodeQr("http://order.qelvane.example/");
    ASSERT_TRUE(modules);
    EXPECT_EQ(modules->width, 29);
    const Bytes jpeg = QrPictureJpeg(*modules);
    EXPECT_EQ(jpeg, QrPictureJpeg(*modules)) << "two builds, the same bytes";
    EXPECT_NE(jpeg, QrPictureJpeg(*EncodeQr("http://order.other.example/")));

    // Baseline: a start-of-frame 0 marker and no progressive one.
    const auto marker = [&](std::uint8_t m) {
        for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
            if (jpeg[i] == 0xFF && jpeg[i + 1] == m) return true;
        return false;
    };
    EXPECT_TRUE(marker(0xC0));
    EXPECT_FALSE(marker(0xC2));

    const auto p = DecodePicture(jpeg.data(), jpeg.size());
    ASSERT_TRUE(p);
    ASSERT_EQ(p->width, kQrPictureSide);
    ASSERT_EQ(p->height, kQrPictureSide);
    const int n = modules->width, cells = n + 2 * kQrQuietModules;
    const auto centre = [&](int cell) { return static_cast<int>((cell + 0.5) * kQrPictureSide / cells); };
    for (int y = 0; y < kQrPictureSide; ++y)
        for (int x = 0; x < kQrPictureSide; ++x) {
            const int cx = x * cells / kQrPictureSide, cy = y * cells / kQrPictureSide;
            const bool quiet = cx < kQrQuietModules - 1 || cy < kQrQuietModules - 1 || cx > n + kQrQuietModules ||
                               cy > n + kQrQuietModules;
            if (quiet) {
                ASSERT_GT(Luma(*p, x, y), 235) << "quiet zone at " << x << "," << y;
            }
        }
    // The outer corners of the finder squares are rounded off: the only modules drawn light.
    const auto roundedCorner = [n](int r, int c) {
        for (const auto& [r0, c0] : {std::pair{0, 0}, std::pair{0, n - 7}, std::pair{n - 7, 0}})
            if ((r == r0 || r == r0 + 6) && (c == c0 || c == c0 + 6)) return true;
        return false;
    };
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            if (roundedCorner(r, c)) continue;
            const int x = centre(c + kQrQuietModules), y = centre(r + kQrQuietModules);
            if (modules->Dark(r, c))
                EXPECT_LT(Luma(*p, x, y), 110) << "module " << r << "," << c;
            else
                EXPECT_GT(Luma(*p, x, y), 200) << "module " << r << "," << c;
        }
    // Blue modules, red finder squares.
    const std::uint8_t* finder = &p->bgra[(static_cast<std::size_t>(centre(7)) * kQrPictureSide + centre(7)) * 4];
    EXPECT_GT(finder[2], 150);
    EXPECT_LT(finder[0], 110);
}

TEST(QrPicture, ATextTooDenseForTheBoxIsRefusedWithWhatFits) {
    const std::string fits(42, 'a');  // 8-bit mode at level M: 42 bytes fill version 3
    EXPECT_EQ(EncodeQr(fits)->width, kQrMaxModules);
    EXPECT_EQ(LongestFittingStart(fits + "a"), fits);
    // Never cut inside a character: 14 three-byte characters are 42 bytes, a 15th does not fit.
    std::string wide;
    for (int i = 0; i < 15; ++i) wide += reinterpret_cast<const char*>(u8"\u4e00");
    EXPECT_EQ(LongestFittingStart(wide.substr(0, 9)), wide.substr(0, 9));
    EXPECT_EQ(LongestFittingStart(wide).size(), 42u);

    EXPECT_TRUE(ReadVendorFile(WithVendorLine("qr_code_text = \"" + fits + "\""), "p.toml").Ok());
    const std::string dense = WithVendorLine("qr_code_text = \"" + fits + "a\"");
    const ReadResult r = ReadVendorFile(dense, "p.toml");
    EXPECT_EQ(AllFindings(r.findings),
              "p.toml:10:16: error: `vendor.qr_code_text` makes a code of 33 modules across; the 95-pixel picture "
              "box can show at most 29 (modules of 2.5 pixels with the quiet zone). The longest text that fits is "
              "42 bytes of it: \"" + fits + "\"\n");

    // The ordering page is the default text, so a long host can be too much as well.
    const std::string longHost(40, 'h');
    std::string text = Shipped();
    text.replace(text.find("order.qelvane.example"), 21, longHost + ".example");
    const std::string findings = AllFindings(ReadVendorFile(text, "p.toml").findings);
    EXPECT_NE(findings.find("p.toml:17:14: error: the ordering page http://" + longHost + ".example/, which"),
              std::string::npos) << findings;
    // "http://" and "/" around 34 characters of host make the 42 bytes that fit.
    EXPECT_NE(findings.find("A host of at most 34 characters fits; else give a shorter `vendor.qr_code_text` or a "
                            "`vendor.qr_code_picture`"),
              std::string::npos) << findings;
}

TEST(QrPicture, TheTwoKeysAreOneOrTheOther) {
    const ReadResult both = ReadVendorFile(WithVendorLine("qr_code_text = \"x\"\nqr_code_picture = \"q.png\""), "p.toml");
    EXPECT_EQ(AllFindings(both.findings),
              "p.toml:11:19: error: give either `vendor.qr_code_text` or `vendor.qr_code_picture`, not both\n");
    EXPECT_EQ(AllFindings(ReadVendorFile(WithVendorLine("qr_code_text = \"\""), "p.toml").findings),
              "p.toml:10:16: error: `vendor.qr_code_text` must not be empty\n");
    EXPECT_EQ(AllFindings(ReadVendorFile(WithVendorLine("qr_code_picture = \"\""), "p.toml").findings),
              "p.toml:10:19: error: `vendor.qr_code_picture` must name a PNG or JPEG file\n");
    const ReadResult own = ReadVendorFile(WithVendorLine("qr_code_picture = \"q.png\""), "p.toml");
    ASSERT_TRUE(own.Ok());
    EXPECT_EQ(own.data.qrPicture, "q.png");
    EXPECT_TRUE(own.data.qrText.empty());
}

class OwnPicture : public ::testing::Test {
protected:
    OwnPicture() : dir_(fs::temp_directory_path() / ("qelvane-qr-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
        fs::create_directories(dir_);
    }
    ~OwnPicture() override { fs::remove_all(dir_); }

    // The vendor's picture file, and what the tool makes of it (line 10, column 19 is its value).
    PictureResult Check(const Bytes& file, std::optional<bool> decoderFinds = std::nullopt) {
        std::ofstream(dir_ / "own.png", std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                                static_cast<std::streamsize>(file.size()));
        const std::string vendorPath = (dir_ / "price-list.toml").string();
        const ReadResult r = ReadVendorFile(WithVendorLine("qr_code_picture = \"own.png\""), vendorPath);
        EXPECT_TRUE(r.Ok());
        seenPath_.clear();
        return QrPicture(r.data, vendorPath, [&](const std::string& path) {
            seenPath_ = path;
            return decoderFinds;
        });
    }
    std::string Refusal(const std::string& says) {
        return (dir_ / "price-list.toml").string() + ":10:19: error: the QR code picture " +
               (dir_ / "own.png").string() + " " + says + "\n";
    }

    fs::path dir_;
    std::string seenPath_;
};

Bytes Square(int side) {
    return testimages::MakePng(side, side, [](int x, int y) { return (x / 4 + y / 4) % 2 ? 0xFF000000u : 0xFFFFFFFFu; });
}

TEST_F(OwnPicture, ASquarePngOrJpegIsCarriedAsItIs) {
    const Bytes png = Square(40);
    PictureResult r = Check(png, true);
    EXPECT_EQ(r.bytes, png);
    EXPECT_TRUE(r.findings.empty()) << AllFindings(r.findings);
    EXPECT_EQ(seenPath_, (dir_ / "own.png").string()) << "the decoder is asked about the file itself";

    const Bytes jpeg = QrPictureJpeg(*EncodeQr("WECHAT:contact"));
    EXPECT_EQ(Check(jpeg).bytes, jpeg) << "no decoder at hand: no word about it";

    r = Check(png, false);
    EXPECT_EQ(r.bytes, png) << "a picture where the decoder finds no code is only a warning";
    EXPECT_EQ(AllFindings(r.findings), (dir_ / "price-list.toml").string() +
                                           ":10:19: warning: a QR decoder finds no code in the picture " +
                                           (dir_ / "own.png").string() + "\n");
}

TEST_F(OwnPicture, EachFaultIsOneRefusal) {
    Bytes truncated = Square(40);
    truncated.resize(truncated.size() - 30);
    Bytes huge = Square(8);
    huge.resize(kMaxOwnPictureBytes + 1, 0);
    const std::pair<Bytes, std::string> cases[] = {
        {testimages::MakePng(40, 30, [](int, int) { return 0xFF000000u; }), "is 40 x 30 pixels; it must be square"},
        {Square(kMaxOwnPictureSide + 1), "is 1025 x 1025 pixels; at most 1024 x 1024"},
        {Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't', 'u', 'r', 'e'}, "is not a PNG or JPEG file"},
        {Bytes{'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0}, "is not a PNG or JPEG file"},
        {truncated, "cannot be decoded"},
        {huge, "is 1048577 bytes; at most 1048576 (1 MB)"},
    };
    for (const auto& [file, says] : cases) {
        const PictureResult r = Check(file, true);
        EXPECT_EQ(AllFindings(r.findings), Refusal(says));
        EXPECT_TRUE(r.bytes.empty());
        EXPECT_TRUE(seenPath_.empty()) << "a refused picture is not handed to the decoder";
    }
    fs::remove(dir_ / "own.png");
    const ReadResult r = ReadVendorFile(WithVendorLine("qr_code_picture = \"missing.png\""), (dir_ / "price-list.toml").string());
    EXPECT_EQ(AllFindings(QrPicture(r.data, (dir_ / "price-list.toml").string()).findings),
              (dir_ / "price-list.toml").string() + ":10:19: error: cannot read the QR code picture " +
                  (dir_ / "missing.png").string() + "\n");
}

}  // namespace
}  // namespace qelvane::vendorfile
