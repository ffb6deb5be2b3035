// Radio groups across the tab control's pages: clicks check within the page
// in front, arrows move the check across hidden pages, focus never checks.
#include "tests/win/RadioTabEventLog.h"

namespace qelvane::wintest {
namespace {

const std::uint32_t kBox1 = kRadios[0][0], kBox2 = kRadios[0][1], kBox3 = kRadios[0][2], kBox4 = kRadios[0][3];
const std::uint32_t kBox5 = kRadios[1][0], kBox6 = kRadios[1][1];

// A real click through the control's own mouse handling.
void MouseClick(HWND hwnd) {
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 16));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 16));
    Pump();
}

void SpaceOn(HWND hwnd) {
    SendMessageW(hwnd, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(hwnd, WM_CHAR, L' ', 0);
    SendMessageW(hwnd, WM_KEYUP, VK_SPACE, 0xC0000000);
    Pump();
}

TEST_F(EventLogTest, ClickChecksTheBoxAndUnchecksTheOthersOfThePage) {
    MouseClick(Native(kBox3));
    ExpectCheckedExactly({kBox3});
    EXPECT_EQ(Get(kBox2, 18), 0);
    EXPECT_EQ(Get(kBox3, 18), 1);
    // The focus came with the click; its click notice is not a second event 0.
    EXPECT_EQ(GetFocus(), Native(kBox3));
    EXPECT_EQ(ClickEvents(), (std::vector<RaisedEvent>{{0, kBox3}}));

    MouseClick(Native(kBox3));
    EXPECT_EQ(ClickEvents(), (std::vector<RaisedEvent>{{0, kBox3}, {0, kBox3}})) << "a checked box still clicks";
    ExpectCheckedExactly({kBox3});
}

TEST_F(EventLogTest, SpaceClicksTheFocusedBoxOnce) {
    SetFocus(Native(kBox4));
    raised.clear();
    SpaceOn(Native(kBox4));
    ExpectCheckedExactly({kBox4});
    EXPECT_EQ(ClickEvents(), (std::vector<RaisedEvent>{{0, kBox4}}));
}

TEST_F(EventLogTest, BoxesOnHiddenPagesKeepTheirCheckOnAClick) {
    ClickHeader(1);
    MouseClick(Native(kBox6));
    ExpectCheckedExactly({kBox2, kBox6});
    ClickHeader(0);
    ExpectCheckedExactly({kBox2, kBox6});
    EXPECT_EQ(Get(kBox2, 18), 1);
}

TEST_F(EventLogTest, ADisabledBoxInViewKeepsItsCheckOnAClick) {
    Set(kBox2, prop::kDisable, 1);
    MouseClick(Native(kBox3));
    ExpectCheckedExactly({kBox2, kBox3});
}

TEST_F(EventLogTest, ArrowOnPageOneTakesTheCheckFromTheHiddenPage) {
    ClickHeader(1);
    SetFocus(Native(kButton));
    ASSERT_TRUE(PressKey(VK_TAB));
    ASSERT_EQ(GetFocus(), Native(kBox5));
    ExpectCheckedExactly({kBox2});
    raised.clear();

    EXPECT_TRUE(PressKey(VK_DOWN));
    Pump();
    ExpectCheckedExactly({kBox6});
    EXPECT_EQ(GetFocus(), Native(kBox6));
    EXPECT_EQ(ClickEvents(), (std::vector<RaisedEvent>{{0, kBox6}}));
    // Event 0 of the new box comes before it gains the focus.
    ASSERT_EQ(raised.size(), 3u);
    EXPECT_EQ(raised[0], (RaisedEvent{0, kBox6}));
    EXPECT_EQ(raised[1], (RaisedEvent{-8, kBox5}));
    EXPECT_EQ(raised[2], (RaisedEvent{-7, kBox6}));
}

TEST_F(EventLogTest, ArrowsWrapAtBothEndsOfThePage) {
    SetFocus(Native(kBox4));
    EXPECT_TRUE(PressKey(VK_DOWN));
    ExpectCheckedExactly({kBox1});
    EXPECT_EQ(GetFocus(), Native(kBox1));
    EXPECT_TRUE(PressKey(VK_UP));
    ExpectCheckedExactly({kBox4});
    EXPECT_EQ(GetFocus(), Native(kBox4));
    EXPECT_TRUE(PressKey(VK_RIGHT));
    ExpectCheckedExactly({kBox1});
    EXPECT_TRUE(PressKey(VK_LEFT));
    ExpectCheckedExactly({kBox4});
    EXPECT_EQ(ClickEvents(), (std::vector<RaisedEvent>{{0, kBox1}, {0, kBox4}, {0, kBox1}, {0, kBox4}}));
}

TEST_F(EventLogTest, ArrowsSkipADisabledBoxAndStillTakeItsCheck) {
    Set(kBox2, prop::kDisable, 1);
    SetFocus(Native(kBox1));
    EXPECT_TRUE(PressKey(VK_DOWN));
    ExpectCheckedExactly({kBox3});
    EXPECT_EQ(GetFocus(), Native(kBox3));
}

TEST_F(EventLogTest, ArrowsAwayFromRadioBoxesGoToTheControl) {
    SetFocus(Native(kButton));
    EXPECT_FALSE(PressKey(VK_DOWN));
    EXPECT_EQ(GetFocus(), Native(kButton));
    ExpectCheckedExactly({kBox2});
}

TEST_F(EventLogTest, GivingABoxTheFocusNeverChecksItOrClicksIt) {
    for (int i = 0; i < 7; ++i) PressKey(VK_TAB);
    SetFocus(Native(kBox3));
    SetFocus(Native(kBox4));
    Pump();
    ExpectCheckedExactly({kBox2});
    EXPECT_EQ(ClickEvents(), std::vector<RaisedEvent>{});
    // But every gain and loss is an event: the last two moves.
    ASSERT_GE(raised.size(), 4u);
    const std::vector<RaisedEvent> tail(raised.end() - 4, raised.end());
    EXPECT_EQ(tail, (std::vector<RaisedEvent>{{-8, kBox1}, {-7, kBox3}, {-8, kBox3}, {-7, kBox4}}));
}

// Some platforms' radio buttons report a click when they gain the focus
// unchecked. The box is given BS_NOTIFY, and its parent answers the focus
// notice with that click, from inside the focus change.
LRESULT CALLBACK ClickOnFocusNotice(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_SETFOCUS)
        SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(LOWORD(wParam), BN_CLICKED), lParam);
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

TEST_F(EventLogTest, AClickNoticeWhileGainingTheFocusIsNoClick) {
    HWND box = Native(kBox3);
    SetWindowLongW(box, GWL_STYLE, GetWindowLongW(box, GWL_STYLE) | BS_NOTIFY);
    ASSERT_TRUE(SetWindowSubclass(Native(kTab), &ClickOnFocusNotice, 1, 0));
    SetFocus(box);
    Pump();
    EXPECT_EQ(GetFocus(), box);
    ExpectCheckedExactly({kBox2});
    EXPECT_EQ(ClickEvents(), std::vector<RaisedEvent>{});
    // Once it has the focus, a click is a click again.
    SendMessageW(Native(kTab), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), BN_CLICKED), reinterpret_cast<LPARAM>(box));
    ExpectCheckedExactly({kBox3});
    EXPECT_EQ(ClickEvents(), (std::vector<RaisedEvent>{{0, kBox3}}));
    RemoveWindowSubclass(Native(kTab), &ClickOnFocusNotice, 1);
}

TEST_F(EventLogTest, CheckedWritesRaiseNothingAndReadBackExactly) {
    Set(kBox4, 18, 5);
    EXPECT_TRUE(Checked(kBox4));
    EXPECT_EQ(Get(kBox4, 18), 1);
    Set(kBox4, 18, 0);
    EXPECT_EQ(Get(kBox4, 18), 0);
    EXPECT_EQ(raised, std::vector<RaisedEvent>{});
}

}  // namespace
}  // namespace qelvane::wintest
