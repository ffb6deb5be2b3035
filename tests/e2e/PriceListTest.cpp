// The price list used as a user does, with real mouse input: check a service,
// click "获取最新价格", and read the price both from the label and off the screen.
#include "tests/e2e/PriceWindow.h"

namespace e2e {
namespace {

// Captions begin with the service name; these pick out the boxes used here.
const std::wstring kBox1 = L"图文阅读：";             // 单选框1, page 0
const std::wstring kBox2 = L"微信关注：";             // 单选框2, page 0, checked at start
const std::wstring kBox3 = L"人工活粉：";             // 单选框3, page 0
const std::wstring kBox12 = L"转发|收藏|原文阅读：";  // 单选框12, page 2

const std::wstring kDefault = L"价格：";

using PriceListTest = PriceWindowTest;

TEST_F(PriceListTest, CheckedServiceShowsItsPriceAndOtherPageShowsDefault) {
    ASSERT_EQ(WindowText(label_), kDefault);
    ASSERT_EQ(Page(), 0);
    ASSERT_TRUE(Checked(Radio(kBox2)));

    CheckRadio(kBox3);
    EXPECT_FALSE(Checked(Radio(kBox2))) << "checking 单选框3 unchecks 单选框2";
    EXPECT_EQ(WindowText(label_), kDefault) << "checking alone changes nothing";
    RefreshAndExpect(L"价格：30元一百个微信真人粉丝");

    // Page 1 has nothing checked: the default, and no trace of the long text on screen.
    ShowPage(1);
    RefreshAndExpect(kDefault);
    ShowPage(0);
    RefreshAndExpect(L"价格：30元一百个微信真人粉丝");
    EXPECT_TRUE(program_->Running());
}

TEST_F(PriceListTest, ShortTextAndTextWithoutPrefixShowExactly) {
    ShowPage(2);
    CheckRadio(kBox12);
    RefreshAndExpect(L"价格：30元一百个");

    ShowPage(0);
    CheckRadio(kBox1);
    RefreshAndExpect(L"点击右侧QQ图标，增加微信阅读量");
    EXPECT_TRUE(program_->Running());
}

}  // namespace
}  // namespace e2e
