// GetProperty / SetProperty: the common properties 0-7 and the own properties
// the program and the next issues rely on.
#include <windows.h>
#include <commctrl.h>

#include "tests/win/WinTestSupport.h"
#include "ui/form/Schema.h"
#include "ui/components/Component.h"

namespace qelvane::wintest {
namespace {

TEST_F(MainWindowTest, CommonRectangleReadsRelativeToTheParent) {
    EXPECT_EQ(Get(kButton, prop::kLeft), 16);
    EXPECT_EQ(Get(kButton, prop::kTop), 300);
    EXPECT_EQ(Get(kButton, prop::kWidth), 168);
    EXPECT_EQ(Get(kButton, prop::kHeight), 56);
    // On the tab control: counted from its client area.
    EXPECT_EQ(Get(kRadios[1][3], prop::kLeft), 8);
    EXPECT_EQ(Get(kRadios[1][3], prop::kTop), 178);
}

TEST_F(MainWindowTest, CommonRectangleWritesMoveAndClamp) {
    Set(kButton, prop::kLeft, 20);
    Set(kButton, prop::kTop, 290);
    RECT r = RectInParent(Native(kButton));
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 290);
    EXPECT_EQ(r.right - r.left, 168) << "moving keeps the size";

    Set(kButton, prop::kWidth, 40000);
    EXPECT_EQ(Get(kButton, prop::kWidth), 32627);
    Set(kButton, prop::kHeight, 40000);
    EXPECT_EQ(Get(kButton, prop::kHeight), 32627);
    Set(kButton, prop::kWidth, -5);
    EXPECT_EQ(Get(kButton, prop::kWidth), 0);
    Set(kButton, prop::kHeight, -5);
    EXPECT_EQ(Get(kButton, prop::kHeight), 0);
    Set(kButton, prop::kWidth, 100);
    EXPECT_EQ(Get(kButton, prop::kWidth), 100);
    EXPECT_EQ(Get(kButton, prop::kLeft), 20);
}

TEST_F(MainWindowTest, TagIsStoredAndReadBack) {
    EXPECT_EQ(GetText(kLabel, prop::kTag), "");
    SetText(kLabel, prop::kTag, "标签");
    EXPECT_EQ(GetText(kLabel, prop::kTag), "标签");
    SetProperty(kMainWindowId, kLabel, prop::kTag, -1, 0);  // no text at all
    EXPECT_EQ(GetText(kLabel, prop::kTag), "");
}

TEST_F(MainWindowTest, VisibleReadsWhatIsShownAndRespectsThePageInFront) {
    EXPECT_EQ(Get(kButton, prop::kVisible), 1);
    Set(kButton, prop::kVisible, 0);
    EXPECT_FALSE(IsWindowVisible(Native(kButton)));
    EXPECT_EQ(Get(kButton, prop::kVisible), 0);
    Set(kButton, prop::kVisible, 7);  // any non-zero flag
    EXPECT_TRUE(IsWindowVisible(Native(kButton)));
    EXPECT_EQ(Get(kButton, prop::kVisible), 1);

    // A box on page 1 stays hidden while page 0 is in front, and shows with its page.
    Set(kRadios[1][0], prop::kVisible, 1);
    EXPECT_EQ(Get(kRadios[1][0], prop::kVisible), 0);
    Set(kTab, prop::tab::kCurrentPage, 1);
    EXPECT_EQ(Get(kRadios[1][0], prop::kVisible), 1);
    // Cleared on page 1: it no longer shows when page 1 comes back.
    Set(kRadios[1][1], prop::kVisible, 0);
    Set(kTab, prop::tab::kCurrentPage, 0);
    Set(kTab, prop::tab::kCurrentPage, 1);
    EXPECT_EQ(Get(kRadios[1][1], prop::kVisible), 0);
    EXPECT_EQ(Get(kRadios[1][2], prop::kVisible), 1);
}

TEST_F(MainWindowTest, DisableReadsAndWritesTheEnabledState) {
    EXPECT_EQ(Get(kButton, prop::kDisable), 0);
    Set(kButton, prop::kDisable, 1);
    EXPECT_FALSE(IsWindowEnabled(Native(kButton)));
    EXPECT_EQ(Get(kButton, prop::kDisable), 1);
    Set(kButton, prop::kDisable, 0);
    EXPECT_TRUE(IsWindowEnabled(Native(kButton)));
    EXPECT_EQ(Get(kButton, prop::kDisable), 0);
}

TEST_F(MainWindowTest, TabCurrentPageReadsClampsAndSelects) {
    EXPECT_EQ(Get(kTab, prop::tab::kCurrentPage), 0);
    Set(kTab, prop::tab::kCurrentPage, 5);
    EXPECT_EQ(Get(kTab, prop::tab::kCurrentPage), 2);
    EXPECT_EQ(SendMessageW(Native(kTab), TCM_GETCURSEL, 0, 0), 2);
    for (std::size_t page = 0; page < kRadios.size(); ++page)
        for (std::uint32_t id : kRadios[page]) EXPECT_EQ(IsWindowVisible(Native(id)) != 0, page == 2) << id;
    EXPECT_EQ(GetFocus(), Native(kRadios[2][3])) << "the page sync focuses the bottom box";

    Set(kTab, prop::tab::kCurrentPage, -1);
    EXPECT_EQ(Get(kTab, prop::tab::kCurrentPage), 0);
    SendMessageW(Native(kTab), TCM_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Get(kTab, prop::tab::kCurrentPage), -1) << "no page selected";
}

TEST_F(MainWindowTest, RadioCheckedReadsExactlyOneOrZero) {
    for (const auto& page : kRadios)
        for (std::uint32_t id : page) EXPECT_EQ(GetProperty(kMainWindowId, id, prop::radio::kChecked, -1), id == kRadios[0][1] ? 1u : 0u);

    Set(kRadios[0][3], prop::radio::kChecked, 2);
    EXPECT_EQ(SendMessageW(Native(kRadios[0][3]), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(GetProperty(kMainWindowId, kRadios[0][3], prop::radio::kChecked, -1), 1u);
    Set(kRadios[0][3], prop::radio::kChecked, 0);
    EXPECT_EQ(GetProperty(kMainWindowId, kRadios[0][3], prop::radio::kChecked, -1), 0u);
}

TEST_F(MainWindowTest, CaptionsWriteThroughToTheControls) {
    SetText(kLabel, prop::label::kCaption, "价格：30元一百个微信真人粉丝");
    EXPECT_EQ(GetText(kLabel, prop::label::kCaption), "价格：30元一百个微信真人粉丝");
    EXPECT_EQ(TextOf(Native(kLabel)), L"\u4EF7\u683C\uFF1A" L"30\u5143\u4E00\u767E\u4E2A\u5FAE\u4FE1\u771F\u4EBA\u7C89\u4E1D");
    std::string caller = "价格：";
    SetText(kLabel, prop::label::kCaption, caller.c_str());
    caller[0] = 'X';  // the runtime copied the text
    EXPECT_EQ(GetText(kLabel, prop::label::kCaption), "价格：");

    SetText(kButton, prop::button::kCaption, "按钮");
    EXPECT_EQ(TextOf(Native(kButton)), L"\u6309\u94AE");
    SetText(kRadios[0][0], prop::radio::kCaption, "单选框");
    EXPECT_EQ(TextOf(Native(kRadios[0][0])), L"\u5355\u9009\u6846");
    EXPECT_EQ(GetText(kRadios[0][0], prop::radio::kCaption), "单选框");
}

TEST_F(MainWindowTest, ChoicesWrittenOutOfRangeAreClamped) {
    Set(kLabel, prop::label::kHAlign, 7);  // HAlign 0..2
    EXPECT_EQ(Get(kLabel, prop::label::kHAlign), 2);
    Set(kLabel, prop::label::kHAlign, -1);
    EXPECT_EQ(Get(kLabel, prop::label::kHAlign), 0);
}

TEST_F(MainWindowTest, ReCreationKeepsPlaceParentStackingAndState) {
    // Writing a radio box's picture rebuilds the control from its current settings.
    HWND before = Native(kRadios[0][1]);
    HWND above = GetWindow(before, GW_HWNDPREV);
    const std::wstring caption = TextOf(before);
    ASSERT_FALSE(caption.empty());
    const std::uint8_t notAPicture[] = {1, 2, 3};
    const ByteBlockRef block{notAPicture, sizeof notAPicture};
    SetProperty(kMainWindowId, kRadios[0][1], prop::radio::kPicture, -1, reinterpret_cast<std::uintptr_t>(&block));
    Pump();
    HWND after = Native(kRadios[0][1]);
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(GetParent(after), Native(kTab));
    EXPECT_EQ(GetWindow(after, GW_HWNDPREV), above);
    const RECT r = RectInParent(after);
    EXPECT_EQ(r.left, 8);
    EXPECT_EQ(r.top, 80);
    EXPECT_TRUE(IsWindowVisible(after));
    EXPECT_EQ(GetProperty(kMainWindowId, kRadios[0][1], prop::radio::kChecked, -1), 1u) << "the check survives";
    EXPECT_EQ(TextOf(after), caption) << "the caption survives";
}

TEST_F(MainWindowTest, PageCaptionsTravelAsOneBlockAndRebuildTheTab) {
    const Bytes written = WritePageCaptions({"一", "二"});
    const ByteBlockRef block{written.data(), static_cast<std::uint32_t>(written.size())};
    SetProperty(kMainWindowId, kTab, prop::tab::kPageCaptions, -1, reinterpret_cast<std::uintptr_t>(&block));
    Pump();
    HWND tab = Native(kTab);
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 2);
    // Reading gives the same block back.
    const auto* read = reinterpret_cast<const ByteBlockRef*>(
        static_cast<std::uintptr_t>(GetProperty(kMainWindowId, kTab, prop::tab::kPageCaptions, -1)));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(Bytes(read->data, read->data + read->size), written);
    // The boxes of the page in front still sit on the tab control.
    EXPECT_EQ(GetParent(Native(kRadios[0][0])), tab);
    EXPECT_TRUE(IsWindowVisible(Native(kRadios[0][0])));
}

TEST_F(MainWindowTest, WindowOwnRecordServesItsCommonProperties) {
    EXPECT_EQ(Get(0, prop::kWidth), 495);
    EXPECT_EQ(Get(0, prop::kHeight), 398);
    EXPECT_EQ(Get(0, prop::kVisible), 1);
}

}  // namespace
}  // namespace qelvane::wintest
