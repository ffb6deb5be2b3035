// The suite runs twice: under the Chinese locale and under a Western one. This proves
// that the second run really has a code page in which GBK bytes would come out wrong.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(LocaleTest, AnsiCodePageIsTheOneTheRunAskedFor) {
    const char* lang = std::getenv("QELVANE_LANG");
    const std::string asked = lang != nullptr ? lang : "zh_CN.UTF-8";
    if (asked.rfind("zh_CN", 0) == 0) {
        EXPECT_EQ(GetACP(), 936u);
    } else if (asked.rfind("en_US", 0) == 0) {
        EXPECT_EQ(GetACP(), 1252u);
    } else {
        FAIL() << "no expectation for locale " << asked;
    }
}

}  // namespace
