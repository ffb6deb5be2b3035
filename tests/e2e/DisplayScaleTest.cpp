// The shipped program at the display's scale, seen from outside: run in a prefix of its own per
// DPI (120, 144, 192) and at 96 with the rest. The window and every component are the form's
// rectangles scaled, each caption fits its component in the component's own font, and the
// scaled places reach the components they should.
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <span>

#include "app/RoutineOffsets.h"
#include "app/StoredForm.h"
#include "tests/e2e/PriceWindow.h"
#include "ui/system/DisplayScale.h"
#include "ui/form/FormCodec.h"
#include "ui/form/LogFont.h"

namespace e2e {
namespace {

using qelvane::ComponentEntry;
using qelvane::DisplayScale;

// Each case opens the window itself: the two that only look share one start.
class ScaledLayoutTest : public PriceWindowTest {
protected:
    void SetUp() override {
        HDC screen = GetDC(nullptr);
        scale_ = DisplayScale{GetDeviceCaps(screen, LOGPIXELSY)};
        ReleaseDC(nullptr, screen);
        const std::vector<qelvane::Routine> routines(qelvane::kRoutineCount);
        auto form = qelvane::DecodeForm(std::span(qelvane::kStoredForm, qelvane::kStoredFormSize), routines);
        ASSERT_TRUE(form && form->windows.size() == 1);
        window_form_ = form->windows[0];
        std::printf("display at %d DPI\n", scale_.dpi);
    }

    // The form's entry of a component's window: control identifiers count the entries from 1.
    const ComponentEntry* EntryOf(HWND hwnd) const {
        const int index = GetDlgCtrlID(hwnd) - 1;
        if (index < 0 || index >= static_cast<int>(window_form_.components.size())) return nullptr;
        return &window_form_.components[static_cast<std::size_t>(index)];
    }
    static DisplayScale::Box BoxOf(const ComponentEntry& e) { return {e.left, e.top, e.width, e.height}; }
    static RECT RectInParent(HWND hwnd) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    double Factor() const { return scale_.dpi / 96.0; }

    DisplayScale scale_;
    qelvane::WindowTemplate window_form_;
};

TEST_F(ScaledLayoutTest, TheWindowAndEveryComponentAreTheFormsScaledWithinOnePixel) {
    ASSERT_NO_FATAL_FAILURE(OpenPriceWindow(Use::Looks));
    RECT outer{};
    GetWindowRect(window_, &outer);
    EXPECT_LE(std::abs((outer.right - outer.left) - window_form_.self.width * Factor()), 1.0);
    EXPECT_LE(std::abs((outer.bottom - outer.top) - window_form_.self.height * Factor()), 1.0);
    int seen = 0;
    for (HWND hwnd : ChildWindows(window_)) {
        const ComponentEntry* e = EntryOf(hwnd);
        if (!e) continue;
        ++seen;
        SCOPED_TRACE(Escaped(FromGbk(e->name.c_str())));
        const RECT r = RectInParent(hwnd);
        EXPECT_EQ(DisplayScale::Box({r.left, r.top, r.right - r.left, r.bottom - r.top}), scale_.ToDevice(BoxOf(*e)));
        EXPECT_LE(std::abs(r.left - e->left * Factor()), 0.5);
        EXPECT_LE(std::abs((r.right - r.left) - e->width * Factor()), 1.0);
        EXPECT_LE(std::abs((r.bottom - r.top) - e->height * Factor()), 1.0);
    }
    EXPECT_EQ(seen, static_cast<int>(window_form_.components.size()));
}

TEST_F(ScaledLayoutTest, EveryCaptionFitsItsComponentInItsOwnFont) {
    ASSERT_NO_FATAL_FAILURE(OpenPriceWindow(Use::Looks));
    HDC dc = GetDC(nullptr);
    int measured = 0;
    for (HWND hwnd : ChildWindows(window_)) {
        const ComponentEntry* e = EntryOf(hwnd);
        const std::wstring text = WindowText(hwnd);
        if (!e || text.empty()) continue;
        SCOPED_TRACE(Escaped(text));
        // The component's own font: its stored one at this scale, else the stock GUI font.
        HFONT own = nullptr;
        if (const auto* b = std::get_if<qelvane::SuperBtnProps>(&e->settings))
            if (const auto f = qelvane::ParseLogFont(b->font)) {
                LOGFONTW lf{};
                lf.lfHeight = scale_.ToDevice(f->height);
                lf.lfWeight = f->weight;
                lf.lfCharSet = DEFAULT_CHARSET;
                lf.lfQuality = PROOF_QUALITY;
                const std::wstring face = FromGbk(std::string(f->faceName).c_str());
                wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
                own = CreateFontIndirectW(&lf);
            }
        HGDIOBJ old = SelectObject(dc, own ? own : GetStockObject(DEFAULT_GUI_FONT));  // stock when not ours
        RECT client{};
        GetClientRect(hwnd, &client);
        // A radio box keeps its check mark and a gap beside the text, which wraps in what is left.
        const bool radio = std::holds_alternative<qelvane::RadioBoxProps>(e->settings);
        const int room = client.right - (radio ? GetSystemMetrics(SM_CXMENUCHECK) + scale_.ToDevice(4) : 0);
        RECT need{0, 0, room, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &need,
                  DT_CALCRECT | (radio || std::holds_alternative<qelvane::SuperBtnProps>(e->settings) ? DT_WORDBREAK : DT_SINGLELINE));
        SelectObject(dc, old);
        if (own) DeleteObject(own);
        ++measured;
        EXPECT_LE(need.right - need.left, room) << "wider than its component";
        EXPECT_LE(need.bottom - need.top, client.bottom) << "taller than its component: cut at top and bottom";
    }
    ReleaseDC(nullptr, dc);
    EXPECT_GE(measured, 8);
}

TEST_F(ScaledLayoutTest, TheScaledPlacesReachTheSameComponents) {
    ASSERT_NO_FATAL_FAILURE(OpenPriceWindow(Use::Acts));
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    int reached = 0;
    for (HWND hwnd : ChildWindows(window_)) {
        const ComponentEntry* e = EntryOf(hwnd);
        if (!e || !IsWindowVisible(hwnd) || GetParent(hwnd) != window_) continue;
        SCOPED_TRACE(Escaped(FromGbk(e->name.c_str())));
        // The centre of its form rectangle, taken to the screen at this scale.
        POINT at{origin.x + scale_.ToDevice(e->left + e->width / 2), origin.y + scale_.ToDevice(e->top + e->height / 2)};
        HWND found = WindowFromPoint(at);
        // A point on a page container lands on whatever the page holds there.
        while (found && found != hwnd && GetParent(found) != window_) found = GetParent(found);
        EXPECT_EQ(found, hwnd);
        ++reached;
    }
    EXPECT_GE(reached, 5);
    // And a real click at a scaled place: the first page's third service, then the price.
    const ComponentEntry* third = nullptr;
    for (const ComponentEntry& e : window_form_.components)
        if (e.id == 0x1601000Cu) third = &e;  // 单选框3
    ASSERT_NE(third, nullptr);
    POINT tabOrigin{0, 0};
    ClientToScreen(tab_, &tabOrigin);
    ClickAt(tabOrigin.x + scale_.ToDevice(third->left + 10), tabOrigin.y + scale_.ToDevice(third->top + third->height / 2));
    HWND radio = Radio(L"人工活粉：");
    ASSERT_NE(radio, nullptr);
    EXPECT_TRUE(WaitFor([&] { return Checked(radio); })) << "the click at the scaled place did not check it";
    RefreshAndExpect(L"价格：30元一百个微信真人粉丝");
}

}  // namespace
}  // namespace e2e
