// GetProperty / SetProperty: the common properties 0-7 and the own properties
// the program and the next issues rely on.
#include <windows.h>
#include <commctrl.h>

#include "tests/win/WinTestSupport.h"
#include "ui/Schema.h"
#include "ui/components/Component.h"

namespace qelvane::wintest {
namespace {

TEST_F(MainWindowTest, CommonRectangleReadsRelativeToTheParent) {
    EXPECT_EQ(Get(kButton, 0), 16);
    EXPECT_EQ(Get(kButton, 1), 300);
    EXPECT_EQ(Get(kButton, 2), 168);
    EXPECT_EQ(Get(kButton, 3), 56);
    // On the tab control: counted from its client area.
    EXPECT_EQ(Get(kRadios[1][3], 0), 8);
    EXPECT_EQ(Get(kRadios[1][3], 1), 178);
}

TEST_F(MainWindowTest, CommonRectangleWritesMoveAndClamp) {
    Set(kButton, 0, 20);
    Set(kButton, 1, 290);
    RECT r = RectInParent(Native(kButton));
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 290);
    EXPECT_EQ(r.right - r.left, 168) << "moving keeps the size";

    Set(kButton, 2, 40000);
    EXPECT_EQ(Get(kButton, 2), 32627);
    Set(kButton, 3, 40000);
    EXPECT_EQ(Get(kButton, 3), 32627);
    Set(kButton, 2, -5);
    EXPECT_EQ(Get(kButton, 2), 0);
    Set(kButton, 3, -5);
    EXPECT_EQ(Get(kButton, 3), 0);
    Set(kButton, 2, 100);
    EXPECT_EQ(Get(kButton, 2), 100);
    EXPECT_EQ(Get(kButton, 0), 20);
}

TEST_F(MainWindowTest, TagIsStoredAndReadBack) {
    EXPECT_EQ(GetText(kLabel, 4), "");
    SetText(kLabel, 4, "标签");
    EXPECT_EQ(GetText(kLabel, 4), "标签");
    SetProperty(kMainWindowId, kLabel, 4, -1, 0);  // no text at all
    EXPECT_EQ(GetText(kLabel, 4), "");
}

TEST_F(MainWindowTest, VisibleReadsWhatIsShownAndRespectsThePageInFront) {
    EXPECT_EQ(Get(kButton, 5), 1);
    Set(kButton, 5, 0);
    EXPECT_FALSE(IsWindowVisible(Native(kButton)));
    EXPECT_EQ(Get(kButton, 5), 0);
    Set(kButton, 5, 7);  // any non-zero flag
    EXPECT_TRUE(IsWindowVisible(Native(kButton)));
    EXPECT_EQ(Get(kButton, 5), 1);

    // A box on page 1 stays hidden while page 0 is in front, and shows with its page.
    Set(kRadios[1][0], 5, 1);
    EXPECT_EQ(Get(kRadios[1][0], 5), 0);
    Set(kTab, 12, 1);
    EXPECT_EQ(Get(kRadios[1][0], 5), 1);
    // Cleared on page 1: it no longer shows when page 1 comes back.
    Set(kRadios[1][1], 5, 0);
    Set(kTab, 12, 0);
    Set(kTab, 12, 1);
    EXPECT_EQ(Get(kRadios[1][1], 5), 0);
    EXPECT_EQ(Get(kRadios[1][2], 5), 1);
}

TEST_F(MainWindowTest, DisableReadsAndWritesTheEnabledState) {
    EXPECT_EQ(Get(kButton, 6), 0);
    Set(kButton, 6, 1);
    EXPECT_FALSE(IsWindowEnabled(Native(kButton)));
    EXPECT_EQ(Get(kButton, 6), 1);
    Set(kButton, 6, 0);
    EXPECT_TRUE(IsWindowEnabled(Native(kButton)));
    EXPECT_EQ(Get(kButton, 6), 0);
}

TEST_F(MainWindowTest, TabCurrentPageReadsClampsAndSelects) {
    EXPECT_EQ(Get(kTab, 12), 0);
    Set(kTab, 12, 5);
    EXPECT_EQ(Get(kTab, 12), 2);
    EXPECT_EQ(SendMessageW(Native(kTab), TCM_GETCURSEL, 0, 0), 2);
    for (std::size_t page = 0; page < kRadios.size(); ++page)
        for (std::uint32_t id : kRadios[page]) EXPECT_EQ(IsWindowVisible(Native(id)) != 0, page == 2) << id;
    EXPECT_EQ(GetFocus(), Native(kRadios[2][3])) << "the page sync focuses the bottom box";

    Set(kTab, 12, -1);
    EXPECT_EQ(Get(kTab, 12), 0);
    SendMessageW(Native(kTab), TCM_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(Get(kTab, 12), -1) << "no page selected";
}

TEST_F(MainWindowTest, RadioCheckedReadsExactlyOneOrZero) {
    for (const auto& page : kRadios)
        for (std::uint32_t id : page) EXPECT_EQ(GetProperty(kMainWindowId, id, 18, -1), id == kRadios[0][1] ? 1u : 0u);

    Set(kRadios[0][3], 18, 2);
    EXPECT_EQ(SendMessageW(Native(kRadios[0][3]), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(GetProperty(kMainWindowId, kRadios[0][3], 18, -1), 1u);
    Set(kRadios[0][3], 18, 0);
    EXPECT_EQ(GetProperty(kMainWindowId, kRadios[0][3], 18, -1), 0u);
}

TEST_F(MainWindowTest, CaptionsWriteThroughToTheControls) {
    SetText(kLabel, 8, "价格：30元一百个微信真人粉丝");
    EXPECT_EQ(GetText(kLabel, 8), "价格：30元一百个微信真人粉丝");
    EXPECT_EQ(TextOf(Native(kLabel)), L"\u4EF7\u683C\uFF1A" L"30\u5143\u4E00\u767E\u4E2A\u5FAE\u4FE1\u771F\u4EBA\u7C89\u4E1D");
    std::string caller = "价格：";
    SetText(kLabel, 8, caller.c_str());
    caller[0] = 'X';  // the runtime copied the text
    EXPECT_EQ(GetText(kLabel, 8), "价格：");

    SetText(kButton, 10, "按钮");
    EXPECT_EQ(TextOf(Native(kButton)), L"\u6309\u94AE");
    SetText(kRadios[0][0], 11, "单选框");
    EXPECT_EQ(TextOf(Native(kRadios[0][0])), L"\u5355\u9009\u6846");
    EXPECT_EQ(GetText(kRadios[0][0], 11), "单选框");
}

TEST_F(MainWindowTest, ChoicesWrittenOutOfRangeAreClamped) {
    Set(kLabel, 8 + 4, 7);  // HAlign 0..2
    EXPECT_EQ(Get(kLabel, 8 + 4), 2);
    Set(kLabel, 8 + 4, -1);
    EXPECT_EQ(Get(kLabel, 8 + 4), 0);
}

TEST_F(MainWindowTest, ReCreationKeepsPlaceParentStackingAndState) {
    // Writing a radio box's picture rebuilds the control from its current settings.
    HWND before = Native(kRadios[0][1]);
    HWND above = GetWindow(before, GW_HWNDPREV);
    const std::uint8_t notAPicture[] = {1, 2, 3};
    const ByteBlockRef block{notAPicture, sizeof notAPicture};
    SetProperty(kMainWindowId, kRadios[0][1], 8, -1, reinterpret_cast<std::uintptr_t>(&block));
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
    EXPECT_EQ(GetProperty(kMainWindowId, kRadios[0][1], 18, -1), 1u) << "the check survives";
    EXPECT_EQ(TextOf(after), TextOf(Native(kRadios[0][1])));
}

TEST_F(MainWindowTest, PageCaptionsTravelAsOneBlockAndRebuildTheTab) {
    const Bytes written = WritePageCaptions({"一", "二"});
    const ByteBlockRef block{written.data(), static_cast<std::uint32_t>(written.size())};
    SetProperty(kMainWindowId, kTab, 11, -1, reinterpret_cast<std::uintptr_t>(&block));
    Pump();
    HWND tab = Native(kTab);
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 2);
    // Reading gives the same block back.
    const auto* read = reinterpret_cast<const ByteBlockRef*>(
        static_cast<std::uintptr_t>(GetProperty(kMainWindowId, kTab, 11, -1)));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(Bytes(read->data, read->data + read->size), written);
    // The boxes of the page in front still sit on the tab control.
    EXPECT_EQ(GetParent(Native(kRadios[0][0])), tab);
    EXPECT_TRUE(IsWindowVisible(Native(kRadios[0][0])));
}

TEST_F(MainWindowTest, WindowOwnRecordServesItsCommonProperties) {
    EXPECT_EQ(Get(0, 2), 495);
    EXPECT_EQ(Get(0, 3), 398);
    EXPECT_EQ(Get(0, 5), 1);
}

}  // namespace
}  // namespace qelvane::wintest
