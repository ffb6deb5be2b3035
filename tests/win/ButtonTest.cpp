// The push button's click and focus events, and the style and picture writes
// of the types built on the native BUTTON control.
#include "tests/win/RadioTabEventLog.h"

namespace qelvane::wintest {
namespace {

LONG StyleOf(HWND hwnd) { return GetWindowLongW(hwnd, GWL_STYLE); }

TEST_F(EventLogTest, ButtonClicksOncePerMouseClickOrSpaceAndNeverOnEnter) {
    HWND button = Native(kButton);
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    Pump();
    EXPECT_EQ(GetFocus(), button);
    EXPECT_EQ(ClickEvents(), (std::vector<RaisedEvent>{{0, kButton}}));

    raised.clear();
    SendMessageW(button, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(button, WM_KEYUP, VK_SPACE, 0xC0000000);
    Pump();
    EXPECT_EQ(raised, (std::vector<RaisedEvent>{{0, kButton}}));

    raised.clear();
    EXPECT_TRUE(PressKey(VK_RETURN));
    Pump();
    EXPECT_EQ(raised, std::vector<RaisedEvent>{});
}

TEST_F(EventLogTest, EnterClicksTheButtonOnceItIsTheDefaultOne) {
    SetProperty(kMainWindowId, kButton, 9, -1, 1);  // ButtonType 1
    ASSERT_EQ(StyleOf(Native(kButton)) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    SetFocus(Native(kRadios[0][2]));
    Pump();
    raised.clear();
    EXPECT_TRUE(PressKey(VK_RETURN));
    Pump();
    EXPECT_EQ(ClickEvents(), (std::vector<RaisedEvent>{{0, kButton}}));

    EnableWindow(Native(kButton), FALSE);
    SetFocus(Native(kRadios[0][2]));  // the click took the focus to the button
    Pump();
    raised.clear();
    EXPECT_TRUE(PressKey(VK_RETURN));
    Pump();
    EXPECT_EQ(ClickEvents(), std::vector<RaisedEvent>{}) << "a disabled default button is not clicked";
}

TEST_F(EventLogTest, ButtonRaisesFocusGainAndLossOnTabAndShiftTab) {
    SetFocus(Native(kRadios[0][3]));
    raised.clear();
    PressKey(VK_TAB);
    PressKey(VK_TAB, true);
    EXPECT_EQ(raised, (std::vector<RaisedEvent>{
                          {-8, kRadios[0][3]}, {-7, kButton}, {-8, kButton}, {-7, kRadios[0][3]}}));
}

TEST_F(MainWindowTest, ButtonStyleWritesChangeTheControlInPlace) {
    HWND button = Native(kButton);
    Set(kButton, 9, 1);
    EXPECT_EQ(StyleOf(button) & 0x0F, BS_DEFPUSHBUTTON);
    Set(kButton, 9, 4);
    EXPECT_EQ(Get(kButton, 9), 1) << "clamped";
    Set(kButton, 9, 0);
    EXPECT_EQ(StyleOf(button) & 0x0F, BS_PUSHBUTTON);
    Set(kButton, 11, 0);
    Set(kButton, 12, 9);
    EXPECT_EQ(StyleOf(button) & BS_CENTER, BS_LEFT);
    EXPECT_EQ(StyleOf(button) & BS_VCENTER, BS_BOTTOM);
    EXPECT_TRUE(StyleOf(button) & BS_MULTILINE);
    EXPECT_TRUE(StyleOf(button) & WS_TABSTOP) << "the window bits stay";
    EXPECT_EQ(Native(kButton), button);
}

TEST_F(MainWindowTest, RadioStyleWritesKeepTheCheckAndTheKind) {
    HWND box = Native(kRadios[0][1]);
    Set(kRadios[0][1], 9, 1);
    Set(kRadios[0][1], 12, 1);
    Set(kRadios[0][1], 13, 2);
    const LONG style = StyleOf(box);
    EXPECT_EQ(style & 0x0F, BS_AUTORADIOBUTTON);
    EXPECT_TRUE(style & BS_PUSHLIKE);
    EXPECT_TRUE(style & BS_LEFTTEXT);
    EXPECT_EQ(style & BS_CENTER, BS_RIGHT);
    EXPECT_FALSE(style & WS_GROUP);
    EXPECT_EQ(Get(kRadios[0][1], 18), 1);
}

TEST_F(MainWindowTest, APictureThatDoesNotDecodeLeavesTheCaption) {
    const std::uint8_t garbage[] = {0x89, 'P', 'N', 'G', 0, 1, 2};
    const ByteBlockRef block{garbage, sizeof garbage};
    SetProperty(kMainWindowId, kButton, 8, -1, reinterpret_cast<std::uintptr_t>(&block));
    Pump();
    HWND button = Native(kButton);
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(StyleOf(button) & (BS_BITMAP | BS_ICON));
    EXPECT_EQ(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(TextOf(button), L"\u83B7\u53D6\u6700\u65B0\u4EF7\u683C");
    EXPECT_TRUE(IsWindowVisible(button));
}

// Renders a control into a memory bitmap and reads one pixel.
COLORREF PixelOf(HWND hwnd, int x, int y) {
    RECT r;
    GetClientRect(hwnd, &r);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    const COLORREF c = GetPixel(dc, x < 0 ? r.right + x : x, y < 0 ? r.bottom + y : y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return c;
}

TEST_F(MainWindowTest, RadioBoxDrawsItsOwnBackgroundOverThePage) {
    HWND box = Native(kRadios[0][3]);
    EXPECT_EQ(PixelOf(box, -2, 1), GetSysColor(COLOR_BTNFACE));
    Set(kRadios[0][3], 16, 0x00FF00);
    EXPECT_EQ(PixelOf(box, -2, 1), RGB(0, 255, 0));
    Set(kRadios[0][3], 16, static_cast<std::int64_t>(kSystemFaceColour));
    EXPECT_EQ(PixelOf(box, -2, 1), GetSysColor(COLOR_BTNFACE));
}

}  // namespace
}  // namespace qelvane::wintest
