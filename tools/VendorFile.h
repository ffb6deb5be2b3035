// The vendor's price list (vendor/price-list.toml): read and checked on the host at build
// time, and turned into the header the program is built with. The program reads no file.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qelvane::vendorfile {

inline constexpr std::size_t kPages = 3;
inline constexpr std::size_t kServicesPerPage = 4;
// What the price label shows on one line (192 pixels of the default GUI font).
inline constexpr std::size_t kPriceRoomGbkBytes = 32;

struct Service {
    std::string caption;  // the radio box's text (UTF-8)
    std::string price;    // the label's text when the box is checked (UTF-8)
};

struct Page {
    std::string caption;
    std::array<Service, kServicesPerPage> services;
};

// Where a key's value stands in the file.
struct Place {
    long line = 0, column = 0;
};

struct VendorData {
    std::string name, qq, webHost, orderHost;
    std::string qrCodeName;  // what a screen reader calls the QR code
    // The QR code: a text to encode (the ordering page unless the vendor gives one), or the
    // vendor's own picture, a path relative to the file; exactly one is set.
    std::string qrText;
    std::string qrPicture;
    Place qrPlace;  // of the key the QR code comes from
    std::array<Page, kPages> pages;
};

// One finding, as "FILE:LINE:COLUMN: error: ..." or "...: warning: ...".
struct Finding {
    bool error = true;
    std::string text;
};

struct ReadResult {
    VendorData data;
    std::vector<Finding> findings;
    bool Ok() const {
        for (const Finding& f : findings)
            if (f.error) return false;
        return true;
    }
};

// The GBK bytes of a UTF-8 text, or nothing when GBK cannot hold it.
std::optional<std::string> Gbk(const std::string& utf8);

// Parses and checks the file's text; `path` names it in the findings.
ReadResult ReadVendorFile(std::string_view text, std::string_view path);

// The bytes of the QR code picture the form carries: made from `qrText`, or the vendor's own
// picture checked (PNG or JPEG, square, not too large). `vendorPath` is the file's path, which
// the picture's is relative to. `findsCode`, where a QR decoder is at hand, says whether it
// finds a code in a picture file; a picture where it finds none is a warning.
inline constexpr std::size_t kMaxOwnPictureBytes = 1 << 20;
inline constexpr int kMaxOwnPictureSide = 1024;
struct PictureResult {
    std::vector<std::uint8_t> bytes;
    std::vector<Finding> findings;
};
using CodeFinder = std::function<std::optional<bool>(const std::string& path)>;
PictureResult QrPicture(const VendorData& data, std::string_view vendorPath, const CodeFinder& findsCode = {});
// Where the vendor's own picture is: its path taken relative to the price list's folder.
std::string OwnPicturePath(const VendorData& data, std::string_view vendorPath);

// The header the program is built with: the contact data as macros (the resource script
// reads them too) and constants, the page captions, the radio captions and the price texts.
std::string VendorHeader(const VendorData& data);

}  // namespace qelvane::vendorfile
