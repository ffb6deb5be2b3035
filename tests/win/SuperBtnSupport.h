// Pieces shared by the image-button tests: rendering a button into a bitmap of
// our own, putting the pointer over it, and reaching the component object.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "tests/win/GuiObjects.h"
#include "tests/win/Rendering.h"
#include "tests/win/WinTestSupport.h"
#include "ui/components/SuperBtn.h"
#include "tests/support/WindowTestSupport.h"

namespace qelvane::wintest {

inline constexpr COLORREF kSentinel = RGB(255, 0, 255);  // what the button left unpainted

// Asks the button's parent to draw it (WM_DRAWITEM, as the control would) into a
// bitmap prefilled with kSentinel, with the given ODS_* item state.
inline Rendered Render(HWND button, UINT itemState) {
    RECT rc;
    GetClientRect(button, &rc);
    return RenderWith(rc.right, rc.bottom, kSentinel, [&](HDC dc) {
        DRAWITEMSTRUCT di{};
        di.CtlType = ODT_BUTTON;
        di.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
        di.itemAction = ODA_DRAWENTIRE;
        di.itemState = itemState;
        di.hwndItem = button;
        di.hDC = dc;
        di.rcItem = rc;
        SendMessageW(GetParent(button), WM_DRAWITEM, di.CtlID, reinterpret_cast<LPARAM>(&di));
    });
}

using testsupport::CentreOnScreen;

// The pointer over the button, and the move message the button then gets.
inline void HoverOver(HWND button) {
    const POINT p = CentreOnScreen(button);
    SetCursorPos(p.x, p.y);
    RECT r;
    GetWindowRect(button, &r);
    SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(p.x - r.left, p.y - r.top));
}

// Live GDI objects of this process, whoever made them: also counts a handle that
// never had one of our owners.
inline int LiveGdiObjects() { return qelvane::testing::CountGdiObjects(); }

// The pointer far from every window of the test.
inline void ParkPointer() { SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); }

class SuperBtnTest : public MainWindowTest {
protected:
    void SetUp() override {
        ParkPointer();
        MainWindowTest::SetUp();
    }
    SuperBtn& Object(std::uint32_t id) const { return static_cast<SuperBtn&>(*window_->Slot(id)->object); }
};

}  // namespace qelvane::wintest
