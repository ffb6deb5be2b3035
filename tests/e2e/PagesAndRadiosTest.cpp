// The shipped program under Wine with real mouse and keyboard input: page
// changes by header clicks, radio boxes checked by clicks, Space and arrows
// across pages, and the Tab order of each page.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "tests/e2e/E2eDriver.h"
#include "tests/e2e/PriceWindow.h"

namespace e2e {
namespace {

constexpr Ms kPollMs = 20;

// Caption beginnings of 单选框1..12, by page.
const std::array<std::array<const wchar_t*, 4>, 3> kBoxCaptions{{
    {L"图文阅读：", L"微信关注：", L"人工活粉：", L"扫码关注："},
    {L"微信投票：", L"小程序扫码：", L"微信视频：", L"微信H5授权登录："},
    {L"朋友圈转发：", L"微信留言：", L"留言点赞：", L"转发|收藏|原文阅读："},
}};

class PagesAndRadiosTest : public ProgramWindowTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(OpenProgram());
        ASSERT_NE(FocusOf(window_), nullptr);

        for (HWND hwnd : ChildWindows(window_)) {
            const std::wstring text = WindowText(hwnd);
            if (ClassName(hwnd) == L"SysTabControl32") tab_ = hwnd;
            if (text == L"获取最新价格") button_ = hwnd;
            if (text.rfind(L"价格：", 0) == 0) label_ = hwnd;
            for (std::size_t p = 0; p < 3; ++p)
                for (std::size_t b = 0; b < 4; ++b)
                    if (text.rfind(kBoxCaptions[p][b], 0) == 0) boxes_[p][b] = hwnd;
        }
        ASSERT_NE(tab_, nullptr);
        ASSERT_NE(button_, nullptr);
        ASSERT_NE(label_, nullptr);
        for (const auto& page : boxes_)
            for (HWND box : page) ASSERT_NE(box, nullptr);
    }
    void TearDown() override { ParkPointer(); }

    HWND Box(int number) const { return boxes_[(number - 1) / 4][(number - 1) % 4]; }
    bool Checked(int number) const { return SendTo(Box(number), BM_GETCHECK) == BST_CHECKED; }
    // Numbers (1..12) of the checked boxes.
    std::vector<int> CheckedBoxes() const {
        std::vector<int> out;
        for (int n = 1; n <= 12; ++n)
            if (Checked(n)) out.push_back(n);
        return out;
    }
    bool WaitChecked(std::vector<int> want) const {
        return WaitFor([&] { return CheckedBoxes() == want; });
    }
    bool WaitFocus(HWND want) const {
        return WaitFor([&] { return FocusOf(window_) == want; });
    }
    std::int64_t Page() const { return SendTo(tab_, TCM_GETCURSEL); }

    std::optional<RECT> HeaderRect(int page) const { return TabItemOnScreen(tab_, page); }
    void ClickHeader(int page) const {
        const auto r = HeaderRect(page);
        ASSERT_TRUE(r.has_value()) << "no header " << page;
        ClickAt((r->left + r->right) / 2, (r->top + r->bottom) / 2);
        ASSERT_TRUE(WaitFor([&] { return Page() == page; })) << "page " << page << " did not come to the front";
    }
    // A click on the box's mark, at the left of its rectangle.
    void ClickBox(int number) const {
        RECT r;
        GetWindowRect(Box(number), &r);
        ClickAt(r.left + 7, (r.top + r.bottom) / 2);
    }
    void ExpectPageShown(int page) const {
        for (int n = 1; n <= 12; ++n)
            EXPECT_EQ(IsWindowVisible(Box(n)) != 0, (n - 1) / 4 == page) << "单选框" << n;
    }

    // A click on the caption's minimise box.
    void MinimiseWithBox() {
        const auto box = FindHitArea(window_, HTMINBUTTON);
        ASSERT_TRUE(box.has_value()) << "no HTMINBUTTON area in the caption";
        // A second click at the same place within the double-click time is a double click,
        // which the box ignores: the case clicks it twice, a few Tabs apart.
        if (lastBoxClick_) {
            const DWORD since = GetTickCount() - lastBoxClick_;
            if (since <= GetDoubleClickTime()) Sleep(GetDoubleClickTime() - since + 50);
        }
        // The box acts on where the pointer is while the button is down, so the pointer gets
        // there first and stays until the click has been taken.
        MovePointer(box->x, box->y);
        WaitFor([&] {
            POINT p{};
            return GetCursorPos(&p) && p.x == box->x && p.y == box->y;
        });
        ClickAt(box->x, box->y);
        lastBoxClick_ = GetTickCount();
        const bool minimised = WaitFor([&] { return IsIconic(window_) != 0; });
        const HWND under = WindowFromPoint(*box);
        const LRESULT hit = HitTest(window_, box->x, box->y);
        const bool inFront = GetForegroundWindow() == window_;
        ParkPointer();
        ASSERT_TRUE(minimised) << "the click at " << box->x << "," << box->y << " did not minimise; there: "
                               << Escaped(ClassName(under)) << (under == window_ ? " (the window)" : "")
                               << ", hit test " << hit << ", the window " << (inFront ? "" : "not ") << "in front";
    }
    // The system menu's restore command, as the menu sends it.
    void RestoreFromSystemMenu() const {
        PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsIconic(window_) && IsWindowVisible(window_); }))
            << "the window was not restored";
    }
    std::string FocusName() const {
        HWND focus = FocusOf(window_, 0);
        return focus ? Escaped(ClassName(focus) + L" " + WindowText(focus)) : "nothing";
    }

    HWND tab_ = nullptr, button_ = nullptr, label_ = nullptr;
    DWORD lastBoxClick_ = 0;  // tick count of the last click on the minimise box
    std::array<std::array<HWND, 4>, 3> boxes_{};
};

TEST_F(PagesAndRadiosTest, HeaderClickShowsPageOneAndFocusesItsBottomBoxUnchecked) {
    ClickHeader(1);
    ExpectPageShown(1);
    EXPECT_TRUE(WaitFocus(Box(8)));
    EXPECT_EQ(CheckedBoxes(), (std::vector<int>{2}));
    ClickHeader(2);
    ExpectPageShown(2);
    EXPECT_TRUE(WaitFocus(Box(12)));
    ClickHeader(0);
    ExpectPageShown(0);
    EXPECT_TRUE(WaitFocus(Box(4)));
    EXPECT_EQ(CheckedBoxes(), (std::vector<int>{2}));
}

TEST_F(PagesAndRadiosTest, ClicksCheckWithinThePageInFrontOnly) {
    ClickBox(3);
    EXPECT_TRUE(WaitChecked({3}));
    EXPECT_TRUE(WaitFocus(Box(3)));
    ClickHeader(1);
    ClickBox(6);
    EXPECT_TRUE(WaitChecked({3, 6})) << "one checked box on each page";
    ClickHeader(0);
    EXPECT_EQ(CheckedBoxes(), (std::vector<int>{3, 6}));
    EXPECT_EQ(WindowText(label_), L"价格：") << "checking and paging leave the price alone";
}

TEST_F(PagesAndRadiosTest, ArrowOnPageOneTakesTheCheckFromHiddenPageZero) {
    ClickHeader(1);
    ASSERT_TRUE(WaitFocus(Box(8)));
    for (int i = 0; i < 3; ++i) PressKey(VK_TAB, VK_SHIFT);
    ASSERT_TRUE(WaitFocus(Box(5))) << "Shift+Tab walks 单选框8, 7, 6, 5";
    EXPECT_EQ(CheckedBoxes(), (std::vector<int>{2})) << "the focus checks nothing";
    PressKey(VK_DOWN);
    EXPECT_TRUE(WaitChecked({6}));
    EXPECT_TRUE(WaitFocus(Box(6)));
}

TEST_F(PagesAndRadiosTest, ArrowsWrapAndSpaceChecksTheFocusedBox) {
    ASSERT_TRUE(WaitFocus(Box(1)));
    PressKey(VK_UP);
    EXPECT_TRUE(WaitChecked({4}));
    EXPECT_TRUE(WaitFocus(Box(4)));
    PressKey(VK_DOWN);
    EXPECT_TRUE(WaitChecked({1}));
    EXPECT_TRUE(WaitFocus(Box(1)));
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    ASSERT_TRUE(WaitFocus(Box(3)));
    EXPECT_EQ(CheckedBoxes(), (std::vector<int>{1}));
    PressKey(VK_SPACE);
    EXPECT_TRUE(WaitChecked({3}));
}

TEST_F(PagesAndRadiosTest, TabOrderOfPagesOneAndTwo) {
    for (int page : {1, 2}) {
        ClickHeader(page);
        const HWND bottom = Box(page * 4 + 4);
        ASSERT_TRUE(WaitFocus(bottom));
        // From the bottom box: the image buttons, 按钮1, then the page's boxes top down.
        PressKey(VK_TAB);
        PressKey(VK_TAB);
        PressKey(VK_TAB);
        ASSERT_TRUE(WaitFocus(button_)) << "page " << page;
        for (int b = 1; b <= 4; ++b) {
            PressKey(VK_TAB);
            EXPECT_TRUE(WaitFocus(Box(page * 4 + b))) << "page " << page << " box " << b;
        }
        PressKey(VK_TAB, VK_SHIFT);
        EXPECT_TRUE(WaitFocus(Box(page * 4 + 3)));
    }
    EXPECT_EQ(CheckedBoxes(), (std::vector<int>{2}));
}

TEST_F(PagesAndRadiosTest, FocusComesBackAfterMinimiseAndRestore) {
    ClickBox(3);
    ASSERT_TRUE(WaitChecked({3}));
    ASSERT_TRUE(WaitFocus(Box(3)));
    ASSERT_NO_FATAL_FAILURE(MinimiseWithBox());
    ASSERT_NO_FATAL_FAILURE(RestoreFromSystemMenu());
    EXPECT_TRUE(WaitFocus(Box(3))) << "after restore the focus is on " << FocusName();

    // The button, reached by Tab, the same way.
    for (int i = 0; i < 8 && FocusOf(window_) != button_; ++i) {
        // Keys go to the window in front. Without a window manager, the X server's word that
        // the focus left at the minimise can come late and put the desktop in front again.
        ASSERT_TRUE(MakeForeground(window_));
        const HWND before = FocusOf(window_);
        PressKey(VK_TAB);
        WaitFor([&] { return FocusOf(window_) != before; });
    }
    ASSERT_TRUE(WaitFocus(button_)) << "Tab did not reach 获取最新价格; focus on " << FocusName();
    ASSERT_NO_FATAL_FAILURE(MinimiseWithBox());
    ASSERT_NO_FATAL_FAILURE(RestoreFromSystemMenu());
    EXPECT_TRUE(WaitFocus(button_)) << "after restore the focus is on " << FocusName();
    EXPECT_EQ(CheckedBoxes(), (std::vector<int>{3}));
    EXPECT_EQ(WindowText(label_), L"价格：");
}

TEST_F(PagesAndRadiosTest, FocusComesBackAfterMinimiseDeactivateAndRestore) {
    ClickBox(4);
    ASSERT_TRUE(WaitFocus(Box(4)));
    ASSERT_NO_FATAL_FAILURE(MinimiseWithBox());
    // Another window in front while ours is minimised.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    MakeForeground(other);
    DestroyWindow(other);
    ASSERT_NO_FATAL_FAILURE(RestoreFromSystemMenu());
    ASSERT_TRUE(MakeForeground(window_));
    EXPECT_TRUE(WaitFocus(Box(4))) << "after restore the focus is on " << FocusName();
}

}  // namespace
}  // namespace e2e
