// The GBK edge: conversions go through code page 936 whatever the system's is.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/Gbk.h"

namespace qelvane {
namespace {

TEST(Gbk, ConvertsBothWaysExactly) {
    const std::string price = "价格：";
    EXPECT_EQ(price, "\xBC\xDB\xB8\xF1\xA3\xBA") << "narrow literals are GBK";
    EXPECT_EQ(WideFromGbk(price), L"\u4EF7\u683C\uFF1A");
    EXPECT_EQ(GbkFromWide(L"\u4EF7\u683C\uFF1A"), price);
    EXPECT_EQ(WideFromGbk(""), L"");
    EXPECT_EQ(GbkFromWide(L""), "");
    // ASCII and a GBK second byte equal to a backslash (0x5C) survive.
    const std::string mixed = "QQ\xD5\x5C|300-1000";
    EXPECT_EQ(GbkFromWide(WideFromGbk(mixed)), mixed);
    EXPECT_EQ(WideFromGbk(mixed).size(), 12u);
}

}  // namespace
}  // namespace qelvane
