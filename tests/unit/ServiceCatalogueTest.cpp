#include "app/ServiceCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace qelvane {
namespace {

std::string Hex(std::string_view bytes) {
    std::string out;
    char buf[4];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", c);
        out += buf;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

TEST(ServiceCatalogue, DefaultTextIsGbk) {
    EXPECT_EQ(Hex(kDefaultPriceText), "BC DB B8 F1 A3 BA");
}

TEST(ServiceCatalogue, IdentifiersAndPropertyNumbers) {
    EXPECT_EQ(kTabId, 0x16010008u);
    EXPECT_EQ(kPriceLabelId, 0x16010012u);
    EXPECT_EQ(kLabelCaptionProperty, 8);
    EXPECT_EQ(kCurrentPageProperty, 12);
    EXPECT_EQ(kCheckedProperty, 18);
}

struct Row {
    std::uint32_t id;
    const char* gbkHex;  // expected text as GBK bytes
};

// Expected table, with every text spelled out as GBK bytes so that a wrong
// literal, a lost full-width character or a reordered pair shows up.
TEST(ServiceCatalogue, TableIsExactlyTheCatalogue) {
    const std::vector<std::vector<Row>> expected = {
        {{0x16010009u, "B5 E3 BB F7 D3 D2 B2 E0 51 51 CD BC B1 EA A3 AC D4 F6 BC D3 CE A2 D0 C5 D4 C4 B6 C1 C1 BF"},
         {0x1601000Bu, "BC DB B8 F1 A3 BA 31 30 D4 AA D2 BB B0 D9 B8 F6 CE A2 D0 C5 B9 D8 D7 A2"},
         {0x1601000Cu, "BC DB B8 F1 A3 BA 33 30 D4 AA D2 BB B0 D9 B8 F6 CE A2 D0 C5 D5 E6 C8 CB B7 DB CB BF"},
         {0x1601000Du, "BC DB B8 F1 A3 BA 34 30 D4 AA D2 BB B0 D9 B8 F6 C9 A8 C2 EB B9 D8 D7 A2"}},
        {{0x1601001Eu, "B5 E3 BB F7 D3 D2 B2 E0 51 51 CD BC B1 EA A3 AC B7 A2 CB CD CD B6 C6 B1 C1 B4 BD D3"},
         {0x1601001Fu, "BC DB B8 F1 A3 BA 33 30 D4 AA D2 BB B0 D9 B8 F6 D0 A1 B3 CC D0 F2 C9 A8 C2 EB"},
         {0x16010020u, "BC DB B8 F1 A3 BA 34 30 D4 AA D2 BB B0 D9 B8 F6 CE A2 D0 C5 CA D3 C6 B5 B2 A5 B7 C5"},
         {0x160121A0u, "BC DB B8 F1 A3 BA 33 30 D4 AA D2 BB B0 D9 B8 F6 CE A2 D0 C5 48 35 CA DA C8 A8"}},
        {{0x16010026u, "BC DB B8 F1 A3 BA 31 30 30 D4 AA D2 BB B0 D9 C8 CB C5 F3 D3 D1 C8 A6 D7 AA B7 A2"},
         {0x16010027u, "BC DB B8 F1 A3 BA 32 30 D4 AA D2 BB B0 D9 CC F5 B8 DF BC B6 B5 E3 D4 DE"},
         {0x16010028u, "BC DB B8 F1 A3 BA 31 30 D4 AA D2 BB C6 AA A3 AC 32 30 CC F5 C1 F4 D1 D4 C4 DA C8 DD"},
         {0x160121A3u, "BC DB B8 F1 A3 BA 33 30 D4 AA D2 BB B0 D9 B8 F6"}},
    };
    for (std::int32_t page = 0; page < 3; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        auto services = ServicesOfPage(page);
        ASSERT_EQ(services.size(), kServicesPerPage);
        for (std::size_t i = 0; i < kServicesPerPage; ++i) {
            SCOPED_TRACE("position " + std::to_string(i + 1));
            const Row& want = expected[static_cast<std::size_t>(page)][i];
            EXPECT_EQ(services[i].radioBoxId, want.id);
            EXPECT_EQ(Hex(services[i].priceText), want.gbkHex);
        }
    }
}

TEST(ServiceCatalogue, PagesOutsideTheListHaveNoServices) {
    EXPECT_TRUE(ServicesOfPage(-1).empty());
    EXPECT_TRUE(ServicesOfPage(3).empty());
    EXPECT_TRUE(ServicesOfPage(0x7FFFFFFF).empty());
    EXPECT_TRUE(ServicesOfPage(-0x7FFFFFFF - 1).empty());
}

TEST(ServiceCatalogue, RadioBoxesAreDistinct) {
    std::vector<std::uint32_t> ids;
    for (std::int32_t page = 0; page < 3; ++page)
        for (const Service& s : ServicesOfPage(page)) ids.push_back(s.radioBoxId);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
    EXPECT_EQ(ids.size(), 12u);
}

}  // namespace
}  // namespace qelvane
