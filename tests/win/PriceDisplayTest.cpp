// The price routine with the program's own routine table: what a click on
// "获取最新价格" puts on the label for each page and checked box.
#include "tests/win/WinTestSupport.h"

#include <commctrl.h>

#include "app/Routines.h"
#include "app/ServiceCatalogue.h"

namespace qelvane::wintest {
namespace {


// Captions the label was given, in order, as its window saw them.
std::vector<std::string> captionsSeen;

LRESULT CALLBACK RecordCaptions(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_SETTEXT) {
        const auto* text = reinterpret_cast<const wchar_t*>(lParam);
        const int n = WideCharToMultiByte(936, 0, text, -1, nullptr, 0, nullptr, nullptr);
        std::string gbk(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
        WideCharToMultiByte(936, 0, text, -1, gbk.data(), n, nullptr, nullptr);
        gbk.resize(gbk.size() - 1);
        captionsSeen.push_back(gbk);
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

class PriceDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = OpenMainWindow(StoredFormBytes(), ProgramRoutines());
        ASSERT_NE(window_, nullptr);
        captionsSeen.clear();
    }
    void TearDown() override {
        if (Native(kLabel)) RemoveWindowSubclass(Native(kLabel), &RecordCaptions, 1);
        ExitProgram(0);
        testing::ResetRuntime();
    }

    HWND Native(std::uint32_t id) const {
        ComponentSlot* slot = window_ ? window_->Slot(id) : nullptr;
        return slot && slot->object ? slot->object->Hwnd() : nullptr;
    }
    std::string Label() const {
        return reinterpret_cast<const char*>(
            static_cast<std::uintptr_t>(GetProperty(kMainWindowId, kLabel, prop::label::kCaption, -1)));
    }
    void ClickRefresh() {
        SendMessageW(Native(kButton), BM_CLICK, 0, 0);
        Pump();
    }
    void Check(std::uint32_t radio) {
        SendMessageW(Native(radio), BM_CLICK, 0, 0);
        Pump();
    }
    void ShowPage(int page) {
        SetProperty(kMainWindowId, kTab, prop::tab::kCurrentPage, -1, static_cast<std::uint32_t>(page));
        Pump();
    }
    void WatchCaptions() { ASSERT_TRUE(SetWindowSubclass(Native(kLabel), &RecordCaptions, 1, 0)); }

    FormWindow* window_ = nullptr;
};

TEST_F(PriceDisplayTest, StartShowsDefaultAndFirstClickThePreCheckedService) {
    EXPECT_EQ(Label(), "价格：");
    EXPECT_EQ(Hex(Label(), " "), "BC DB B8 F1 A3 BA");
    ClickRefresh();
    EXPECT_EQ(Label(), "价格：10元一百个微信关注");
}

TEST_F(PriceDisplayTest, CheckingChangesNothingUntilTheButtonIsClicked) {
    Check(kRadios[0][2]);
    EXPECT_EQ(Label(), "价格：") << "checking runs no routine";
    ClickRefresh();
    EXPECT_EQ(Label(), "价格：30元一百个微信真人粉丝");
    EXPECT_EQ(TextOf(Native(kLabel)),
              L"\u4EF7\u683C\uFF1A" L"30\u5143\u4E00\u767E\u4E2A\u5FAE\u4FE1\u771F\u4EBA\u7C89\u4E1D");
}

TEST_F(PriceDisplayTest, EveryServiceShowsItsOwnTextExactly) {
    for (int page = 0; page < 3; ++page) {
        ShowPage(page);
        for (const Service& service : ServicesOfPage(page)) {
            Check(service.radioBoxId);
            ClickRefresh();
            EXPECT_EQ(Label(), service.priceText) << "page " << page << ", box " << std::hex << service.radioBoxId;
        }
    }
    // The texts that stand out: no prefix, and the short one of the last box.
    ShowPage(0);
    Check(kRadios[0][0]);
    ClickRefresh();
    EXPECT_EQ(Label(), "点击右侧QQ图标，增加微信阅读量");
    ShowPage(2);
    Check(kRadios[2][3]);
    ClickRefresh();
    EXPECT_EQ(Label(), "价格：30元一百个");
    Check(kRadios[2][1]);
    ClickRefresh();
    EXPECT_EQ(Label(), "价格：20元一百条高级点赞") << "paired by box, not by caption";
}

TEST_F(PriceDisplayTest, OnlyThePageInFrontCounts) {
    Check(kRadios[0][2]);
    ShowPage(1);
    ClickRefresh();
    EXPECT_EQ(Label(), "价格：") << "the checked box is on page 0";
    ShowPage(0);
    ClickRefresh();
    EXPECT_EQ(Label(), "价格：30元一百个微信真人粉丝");
}

TEST_F(PriceDisplayTest, NoPageInFrontLeavesTheDefault) {
    Check(kRadios[0][2]);
    ClickRefresh();
    ASSERT_EQ(Label(), "价格：30元一百个微信真人粉丝");
    TabCtrl_SetCurSel(Native(kTab), -1);
    ASSERT_EQ(static_cast<std::int32_t>(GetProperty(kMainWindowId, kTab, prop::tab::kCurrentPage, -1)), -1);
    ClickRefresh();
    EXPECT_EQ(Label(), "价格：");
}

TEST_F(PriceDisplayTest, LaterCheckedBoxOverwritesAnEarlierOne) {
    // Two boxes of one page checked at once: checking a box unchecks only the boxes in
    // view, so the first is checked, hidden while the second is checked, then shown again.
    SetProperty(kMainWindowId, kRadios[0][0], kCheckedProperty, -1, 1);
    SetProperty(kMainWindowId, kRadios[0][0], prop::kVisible, -1, 0);
    SetProperty(kMainWindowId, kRadios[0][3], kCheckedProperty, -1, 1);
    SetProperty(kMainWindowId, kRadios[0][0], prop::kVisible, -1, 1);
    ASSERT_EQ(GetProperty(kMainWindowId, kRadios[0][0], kCheckedProperty, -1), 1u);
    ASSERT_EQ(GetProperty(kMainWindowId, kRadios[0][1], kCheckedProperty, -1), 0u);
    ASSERT_EQ(GetProperty(kMainWindowId, kRadios[0][3], kCheckedProperty, -1), 1u);
    WatchCaptions();
    ClickRefresh();
    EXPECT_EQ(Label(), "价格：40元一百个扫码关注");
    EXPECT_EQ(captionsSeen, (std::vector<std::string>{"价格：", "点击右侧QQ图标，增加微信阅读量",
                                                       "价格：40元一百个扫码关注"}));
}

TEST_F(PriceDisplayTest, EveryClickSetsTheDefaultFirstThenThePrice) {
    WatchCaptions();
    ClickRefresh();
    ClickRefresh();
    EXPECT_EQ(captionsSeen, (std::vector<std::string>{"价格：", "价格：10元一百个微信关注", "价格：",
                                                       "价格：10元一百个微信关注"}));
    captionsSeen.clear();
    ShowPage(1);
    ClickRefresh();
    EXPECT_EQ(captionsSeen, (std::vector<std::string>{"价格："})) << "nothing checked on page 1";
}

TEST_F(PriceDisplayTest, RefreshTouchesNothingButTheLabel) {
    Check(kRadios[0][2]);
    ShowPage(0);
    ClickRefresh();
    for (const auto& page : kRadios)
        for (std::uint32_t id : page)
            EXPECT_EQ(GetProperty(kMainWindowId, id, 18, -1), id == kRadios[0][2] ? 1u : 0u) << std::hex << id;
    EXPECT_EQ(GetProperty(kMainWindowId, kTab, prop::tab::kCurrentPage, -1), 0u);
}

}  // namespace
}  // namespace qelvane::wintest
