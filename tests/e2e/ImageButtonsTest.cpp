// The shipped program's image buttons under the real mouse: the hover edge and
// the tooltip of 超级按钮1, its pressed look, and a disabled button that ignores
// the mouse. Pixels are read back from the screen.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/e2e/E2eDriver.h"

namespace e2e {
namespace {

constexpr DWORD kPollMs = 20;

struct Found {
    HWND qq = nullptr;     // 超级按钮1, the 77 x 22 badge
    HWND order = nullptr;  // 超级按钮2
};

BOOL CALLBACK CollectButton(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    if (ClassName(hwnd) != L"Button" || (GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW)
        return TRUE;
    RECT r;
    GetWindowRect(hwnd, &r);
    if (r.right - r.left == 77 && r.bottom - r.top == 22) found->qq = hwnd;
    if (r.right - r.left == 168 && r.bottom - r.top == 56) found->order = hwnd;
    return TRUE;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

// Polls until the screen pixel has the colour; gives the last colour seen.
COLORREF WaitForPixel(int x, int y, COLORREF want, Ms timeout = kStepTimeout) {
    const Deadline deadline(timeout);
    COLORREF seen = ScreenPixel(x, y);
    while (seen != want && !deadline.Passed()) {
        Sleep(kPollMs);
        seen = ScreenPixel(x, y);
    }
    return seen;
}

// A visible tooltip window of the process, or null.
HWND VisibleToolTip(DWORD pid) {
    for (HWND hwnd : VisibleTopLevelWindows(pid))
        if (ClassName(hwnd) == L"tooltips_class32") return hwnd;
    return nullptr;
}

class ImageButtonsTest : public ProgramWindowTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(OpenProgram());
        EnumChildWindows(window_, CollectButton, reinterpret_cast<LPARAM>(&buttons_));
        ASSERT_NE(buttons_.qq, nullptr) << "超级按钮1 not found";
        ASSERT_NE(buttons_.order, nullptr) << "超级按钮2 not found";
        GetWindowRect(buttons_.qq, &qq_);
        face_ = GetSysColor(COLOR_BTNFACE);
        // The first paint has happened once the badge's corner shows the face colour.
        ASSERT_EQ(WaitForPixel(qq_.left, qq_.top, face_), face_);
    }
    void TearDown() override {
        ParkPointer();
        if (program_ && program_->Running()) {
            PostMessageW(window_, WM_CLOSE, 0, 0);
            EXPECT_EQ(program_->WaitForExit(), std::optional<DWORD>(0));
        }
    }
    // Over the badge, away from its transparent corner; small steps so that the button sees moves.
    void HoverQq() {
        const int x = (qq_.left + qq_.right) / 2, y = (qq_.top + qq_.bottom) / 2;
        for (int d = 0; d < 4; ++d) {
            MovePointer(x + d, y);
            Sleep(30);
        }
    }

    Found buttons_;
    RECT qq_{};
    COLORREF face_ = 0;
};

TEST_F(ImageButtonsTest, HoverDrawsTheRaisedEdgeAndShowsTheToolTip) {
    EXPECT_EQ(VisibleToolTip(program_->Pid()), nullptr);
    HoverQq();
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(WaitForPixel(qq_.left, qq_.top, highlight), highlight)
        << "no raised edge through the badge's transparent corner";

    // The pointer rests, as a user's does, and is nudged now and then: Wine 8 relays only moves,
    // while Wine 10 counts a move to the same place as a new one and starts the delay again.
    HWND tip = nullptr;
    const Deadline deadline(kStepTimeout);
    for (int nudge = 0; !(tip = VisibleToolTip(program_->Pid())) && !deadline.Passed(); ++nudge) {
        const Deadline rest(1000);
        while (!(tip = VisibleToolTip(program_->Pid())) && !rest.Passed()) Sleep(50);
        if (tip) break;
        MovePointer((qq_.left + qq_.right) / 2 + nudge % 2, (qq_.top + qq_.bottom) / 2);
    }
    ASSERT_NE(tip, nullptr) << "no tooltip shown";
    EXPECT_EQ(WindowText(tip), FromGbk("反馈问题")) << Escaped(WindowText(tip));

    // Off the button: the edge goes.
    ParkPointer();
    EXPECT_EQ(WaitForPixel(qq_.left, qq_.top, face_), face_);
    EXPECT_TRUE(program_->Running());
}

TEST_F(ImageButtonsTest, PressingSinksTheBadgeAndReleasingKeepsTheWindow) {
    HoverQq();
    const int x = (qq_.left + qq_.right) / 2, y = (qq_.top + qq_.bottom) / 2;
    MouseAt(x, y, MOUSEEVENTF_LEFTDOWN);
    // Held down: the sunken edge in the corner, the transparent corner one pixel in.
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(WaitForPixel(qq_.left, qq_.top, shadow), shadow);
    EXPECT_EQ(WaitForPixel(qq_.left + 1, qq_.top + 1, face_), face_);

    MouseAt(x, y, MOUSEEVENTF_LEFTUP);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    EXPECT_EQ(WaitForPixel(qq_.left, qq_.top, highlight), highlight) << "up again, still hot";
    Sleep(300);
    EXPECT_TRUE(program_->Running());
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(VisibleTopLevelWindows(program_->Pid()).front(), window_) << "nothing came up over the window";
}

TEST_F(ImageButtonsTest, DisabledButtonIgnoresTheMouse) {
    std::vector<COLORREF> before;
    for (int x = qq_.left; x < qq_.right; ++x) before.push_back(ScreenPixel(x, qq_.top + 10));
    EnableWindow(buttons_.qq, FALSE);
    // Wait for the embossed repaint.
    const Deadline deadline(kStepTimeout);
    bool repainted = false;
    while (!repainted && !deadline.Passed()) {
        Sleep(kPollMs);
        for (int x = qq_.left; x < qq_.right && !repainted; ++x)
            repainted = ScreenPixel(x, qq_.top + 10) != before[static_cast<std::size_t>(x - qq_.left)];
    }
    EXPECT_TRUE(repainted) << "the disabled look was not drawn";
    // Hovering and clicking change nothing of it: no edge, no press, no tooltip.
    auto corner = [&] {
        std::vector<COLORREF> px;
        for (int y = qq_.top; y < qq_.top + 3; ++y)
            for (int x = qq_.left; x < qq_.left + 3; ++x) px.push_back(ScreenPixel(x, y));
        return px;
    };
    const std::vector<COLORREF> disabled = corner();
    HoverQq();
    ClickAt((qq_.left + qq_.right) / 2, (qq_.top + qq_.bottom) / 2);
    Sleep(500);
    EXPECT_EQ(corner(), disabled);
    EXPECT_EQ(VisibleToolTip(program_->Pid()), nullptr);
    EXPECT_TRUE(program_->Running());
}

}  // namespace
}  // namespace e2e
