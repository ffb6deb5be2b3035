// The vendor's price list (vendor/price-list.toml): read and checked on the host at build
// time, and turned into the header the program is built with. The program reads no file.
#pragma once

#include <array>
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

struct VendorData {
    std::string name, qq, webHost, orderHost;
    std::string qrCodeName;  // what a screen reader calls the QR code
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

// The header the program is built with: the contact data as macros (the resource script
// reads them too) and constants, the page captions, the radio captions and the price texts.
std::string VendorHeader(const VendorData& data);

}  // namespace qelvane::vendorfile
