// The vendor's price list: the program is built from the shipped file, a changed file changes
// what is generated, and a vendor's mistakes are reported with the file's line and column.
#include "tools/VendorFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include "app/MainWindowForm.h"
#include "app/ServiceCatalogue.h"
#include "ui/form/Schema.h"

namespace qelvane::vendorfile {
namespace {

// The file and its texts are UTF-8; this file's narrow literals are GBK, so UTF-8 ones are u8.
std::string U(const char8_t* utf8) { return reinterpret_cast<const char*>(utf8); }

std::string Shipped() {
    std::ifstream in(QELVANE_SOURCE_DIR "/vendor/price-list.toml", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// "LINE:COLUMN" of the first occurrence of `needle` in `text`.
std::string PlaceOf(const std::string& text, const std::string& needle) {
    const std::size_t at = text.find(needle);
    const std::size_t lineStart = text.rfind('\n', at) + 1;
    const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n');
    return std::to_string(line) + ":" + std::to_string(at - lineStart + 1);
}

std::string Findings(const std::string& text) {
    std::string out;
    for (const Finding& f : ReadVendorFile(text, "price-list.toml").findings) out += f.text + "\n";
    return out;
}

// The file's texts are UTF-8; the program's are GBK.
std::string G(const std::string& utf8) { return Gbk(utf8).value_or("<not GBK>"); }

TEST(VendorFile, TheFormAndTheCatalogueHoldTheShippedFile) {
    const ReadResult r = ReadVendorFile(Shipped(), "price-list.toml");
    ASSERT_TRUE(r.Ok()) << Findings(Shipped());
    EXPECT_TRUE(r.findings.empty()) << Findings(Shipped());

    const WindowTemplate& w = MainWindowForm().windows[0];
    const auto& tab = std::get<TabProps>(w.components.back().settings);
    ASSERT_EQ(tab.pageCaptions.size(), kPages);
    for (std::size_t p = 0; p < kPages; ++p) {
        EXPECT_EQ(tab.pageCaptions[p], G(r.data.pages[p].caption));
        const auto services = ServicesOfPage(static_cast<std::int32_t>(p));
        ASSERT_EQ(services.size(), kServicesPerPage);
        for (std::size_t i = 0; i < kServicesPerPage; ++i) {
            SCOPED_TRACE(::testing::Message() << "page " << p << " service " << i);
            EXPECT_EQ(services[i].priceText, G(r.data.pages[p].services[i].price));
            for (const ComponentEntry& e : w.components) {
                if (e.id != services[i].radioBoxId) continue;
                EXPECT_EQ(std::get<RadioBoxProps>(e.settings).caption, G(r.data.pages[p].services[i].caption));
            }
        }
    }
    const auto& title = std::get<WindowProps>(w.self.settings).title;
    EXPECT_NE(title.find(G(r.data.qq) + " " + G(r.data.webHost)), std::string::npos);
}

TEST(VendorFile, AChangedFileChangesTheGeneratedTexts) {
    std::string text = Replaced(Shipped(), U(u8"价格：30元一百个微信真人粉丝"), U(u8"价格：35元一百个微信真人粉丝"));
    text = Replaced(text, "qq = \"800012345\"", "qq = \"800054321\"");
    text = Replaced(text, U(u8"caption = \"微信关注："), U(u8"caption = \"微信关注（新）："));
    const ReadResult r = ReadVendorFile(text, "price-list.toml");
    ASSERT_TRUE(r.Ok()) << Findings(text);
    EXPECT_EQ(r.data.pages[0].services[2].price, U(u8"价格：35元一百个微信真人粉丝"));
    const std::string header = VendorHeader(r.data);
    EXPECT_NE(header.find("#define QELVANE_VENDOR_QQ \"800054321\""), std::string::npos);
    // kPriceTexts[0][2] and kRadioCaptions[0][1]: the third and second texts of their first rows.
    const std::size_t prices = header.find("kPriceTexts");
    EXPECT_NE(header.find(U(u8"\"价格：35元一百个微信真人粉丝\""), prices), std::string::npos);
    EXPECT_LT(header.find(U(u8"微信关注（新）：")), prices);
    EXPECT_EQ(header.find(U(u8"价格：30元一百个微信真人粉丝")), std::string::npos);
}

TEST(VendorFile, MistakesNameTheirLineAndColumn) {
    const std::string shipped = Shipped();
    const std::string noQq = Replaced(shipped, "qq = \"800012345\"\n", "");
    const std::string threeServices = Replaced(shipped, U(u8"[[page.service]]\ncaption = \"扫码关注："), U(u8"[[nope]]\ncaption = \"扫码关注："));
    const std::string fourPages = shipped + U(u8"\n[[page]]\ncaption = \"多余\"\n");
    const std::string notGbk = Replaced(shipped, U(u8"price = \"价格：100元"), U(u8"price = \"\U0001F600价格：100元"));
    const std::string letters = Replaced(shipped, "qq = \"800012345\"", "qq = \"80001234x\"");
    const std::string badHost = Replaced(shipped, "order_host = \"order.qelvane.example\"", "order_host = \"order qelvane\"");
    const std::string noName = Replaced(shipped, U(u8"qr_code_name = \"下单网站二维码：手机扫码打开自助下单页面\""), "qr_code_name = \"\"");
    const std::string longPrice = Replaced(shipped, U(u8"price = \"价格：30元一百个\""), U(u8"price = \"价格：30元一百个，另送二十个点赞和十条留言\""));
    // Each: the broken text, where the finding must point (the first place of that text), and what it says.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {noQq, "[vendor]", "error: missing key `vendor.qq`"},
        {threeServices, "[[page.service]]", "error: there must be exactly 4 services on page[1], not 3"},
        {fourPages, U(u8"[[page]]\ncaption = \"多余\""), "error: there must be exactly 3 pages, not 4"},
        {notGbk, U(u8"\"\U0001F600"), U(u8"error: `page[3].service[1].price` holds \"\U0001F600\", which GBK cannot hold")},
        {letters, "\"80001234x\"", "error: `vendor.qq` must be a QQ number: 5 to 11 digits"},
        {badHost, "\"order qelvane\"", "error: `vendor.order_host` must be a host name such as www.example.com"},
        {noName, "\"\"\n", "error: `vendor.qr_code_name` must say what the QR code is, for screen readers"},
        {longPrice, U(u8"\"价格：30元一百个，"),
         "warning: `page[3].service[4].price` is 42 GBK bytes; the price label shows about 32 on one line"},
    };
    for (const auto& [text, at, says] : cases) {
        const std::string expected = "price-list.toml:" + PlaceOf(text, at) + ": " + says + "\n";
        const std::string findings = Findings(text);
        EXPECT_NE(findings.find(expected), std::string::npos) << expected << "not in\n" << findings;
    }
    EXPECT_TRUE(ReadVendorFile(longPrice, "p").Ok()) << "a long price is only a warning";
    EXPECT_FALSE(ReadVendorFile(badHost, "p").Ok());
}

}  // namespace
}  // namespace qelvane::vendorfile
