#include "tools/VendorFile.h"

#include <iconv.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include <toml++/toml.h>

#include "tools/QrPicture.h"
#include "ui/pictures/Picture.h"

namespace qelvane::vendorfile {
namespace {

Finding FindingAt(std::string_view path, Place at, bool error, const std::string& what) {
    std::ostringstream s;
    s << path << ':' << at.line << ':' << at.column << ": " << (error ? "error" : "warning") << ": " << what;
    return {error, s.str()};
}

Place PlaceOf(const toml::source_region& at) { return {static_cast<long>(at.begin.line), static_cast<long>(at.begin.column)}; }

class Reader {
public:
    Reader(std::string_view path, std::vector<Finding>& findings) : path_(path), findings_(findings) {}

    void Error(const toml::source_region& at, const std::string& what) { Note(true, at, what); }
    void Warning(const toml::source_region& at, const std::string& what) { Note(false, at, what); }

    // A table's text value `key`, checked to be GBK; empty with an error when it is missing.
    std::string Text(const toml::table& table, std::string_view key, const std::string& where) {
        const toml::node* node = table.get(key);
        if (!node) {
            Error(table.source(), "missing key `" + where + "." + std::string(key) + "`");
            return {};
        }
        const auto* value = node->as_string();
        if (!value) {
            Error(node->source(), "`" + where + "." + std::string(key) + "` must be a text in quotes");
            return {};
        }
        const std::string text = value->get();
        CheckGbk(text, node->source(), where + "." + std::string(key));
        return text;
    }

private:
    void Note(bool error, const toml::source_region& at, const std::string& what) {
        findings_.push_back(FindingAt(path_, PlaceOf(at), error, what));
    }

    static std::vector<std::string> Characters(const std::string& utf8) {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < utf8.size();) {
            const unsigned char lead = static_cast<unsigned char>(utf8[i]);
            const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            out.push_back(utf8.substr(i, n));
            i += n;
        }
        return out;
    }


    void CheckGbk(const std::string& text, const toml::source_region& at, const std::string& where) {
        for (const std::string& c : Characters(text)) {
            const unsigned char lead = static_cast<unsigned char>(c[0]);
            if (lead < 0x20 || lead == 0x7F) {
                Error(at, "`" + where + "` holds a control character");
                return;
            }
            if (!Gbk(c)) {
                Error(at, "`" + where + "` holds \"" + c + "\", which GBK cannot hold");
                return;
            }
        }
    }

    std::string_view path_;
    std::vector<Finding>& findings_;
};

bool IsHostName(const std::string& host) {
    if (host.empty() || host.size() > 253 || host.find('.') == std::string::npos) return false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = host.find('.', start);
        const std::string label = host.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') return false;
        for (char c : label)
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') return false;
        if (dot == std::string::npos) return true;
        start = dot + 1;
    }
}

// A table array `key` of exactly `count` tables; null with an error otherwise.
const toml::array* TableArray(Reader& r, const toml::table& table, std::string_view key, std::size_t count,
                              const std::string& what) {
    const toml::node* node = table.get(key);
    const toml::array* array = node ? node->as_array() : nullptr;
    if (!array || !array->is_array_of_tables()) {
        r.Error(node ? node->source() : table.source(), "missing " + what + " (`[[" + std::string(key) + "]]`)");
        return nullptr;
    }
    if (array->size() != count) {
        r.Error(array->size() > count ? (*array)[count].source() : array->source(),
                "there must be exactly " + std::to_string(count) + " " + what + ", not " +
                    std::to_string(array->size()));
        return nullptr;
    }
    return array;
}

// The QR code's source: the vendor's text, their picture, or the ordering page. A text whose
// code would be too dense for the picture box is an error that says how much would fit.
void ReadQrCode(Reader& r, const toml::table& vendor, VendorData& d) {
    const toml::node* text = vendor.get("qr_code_text");
    const toml::node* picture = vendor.get("qr_code_picture");
    if (text && picture) {
        r.Error(picture->source(), "give either `vendor.qr_code_text` or `vendor.qr_code_picture`, not both");
        return;
    }
    if (picture) {
        d.qrPlace = PlaceOf(picture->source());
        d.qrPicture = r.Text(vendor, "qr_code_picture", "vendor");
        if (picture->is_string() && d.qrPicture.empty())
            r.Error(picture->source(), "`vendor.qr_code_picture` must name a PNG or JPEG file");
        return;
    }
    const toml::node* from = text ? text : vendor.get("order_host");
    if (!from) return;  // the missing host has had its error
    d.qrPlace = PlaceOf(from->source());
    if (text) {
        d.qrText = r.Text(vendor, "qr_code_text", "vendor");
        if (text->is_string() && d.qrText.empty()) r.Error(text->source(), "`vendor.qr_code_text` must not be empty");
        if (d.qrText.empty()) return;
    } else {
        if (!IsHostName(d.orderHost)) return;
        d.qrText = "http://" + d.orderHost + "/";
    }
    const auto modules = EncodeQr(d.qrText);
    if (modules && modules->width <= kQrMaxModules) return;
    const std::string fits = LongestFittingStart(d.qrText);
    std::ostringstream what;
    what << (text ? "`vendor.qr_code_text`" : "the ordering page " + d.qrText + ", which the QR code opens,")
         << " makes a code of " << (modules ? std::to_string(modules->width) : std::string("too many"))
         << " modules across; the " << kQrBoxPixels << "-pixel picture box can show at most " << kQrMaxModules
         << " (modules of " << kQrMinModulePixels << " pixels with the quiet zone). ";
    if (text) {
        what << "The longest text that fits is " << fits.size() << " bytes of it: \"" << fits << "\"";
    } else {
        const std::size_t frame = std::string_view("http:///").size();
        what << "A host of at most " << (fits.size() > frame ? fits.size() - frame : 0)
             << " characters fits; else give a shorter `vendor.qr_code_text` or a `vendor.qr_code_picture`";
    }
    r.Error(from->source(), what.str());
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

}  // namespace

std::optional<std::string> Gbk(const std::string& utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string in = utf8, out(utf8.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size(), outLeft = out.size();
    const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1)) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

ReadResult ReadVendorFile(std::string_view text, std::string_view path) {
    ReadResult result;
    Reader r(path, result.findings);
    toml::table root;
    try {
        root = toml::parse(text, path);
    } catch (const toml::parse_error& e) {
        r.Error(e.source(), std::string(e.description()));
        return result;
    }

    VendorData& d = result.data;
    if (const toml::table* vendor = root["vendor"].as_table()) {
        d.name = r.Text(*vendor, "name", "vendor");
        d.qq = r.Text(*vendor, "qq", "vendor");
        d.webHost = r.Text(*vendor, "web_host", "vendor");
        d.orderHost = r.Text(*vendor, "order_host", "vendor");
        d.qrCodeName = r.Text(*vendor, "qr_code_name", "vendor");
        if (const toml::node* name = vendor->get("qr_code_name"); name && name->is_string() && d.qrCodeName.empty())
            r.Error(name->source(), "`vendor.qr_code_name` must say what the QR code is, for screen readers");
        const bool digits = !d.qq.empty() && d.qq.find_first_not_of("0123456789") == std::string::npos;
        if (vendor->get("qq") && (!digits || d.qq.size() < 5 || d.qq.size() > 11))
            r.Error(vendor->get("qq")->source(), "`vendor.qq` must be a QQ number: 5 to 11 digits");
        for (const auto& [key, host] : {std::pair{"web_host", &d.webHost}, std::pair{"order_host", &d.orderHost}})
            if (vendor->get(key) && !IsHostName(*host))
                r.Error(vendor->get(key)->source(),
                        std::string("`vendor.") + key + "` must be a host name such as www.example.com");
        ReadQrCode(r, *vendor, d);
    } else {
        r.Error(root.source(), "missing table `[vendor]`");
    }

    if (const toml::array* pages = TableArray(r, root, "page", kPages, "pages")) {
        for (std::size_t p = 0; p < kPages; ++p) {
            const toml::table& page = *(*pages)[p].as_table();
            const std::string where = "page[" + std::to_string(p + 1) + "]";
            d.pages[p].caption = r.Text(page, "caption", where);
            const toml::array* services = TableArray(r, page, "service", kServicesPerPage, "services on " + where);
            if (!services) continue;
            for (std::size_t s = 0; s < kServicesPerPage; ++s) {
                const toml::table& service = *(*services)[s].as_table();
                const std::string at = where + ".service[" + std::to_string(s + 1) + "]";
                Service& out = d.pages[p].services[s];
                out.caption = r.Text(service, "caption", at);
                out.price = r.Text(service, "price", at);
                // A text GBK cannot hold has had its error already.
                const std::size_t bytes = Gbk(out.price).value_or("").size();
                if (const toml::node* price = service.get("price"); price && bytes > kPriceRoomGbkBytes)
                    r.Warning(price->source(), "`" + at + ".price` is " + std::to_string(bytes) +
                                                   " GBK bytes; the price label shows about " +
                                                   std::to_string(kPriceRoomGbkBytes) + " on one line");
            }
        }
    }
    return result;
}

std::string OwnPicturePath(const VendorData& d, std::string_view vendorPath) {
    return (std::filesystem::path(vendorPath).parent_path() / d.qrPicture).string();
}

PictureResult QrPicture(const VendorData& d, std::string_view vendorPath, const CodeFinder& findsCode) {
    PictureResult result;
    const auto refuse = [&](const std::string& what) {
        result.findings.push_back(FindingAt(vendorPath, d.qrPlace, true, what));
        result.bytes.clear();
        return result;
    };
    if (d.qrPicture.empty()) {
        const auto modules = EncodeQr(d.qrText);
        if (!modules) return refuse("no QR code can be made of `vendor.qr_code_text`");
        result.bytes = QrPictureJpeg(*modules);
        return result;
    }
    const std::string path = OwnPicturePath(d, vendorPath);
    std::ifstream in(path, std::ios::binary);
    if (!in) return refuse("cannot read the QR code picture " + path);
    in.seekg(0, std::ios::end);
    const auto size = static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0));
    if (size > kMaxOwnPictureBytes)
        return refuse("the QR code picture " + path + " is " + std::to_string(size) + " bytes; at most " +
                      std::to_string(kMaxOwnPictureBytes) + " (1 MB)");
    in.seekg(0);
    result.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const PictureFormat format = SniffPicture(result.bytes.data(), result.bytes.size());
    if (format != PictureFormat::Png && format != PictureFormat::Jpeg)
        return refuse("the QR code picture " + path + " is not a PNG or JPEG file");
    const auto decoded = DecodePicture(result.bytes.data(), result.bytes.size());
    if (!decoded) return refuse("the QR code picture " + path + " cannot be decoded");
    const std::string measure = std::to_string(decoded->width) + " x " + std::to_string(decoded->height);
    if (decoded->width != decoded->height)
        return refuse("the QR code picture " + path + " is " + measure + " pixels; it must be square");
    if (decoded->width > kMaxOwnPictureSide)
        return refuse("the QR code picture " + path + " is " + measure + " pixels; at most " +
                      std::to_string(kMaxOwnPictureSide) + " x " + std::to_string(kMaxOwnPictureSide));
    if (findsCode)
        if (const auto found = findsCode(path); found && !*found)
            result.findings.push_back(
                FindingAt(vendorPath, d.qrPlace, false, "a QR decoder finds no code in the picture " + path));
    return result;
}

std::string VendorHeader(const VendorData& d) {
    std::ostringstream h;
    h << "// Generated from vendor/price-list.toml by vendorc; do not edit.\n"
         "#pragma once\n\n"
      << "#define QELVANE_VENDOR_NAME " << Quoted(d.name) << "\n"
      << "#define QELVANE_VENDOR_QQ " << Quoted(d.qq) << "\n"
      << "#define QELVANE_VENDOR_WEB_HOST " << Quoted(d.webHost) << "\n"
      << "#define QELVANE_VENDOR_ORDER_HOST " << Quoted(d.orderHost) << "\n"
      << "#define QELVANE_VENDOR_QR_CODE_NAME " << Quoted(d.qrCodeName) << "\n\n"
      << "#ifndef RC_INVOKED\n"
         "namespace qelvane::vendor {\n\n"
         "inline constexpr char kName[] = QELVANE_VENDOR_NAME;\n"
         "inline constexpr char kQqNumber[] = QELVANE_VENDOR_QQ;\n"
         "inline constexpr char kWebHost[] = QELVANE_VENDOR_WEB_HOST;\n"
         "inline constexpr char kOrderHost[] = QELVANE_VENDOR_ORDER_HOST;\n"
         "inline constexpr char kQrCodeName[] = QELVANE_VENDOR_QR_CODE_NAME;\n"
         "// What the QR code encodes, in UTF-8 as phones read it; empty for the vendor's own picture.\n"
         "inline constexpr char8_t kQrText[] = u8" << Quoted(d.qrText) << ";\n\n"
         "// By page in tab order, then top to bottom.\n"
         "inline constexpr const char* kPageCaptions[" << kPages << "] = {";
    for (const Page& p : d.pages) h << "\n    " << Quoted(p.caption) << ",";
    for (const auto& [name, price] : {std::pair{"kRadioCaptions", false}, std::pair{"kPriceTexts", true}}) {
        h << "\n};\ninline constexpr const char* " << name << "[" << kPages << "][" << kServicesPerPage << "] = {";
        for (const Page& p : d.pages) {
            h << "\n    {";
            for (const Service& s : p.services) h << "\n        " << Quoted(price ? s.price : s.caption) << ",";
            h << "\n    },";
        }
    }
    h << "\n};\n\n}  // namespace qelvane::vendor\n#endif\n";
    return h.str();
}

}  // namespace qelvane::vendorfile
