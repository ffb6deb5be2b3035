// The push button's click and focus events, and the style and picture writes
// of the types built on the native BUTTON control.
#include <cstring>
#include <vector>

#include "tests/win/RadioTabEventLog.h"
#include "tests/win/Rendering.h"

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
    SetProperty(kMainWindowId, kButton, prop::button::kButtonType, -1, 1);  // ButtonType 1
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
    Set(kButton, prop::button::kButtonType, 1);
    EXPECT_EQ(StyleOf(button) & 0x0F, BS_DEFPUSHBUTTON);
    Set(kButton, prop::button::kButtonType, 4);
    EXPECT_EQ(Get(kButton, prop::button::kButtonType), 1) << "clamped";
    Set(kButton, prop::button::kButtonType, 0);
    EXPECT_EQ(StyleOf(button) & 0x0F, BS_PUSHBUTTON);
    Set(kButton, prop::button::kHAlign, 0);
    Set(kButton, prop::button::kVAlign, 9);
    EXPECT_EQ(StyleOf(button) & BS_CENTER, BS_LEFT);
    EXPECT_EQ(StyleOf(button) & BS_VCENTER, BS_BOTTOM);
    EXPECT_TRUE(StyleOf(button) & BS_MULTILINE);
    EXPECT_TRUE(StyleOf(button) & WS_TABSTOP) << "the window bits stay";
    EXPECT_EQ(Native(kButton), button);
}

TEST_F(MainWindowTest, RadioStyleWritesKeepTheCheckAndTheKind) {
    HWND box = Native(kRadios[0][1]);
    Set(kRadios[0][1], prop::radio::kPushLike, 1);
    Set(kRadios[0][1], prop::radio::kLeftText, 1);
    Set(kRadios[0][1], prop::radio::kHAlign, 2);
    const LONG style = StyleOf(box);
    EXPECT_EQ(style & 0x0F, BS_AUTORADIOBUTTON);
    EXPECT_TRUE(style & BS_PUSHLIKE);
    EXPECT_TRUE(style & BS_LEFTTEXT);
    EXPECT_EQ(style & BS_CENTER, BS_RIGHT);
    EXPECT_FALSE(style & WS_GROUP);
    EXPECT_EQ(Get(kRadios[0][1], prop::radio::kChecked), 1);
}

TEST_F(MainWindowTest, APictureThatDoesNotDecodeLeavesTheCaption) {
    const std::uint8_t garbage[] = {0x89, 'P', 'N', 'G', 0, 1, 2};
    const ByteBlockRef block{garbage, sizeof garbage};
    SetProperty(kMainWindowId, kButton, prop::button::kPicture, -1, reinterpret_cast<std::uintptr_t>(&block));
    Pump();
    HWND button = Native(kButton);
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(StyleOf(button) & (BS_BITMAP | BS_ICON));
    EXPECT_EQ(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(TextOf(button), L"\u83B7\u53D6\u6700\u65B0\u4EF7\u683C");
    EXPECT_TRUE(IsWindowVisible(button));
}

// A 16 x 16 32-bit icon file: transparent, with an opaque red square of 6 x 6 in the middle.
std::vector<std::uint8_t> RedSquareIcon() {
    constexpr int kSide = 16;
    std::vector<std::uint8_t> image(40 + kSide * kSide * 4 + kSide * 4, 0);
    BITMAPINFOHEADER h{};
    h.biSize = 40;
    h.biWidth = kSide;
    h.biHeight = kSide * 2;  // colour rows and mask rows
    h.biPlanes = 1;
    h.biBitCount = 32;
    std::memcpy(image.data(), &h, sizeof h);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const bool red = x >= 5 && x < 11 && y >= 5 && y < 11;
            std::uint8_t* p = &image[40 + static_cast<std::size_t>(y * kSide + x) * 4];
            if (red) p[2] = p[3] = 0xFF;
            // The mask (1 = transparent) for the pixels the alpha leaves out.
            if (!red) image[40 + kSide * kSide * 4 + y * 4 + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    const auto size = static_cast<std::uint32_t>(image.size());
    std::vector<std::uint8_t> file{0, 0, 1, 0, 1, 0, kSide, kSide, 0, 0, 1, 0, 32, 0,
                                   static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8), 0, 0,
                                   22, 0, 0, 0};
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

// One pixel of what a control paints (a negative coordinate counts from the far edge).
COLORREF PixelOf(HWND hwnd, int x, int y) {
    const Rendered r = PrintClient(hwnd, PRF_CLIENT | PRF_ERASEBKGND);
    return r.At(x < 0 ? r.width + x : x, y < 0 ? r.height + y : y);
}

TEST_F(MainWindowTest, RadioBoxDrawsItsOwnBackgroundOverThePage) {
    HWND box = Native(kRadios[0][3]);
    EXPECT_EQ(PixelOf(box, -2, 1), GetSysColor(COLOR_BTNFACE));
    Set(kRadios[0][3], prop::radio::kBackColor, 0x00FF00);
    EXPECT_EQ(PixelOf(box, -2, 1), RGB(0, 255, 0));
    Set(kRadios[0][3], prop::radio::kBackColor, static_cast<std::int64_t>(kSystemFaceColour));
    EXPECT_EQ(PixelOf(box, -2, 1), GetSysColor(COLOR_BTNFACE));
}

// Over a green box background: an icon's transparent pixels show the green, where a
// picture made into a bitmap would have shown white.
TEST_F(MainWindowTest, AnIconPictureStaysAnIconWithItsTransparency) {
    const std::uint32_t box = kRadios[0][3];
    Set(box, prop::radio::kBackColor, 0x00FF00);
    const std::vector<std::uint8_t> ico = RedSquareIcon();
    const ByteBlockRef block{ico.data(), static_cast<std::uint32_t>(ico.size())};
    SetProperty(kMainWindowId, box, prop::radio::kPicture, -1, reinterpret_cast<std::uintptr_t>(&block));
    Pump();
    HWND hwnd = Native(box);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(StyleOf(hwnd) & BS_ICON);
    EXPECT_FALSE(StyleOf(hwnd) & BS_BITMAP);
    ASSERT_NE(SendMessageW(hwnd, BM_GETIMAGE, IMAGE_ICON, 0), 0);

    // Find the red square, then look just outside it, still inside the 16 x 16 icon.
    const Rendered r = PrintClient(hwnd, PRF_CLIENT | PRF_ERASEBKGND);
    int redX = -1, redY = -1;
    for (int y = 0; y < r.height && redX < 0; ++y)
        for (int x = 0; x < r.width; ++x)
            if (r.At(x, y) == RGB(255, 0, 0)) {
                redX = x;
                redY = y;
                break;
            }
    ASSERT_GE(redX, 3) << "the red square is drawn";
    EXPECT_EQ(r.At(redX - 3, redY), RGB(0, 255, 0));
    EXPECT_EQ(r.At(redX - 2, redY + 2), RGB(0, 255, 0));
}

}  // namespace
}  // namespace qelvane::wintest
