// The window's keyboard handling before the focused control sees a key, and
// the focus kept across deactivation.
#include "tests/win/WinTestSupport.h"

namespace qelvane::wintest {
namespace {

TEST_F(MainWindowTest, TabWalksPageZeroInFocusOrderAndWraps) {
    const std::uint32_t order[] = {kRadios[0][1], kRadios[0][2], kRadios[0][3], kButton,
                                   kSuperBtn1,    kSuperBtn2,    kRadios[0][0]};
    ASSERT_EQ(GetFocus(), Native(kRadios[0][0]));
    for (std::uint32_t id : order) {
        EXPECT_TRUE(PressKey(VK_TAB));
        EXPECT_EQ(GetFocus(), Native(id)) << id;
    }
    EXPECT_EQ(routineCalls, (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(SendMessageW(Native(kRadios[0][0]), BM_GETCHECK, 0, 0), BST_UNCHECKED)
        << "focusing a radio box does not check it";
}

TEST_F(MainWindowTest, ShiftTabWalksBackwards) {
    EXPECT_TRUE(PressKey(VK_TAB, true));
    EXPECT_EQ(GetFocus(), Native(kSuperBtn2));
    EXPECT_TRUE(PressKey(VK_TAB, true));
    EXPECT_EQ(GetFocus(), Native(kSuperBtn1));
    EXPECT_TRUE(PressKey(VK_TAB, true));
    EXPECT_EQ(GetFocus(), Native(kButton));
}

TEST_F(MainWindowTest, TabOnPageOneSkipsHiddenBoxesAndNonParticipants) {
    Set(kTab, prop::tab::kCurrentPage, 1);
    SetFocus(Native(kButton));
    const std::uint32_t order[] = {kRadios[1][0], kRadios[1][1], kRadios[1][2], kRadios[1][3], kSuperBtn1};
    for (std::uint32_t id : order) {
        PressKey(VK_TAB);
        EXPECT_EQ(GetFocus(), Native(id)) << id;
    }
    // From the tab control, which never takes part: Tab goes to the first, Shift+Tab to the last.
    SetFocus(Native(kTab));
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), Native(kButton));
    SetFocus(Native(kTab));
    PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), Native(kSuperBtn2));
}

TEST_F(MainWindowTest, EnterAndF1AreConsumedAndChangeNothing) {
    SetFocus(Native(kButton));
    EXPECT_TRUE(PressKey(VK_RETURN));
    EXPECT_TRUE(PressKey(VK_F1));
    Pump();
    EXPECT_EQ(GetFocus(), Native(kButton));
    EXPECT_EQ(routineCalls, (std::array<int, 3>{0, 0, 0}));
    EXPECT_FALSE(PressKey('A')) << "plain letters go to the control";
}

TEST_F(MainWindowTest, EscClosesTheWindowAndEndsTheLoop) {
    SetFocus(Native(kRadios[0][3]));
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    RunMessageLoop();
    EXPECT_EQ(FindLoadedWindow(kMainWindowId), nullptr);
    EXPECT_FALSE(IsWindow(Native(kRadios[0][3])));
}

TEST_F(MainWindowTest, FocusComesBackAfterDeactivation) {
    SetFocus(Native(kButton));
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    SetActiveWindow(other);
    Pump();
    ASSERT_EQ(GetActiveWindow(), other);
    SetActiveWindow(Main());
    Pump();
    EXPECT_EQ(GetFocus(), Native(kButton));

    DestroyWindow(other);
}

}  // namespace
}  // namespace qelvane::wintest
