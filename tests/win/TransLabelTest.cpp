// The price label's pixels: it repaints what lies beneath before drawing new
// text, aligns and wraps as asked, and draws the text effects where they belong.
#include <algorithm>
#include <optional>
#include <sstream>

#include "tests/win/Rendering.h"
#include "tests/win/WinTestSupport.h"

namespace qelvane::wintest {
namespace {

constexpr int kLabelWidth = 192;
constexpr int kLabelHeight = 38;
constexpr const char* kLongText = "价格：30元一百个微信真人粉丝";
constexpr const char* kShortText = "价格：";

using namespace prop::label;
using prop::kLeft, prop::kTop;

// The client area of a window as it is on screen now.
using Pixels = Rendered;
Pixels Capture(HWND hwnd) { return OnScreen(hwnd); }

// Bounding box of the pixels that pass `is`, or nothing.
template <class Pred>
std::optional<RECT> BoundsOf(const Pixels& p, Pred is) {
    std::optional<RECT> box;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            if (!is(p.At(x, y))) continue;
            if (!box) box = RECT{x, y, x + 1, y + 1};
            box->left = std::min<LONG>(box->left, x);
            box->top = std::min<LONG>(box->top, y);
            box->right = std::max<LONG>(box->right, x + 1);
            box->bottom = std::max<LONG>(box->bottom, y + 1);
        }
    return box;
}

std::string Describe(const std::optional<RECT>& r) {
    if (!r) return "none";
    std::ostringstream s;
    s << "(" << r->left << "," << r->top << ")-(" << r->right << "," << r->bottom << ")";
    return s.str();
}

// Width of a text drawn in the label's font (the default GUI font).
int TextWidth(const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    SIZE size{};
    {
        ScopedSelect font(dc, GetStockObject(DEFAULT_GUI_FONT));  // stock object, not ours
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    ReleaseDC(nullptr, dc);
    return size.cx;
}

class TransLabelTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (HasFatalFailure()) return;
        SetForegroundWindow(Main());
        Pump();
        background_ = GetSysColor(COLOR_BTNFACE);
    }
    HWND Label() const { return Native(kLabel); }
    Pixels Shot() {
        Pump();
        return Capture(Label());
    }
    // Anything that is not the window background: text, its antialiased edges, a trace.
    std::optional<RECT> Ink(const Pixels& p) const {
        return BoundsOf(p, [&](COLORREF c) { return c != background_; });
    }

    COLORREF background_ = 0;
};

TEST_F(TransLabelTest, NewCaptionLeavesNoTraceOfTheOldOne) {
    // The label shows the window background where it has no text.
    const Pixels mainShot = Capture(Main());
    ASSERT_EQ(mainShot.At(4, 252), background_) << "between the tab control and the label";

    SetText(kLabel, kCaption, kLongText);
    const std::optional<RECT> longInk = Ink(Shot());
    ASSERT_TRUE(longInk);
    const int shortWidth = TextWidth(L"\u4EF7\u683C\uFF1A");
    ASSERT_GT(longInk->right, shortWidth + 20) << "the long text reaches well past the short one";

    SetText(kLabel, kCaption, kShortText);
    const std::optional<RECT> shortInk = Ink(Shot());
    ASSERT_TRUE(shortInk) << "the short text is drawn";
    EXPECT_LE(shortInk->right, shortWidth + 2) << "ink at " << Describe(shortInk) << ", text width " << shortWidth;
    EXPECT_LE(shortInk->left, 1);
}

TEST_F(TransLabelTest, EmptyCaptionClearsTheLabel) {
    SetText(kLabel, kCaption, kLongText);
    ASSERT_TRUE(Ink(Shot()));
    SetText(kLabel, kCaption, "");
    EXPECT_EQ(TextOf(Label()), L"");
    const std::optional<RECT> ink = Ink(Shot());
    EXPECT_FALSE(ink) << "left over: " << Describe(ink);
}

TEST_F(TransLabelTest, SameCaptionStillRepaintsEverythingBeneath) {
    SetText(kLabel, kCaption, kLongText);
    const Pixels clean = Shot();

    // Paint over the label behind the window manager's back; only a full repaint removes it.
    HDC dc = GetDC(Label());
    const RECT all{0, 0, kLabelWidth, kLabelHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));  // stock object, not ours
    ReleaseDC(Label(), dc);
    ASSERT_NE(Capture(Label()), clean) << "the scribble did not reach the label";

    SetText(kLabel, kCaption, kLongText);
    const Pixels again = Capture(Label());  // before pumping: the repaint is synchronous
    EXPECT_EQ(again.At(kLabelWidth - 1, 0), background_) << "the window beneath was not repainted";
    EXPECT_EQ(Shot(), clean);
}

TEST_F(TransLabelTest, MovedLabelShowsWhatLiesBeneathItsNewPlace) {
    SetText(kLabel, kCaption, kLongText);
    const Pixels tabBefore = Capture(Main());
    // Over the lower edge of the tab control: the tab must show through.
    Set(kLabel, kTop, 230);
    Set(kLabel, kLeft, 8);
    const Pixels label = Shot();
    const Pixels window = Capture(Main());
    ASSERT_EQ(label.width, kLabelWidth);
    for (int y = 0; y < 8; ++y)  // rows 230..237: above the text, inside the tab
        for (int x = 0; x < kLabelWidth; ++x)
            ASSERT_EQ(label.At(x, y), tabBefore.At(8 + x, 230 + y)) << "at " << x << "," << y;
    // Its old place holds no text any more.
    for (int y = 280; y < 296; ++y)
        for (int x = 8; x < 200; ++x) ASSERT_EQ(window.At(x, y), background_) << "trace at " << x << "," << y;
}

TEST_F(TransLabelTest, HAlignOutOfRangeIsClampedAndDrawnThere) {
    SetText(kLabel, kCaption, kShortText);
    const int room = kLabelWidth - TextWidth(L"\u4EF7\u683C\uFF1A");
    const std::optional<RECT> left = Ink(Shot());
    ASSERT_TRUE(left);

    Set(kLabel, kHAlign, 7);
    EXPECT_EQ(Get(kLabel, kHAlign), 2);
    const std::optional<RECT> right = Ink(Shot());
    ASSERT_TRUE(right);
    EXPECT_EQ(right->left - left->left, room) << "right-aligned: " << Describe(right);

    Set(kLabel, kHAlign, 1);
    const std::optional<RECT> centred = Ink(Shot());
    ASSERT_TRUE(centred);
    EXPECT_EQ(centred->left - left->left, room / 2) << "centred: " << Describe(centred);

    Set(kLabel, kHAlign, -1);
    EXPECT_EQ(Get(kLabel, kHAlign), 0);
    const std::optional<RECT> again = Ink(Shot());
    ASSERT_TRUE(again);
    EXPECT_EQ(again->left, left->left) << "left-aligned: " << Describe(again);
    EXPECT_EQ(again->right, left->right);
}

TEST_F(TransLabelTest, WordWrapBreaksInsideTheWidthAndIgnoresVAlign) {
    const char* text = "价格： 30元 一百个 微信 真人粉丝 10元 一百个 微信关注";
    SetText(kLabel, kCaption, text);
    const int lineWidth = TextWidth(L"\u4EF7\u683C\uFF1A 30\u5143 \u4E00\u767E\u4E2A \u5FAE\u4FE1 "
                                    L"\u771F\u4EBA\u7C89\u4E1D 10\u5143 \u4E00\u767E\u4E2A "
                                    L"\u5FAE\u4FE1\u5173\u6CE8");
    ASSERT_GT(lineWidth, kLabelWidth) << "the text must not fit on one line";

    // One line: VAlign places it at the top or at the bottom.
    Set(kLabel, kVAlign, 0);
    const std::optional<RECT> top = Ink(Shot());
    Set(kLabel, kVAlign, 2);
    const std::optional<RECT> bottom = Ink(Shot());
    ASSERT_TRUE(top && bottom);
    EXPECT_LE(top->top, 2) << Describe(top);
    EXPECT_GE(bottom->bottom, kLabelHeight - 2) << Describe(bottom);
    const LONG lineHeight = top->bottom - top->top;
    EXPECT_EQ(bottom->bottom - bottom->top, lineHeight);

    Set(kLabel, kWordWrap, 1);
    const Pixels wrappedAtBottom = Shot();
    Set(kLabel, kVAlign, 0);
    const Pixels wrappedAtTop = Shot();
    EXPECT_EQ(wrappedAtBottom, wrappedAtTop) << "VAlign counts only on one line";
    const std::optional<RECT> wrapped = Ink(wrappedAtTop);
    ASSERT_TRUE(wrapped);
    EXPECT_GT(wrapped->bottom - wrapped->top, lineHeight + lineHeight / 2)
        << "at least two lines: " << Describe(wrapped) << ", one line is " << lineHeight;
    EXPECT_LE(wrapped->top, 2) << "wrapped text starts at the top";
}

// Where the strongly coloured pixels of each kind end, for one effect.
struct EffectInk {
    std::optional<RECT> text, white, black;
};

TEST_F(TransLabelTest, TextEffectsDrawTheirCopyAtItsOffset) {
    SetText(kLabel, kCaption, "WWW");
    Set(kLabel, kTextColor, 0x0000FF);  // red text
    auto measure = [&](int effect) {
        Set(kLabel, kTextEffect, effect);
        const Pixels p = Shot();
        EffectInk e;
        e.text = BoundsOf(p, [](COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60; });
        e.white = BoundsOf(p, [](COLORREF c) { return GetRValue(c) > 250 && GetGValue(c) > 250 && GetBValue(c) > 250; });
        e.black = BoundsOf(p, [](COLORREF c) { return GetRValue(c) < 40 && GetGValue(c) < 40 && GetBValue(c) < 40; });
        return e;
    };
    const EffectInk plain = measure(0);
    ASSERT_TRUE(plain.text);
    EXPECT_FALSE(plain.white) << Describe(plain.white);
    EXPECT_FALSE(plain.black) << Describe(plain.black);

    // 1: a white copy 1 right and down, beneath the text.
    const EffectInk raised = measure(1);
    ASSERT_TRUE(raised.text && raised.white);
    EXPECT_EQ(raised.text->left, plain.text->left);
    EXPECT_EQ(raised.white->right, plain.text->right + 1);
    EXPECT_EQ(raised.white->bottom, plain.text->bottom + 1);

    // 2: the white copy in place, the text 1 right and down.
    const EffectInk sunken = measure(2);
    ASSERT_TRUE(sunken.text && sunken.white);
    EXPECT_EQ(sunken.text->left, plain.text->left + 1);
    EXPECT_EQ(sunken.text->top, plain.text->top + 1);
    EXPECT_EQ(sunken.white->left, plain.text->left);

    // 3: a black shadow 2 right and down.
    const EffectInk shadow = measure(3);
    ASSERT_TRUE(shadow.text && shadow.black);
    EXPECT_EQ(shadow.text->left, plain.text->left);
    EXPECT_EQ(shadow.black->right, plain.text->right + 2);
    EXPECT_EQ(shadow.black->bottom, plain.text->bottom + 2);
    EXPECT_FALSE(shadow.white);
}

}  // namespace
}  // namespace qelvane::wintest
