// The image buttons' pixels: the badge and its transparent colour, press
// offsets, the hover edge, the disabled look, the 3D and XP looks, and the
// property block versions as a loaded button shows them.
#include <optional>

#include "tests/win/SuperBtnSupport.h"
#include "ui/form/FormCodec.h"
#include "ui/form/Schema.h"
#include "ui/pictures/Picture.h"
#include "ui/components/SuperBtnLayout.h"

namespace qelvane::wintest {
namespace {

using namespace prop::superbtn;

struct Badge {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

std::string BlockOf(std::uint32_t id, int number) {
    const auto* ref = reinterpret_cast<const ByteBlockRef*>(
        static_cast<std::uintptr_t>(GetProperty(kMainWindowId, id, number, -1)));
    return ref && ref->data ? std::string(reinterpret_cast<const char*>(ref->data), ref->size) : std::string();
}

std::optional<Badge> DecodeBadge(const std::string& png) {
    auto decoded = DecodePicture(reinterpret_cast<const std::uint8_t*>(png.data()), png.size());
    if (!decoded) return std::nullopt;
    Badge b{decoded->width, decoded->height, {}};
    for (std::size_t i = 0; i + 3 < decoded->bgra.size(); i += 4)
        b.pixels.push_back(RGB(decoded->bgra[i + 2], decoded->bgra[i + 1], decoded->bgra[i]));
    return b;
}

bool Reddish(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 110 && GetBValue(c) < 110; }
bool Grey(COLORREF c) { return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c); }

// Bounding box of the pixels that pass `test`; empty (right < left) when none does.
template <class Test>
RECT BoxOf(const Rendered& r, Test test) {
    RECT box{r.width, r.height, -1, -1};
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x)
            if (test(r.At(x, y))) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

class SuperBtnDrawTest : public SuperBtnTest {
protected:
    void SetUp() override {
        SuperBtnTest::SetUp();
        auto badge = DecodeBadge(BlockOf(kSuperBtn1, kPicOut));
        ASSERT_TRUE(badge) << "the form's badge does not decode";
        badge_ = *badge;
        face_ = GetSysColor(COLOR_BTNFACE);
    }
    Badge badge_;
    COLORREF face_ = 0;
};

constexpr COLORREF kBadgeKey = RGB(255, 254, 255);

TEST_F(SuperBtnDrawTest, BadgeFillsItsButtonWithItsTopLeftColourTransparent) {
    ASSERT_EQ(badge_.width, 77);
    ASSERT_EQ(badge_.height, 22);
    ASSERT_EQ(badge_.At(0, 0), kBadgeKey);
    const Rendered r = Render(Native(kSuperBtn1), 0);
    ASSERT_EQ(r.width, 77);
    ASSERT_EQ(r.height, 22);
    int transparent = 0, wrong = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 77; ++x) {
            const bool key = badge_.At(x, y) == kBadgeKey;
            transparent += key;
            const COLORREF want = key ? face_ : badge_.At(x, y);
            if (r.At(x, y) != want && wrong++ < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << r.At(x, y) << ", want " << want;
        }
    EXPECT_EQ(transparent, 7);
    EXPECT_EQ(wrong, 0);
}

TEST_F(SuperBtnDrawTest, PressedBadgeMovesOneRightOneDownOverASunkenEdge) {
    const Rendered r = Render(Native(kSuperBtn1), ODS_SELECTED);
    int wrong = 0;
    for (int y = 1; y < 22; ++y)
        for (int x = 1; x < 77; ++x) {
            const COLORREF src = badge_.At(x - 1, y - 1);
            if (src == kBadgeKey) continue;
            if (r.At(x, y) != src && wrong++ < 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << r.At(x, y) << ", want " << src;
        }
    EXPECT_EQ(wrong, 0);
    // The top row and the left column are left to the edge: shadow there.
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(r.At(0, 0), shadow);
    EXPECT_EQ(r.At(0, 10), shadow);
    EXPECT_EQ(r.At(40, 0), shadow);
    // The moved transparent corner shows the hover background.
    EXPECT_EQ(r.At(1, 1), face_);

    // A 2-down press style.
    Set(kSuperBtn1, prop::superbtn::kPressStyle, 1);
    const Rendered down = Render(Native(kSuperBtn1), ODS_SELECTED);
    EXPECT_EQ(down.At(30, 12), badge_.At(30, 10));
    EXPECT_EQ(down.At(0, 2), shadow) << "the transparent corner, two rows down, shows the edge beneath";
}

TEST_F(SuperBtnDrawTest, HoverShowsTheRaisedEdgeThroughTheTransparentCorner) {
    HWND qq = Native(kSuperBtn1);
    EXPECT_EQ(Render(qq, 0).At(0, 0), face_);
    HoverOver(qq);
    ASSERT_TRUE(Object(kSuperBtn1).Hot());
    const Rendered hot = Render(qq, 0);
    EXPECT_EQ(hot.At(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(hot.At(8, 13), face_) << "an inner transparent pixel shows the hover background";
    EXPECT_EQ(hot.At(30, 10), badge_.At(30, 10)) << "not moved while only hot";
    SendMessageW(qq, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(Render(qq, 0).At(0, 0), face_) << "the edge goes with the mouse";

    // Without DrawBorder there is no edge.
    Set(kSuperBtn1, prop::superbtn::kDrawBorder, 0);
    HoverOver(qq);
    EXPECT_EQ(Render(qq, 0).At(0, 0), face_);
}

TEST_F(SuperBtnDrawTest, ExplicitTransparentColourReplacesTheCornerColour) {
    const COLORREF other = badge_.At(40, 11);
    ASSERT_NE(other, kBadgeKey);
    Set(kSuperBtn1, kTransColorOut, static_cast<std::int64_t>(other));
    const Rendered r = Render(Native(kSuperBtn1), 0);
    EXPECT_EQ(r.At(0, 0), kBadgeKey) << "the corner colour is drawn now";
    int shown = 0, hidden = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 77; ++x)
            if (badge_.At(x, y) == other) {
                ++(r.At(x, y) == face_ ? hidden : shown);
            }
    EXPECT_GT(hidden, 0);
    EXPECT_EQ(shown, 0);
}

TEST_F(SuperBtnDrawTest, DisabledWithoutItsOwnPictureIsEmbossedGrey) {
    const Rendered normal = Render(Native(kSuperBtn1), 0);
    const Rendered r = Render(Native(kSuperBtn1), ODS_DISABLED);
    int coloured = 0;
    for (COLORREF c : r.pixels) coloured += !Grey(c);
    EXPECT_EQ(coloured, 0);
    EXPECT_NE(r.pixels, normal.pixels);
    bool anyNotFace = false;
    for (COLORREF c : r.pixels) anyNotFace |= c != face_;
    EXPECT_TRUE(anyNotFace) << "the emboss draws something";
}

TEST_F(SuperBtnDrawTest, TheFlatLookShowsItsFocusOnlyWhereTheSystemShowsFocusCues) {
    // The QQ button is flat without DrawFocus: a focus rectangle 3 pixels in, over the badge,
    // after a Tab (cues shown), and none while the system hides the cues (after a click).
    const Rendered plain = Render(Native(kSuperBtn1), 0);
    const Rendered cued = Render(Native(kSuperBtn1), ODS_FOCUS);
    const Rendered hidden = Render(Native(kSuperBtn1), ODS_FOCUS | ODS_NOFOCUSRECT);
    EXPECT_TRUE(hidden == plain);
    int changed = 0, outside = 0;
    for (int y = 0; y < plain.height; ++y)
        for (int x = 0; x < plain.width; ++x) {
            if (cued.At(x, y) == plain.At(x, y)) continue;
            const bool onFrame = (x == 3 || x == plain.width - 4 || y == 3 || y == plain.height - 4);
            (onFrame ? changed : outside)++;
        }
    EXPECT_GT(changed, plain.width / 2) << "no focus rectangle";
    EXPECT_EQ(outside, 0) << "drawn elsewhere than 3 pixels in";
}

TEST_F(SuperBtnDrawTest, ThreeDLookEdgeFocusFrameAndCentredRedCaption) {
    HWND order = Native(kSuperBtn2);
    const Rendered r = Render(order, 0);
    const int w = r.width, h = r.height;
    ASSERT_EQ(w, 168);
    ASSERT_EQ(h, 56);
    EXPECT_EQ(r.At(0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(r.At(1, 1), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(r.At(w - 1, h - 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(r.At(w - 2, h - 2), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(r.At(w / 2, 3), face_);

    const RECT text = BoxOf(r, Reddish);
    ASSERT_GT(text.right, text.left) << "no red caption";
    EXPECT_NEAR((text.left + text.right) / 2.0, w / 2.0, 2.0);
    EXPECT_NEAR((text.top + text.bottom) / 2.0, h / 2.0, 2.5);

    const Rendered pressed = Render(order, ODS_SELECTED);
    EXPECT_EQ(pressed.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
    const RECT moved = BoxOf(pressed, Reddish);
    EXPECT_EQ(moved.left, text.left + 1);
    EXPECT_EQ(moved.top, text.top + 1);

    const Rendered focused = Render(order, ODS_FOCUS);
    EXPECT_EQ(focused.At(0, 0), RGB(0, 0, 0)) << "black frame when focused";
    EXPECT_EQ(focused.At(w - 1, h - 1), RGB(0, 0, 0));
    EXPECT_EQ(focused.At(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT)) << "the edge moves in by one";
    int dotted = 0;
    for (int x = 4; x < w - 4; ++x) dotted += focused.At(x, 4) != face_;
    EXPECT_GT(dotted, (w - 8) / 3) << "focus rectangle 3 pixels inside the frame";
    EXPECT_EQ(focused.At(w / 2, 3), face_);

    // A background colour written later: used as it is, and the system face colour looked up.
    Set(kSuperBtn2, prop::superbtn::kBkColorOut, 0x00FF0000);
    EXPECT_EQ(Render(order, 0).At(w / 2, 3), RGB(0, 0, 255));
    Set(kSuperBtn2, prop::superbtn::kBkColorOut, 0xFF000000);
    EXPECT_EQ(Render(order, 0).At(w / 2, 3), face_);
}

TEST_F(SuperBtnDrawTest, XpLookRoundsItsHotFaceAndDefaultColourUsesTheSystemColours) {
    HWND order = Native(kSuperBtn2);
    Set(kSuperBtn2, kBtnStyle, 2);
    Set(kSuperBtn2, kDefaultColor, 1);
    HoverOver(order);
    ASSERT_TRUE(Object(kSuperBtn2).Hot());
    const Rendered r = Render(order, 0);
    EXPECT_EQ(r.At(0, 0), kSentinel) << "the rounded corner leaves the very corner alone";
    EXPECT_EQ(r.At(r.width / 2, 0), RGB(0, 0, 0)) << "black outline";
    EXPECT_EQ(r.At(r.width / 2, 3), static_cast<COLORREF>(superbtn::ShiftColour(face_, 32)));
    EXPECT_LT(BoxOf(r, Reddish).right, 0) << "system text colour, not the stored red";
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    int textPixels = 0;  // inside the outline, which is black too
    for (int y = 2; y < r.height - 2; ++y)
        for (int x = 2; x < r.width - 2; ++x) textPixels += r.At(x, y) == text;
    EXPECT_GT(textPixels, 0);

    // Back to the stored colours: the red comes back, without re-creation.
    Set(kSuperBtn2, kDefaultColor, 0);
    EXPECT_GT(BoxOf(Render(order, 0), Reddish).right, 0);
}

// A face brush the system refuses leaves the face as it was, rather than filling it with
// whatever brush the DC holds.
TEST_F(SuperBtnDrawTest, AFaceBrushThatCannotBeMadeLeavesTheFaceUnpainted) {
    HWND order = Native(kSuperBtn2);
    testing::FailCreationNumber(1);
    const Rendered r = Render(order, 0);
    const std::string refused = testing::RefusedCreation() ? testing::RefusedCreation() : "";
    testing::FailCreationNumber(0);
    EXPECT_EQ(refused, "image button's face");
    EXPECT_EQ(r.At(r.width / 2, 3), kSentinel);
}

// The system's face colour is taken when the button is made, and again when the scheme changes:
// a change of the system colours reaches the face, for the system colours and the form's own.
TEST_F(SuperBtnDrawTest, SystemColoursChangedLaterReachTheFace) {
    HWND order = Native(kSuperBtn2);
    const int element = COLOR_BTNFACE;
    const COLORREF before = GetSysColor(COLOR_BTNFACE);
    const COLORREF changed = before == RGB(10, 200, 30) ? RGB(30, 10, 200) : RGB(10, 200, 30);
    for (int defaultColor : {0, 1}) {
        SCOPED_TRACE(defaultColor);
        Set(kSuperBtn2, kDefaultColor, defaultColor);
        ASSERT_EQ(Render(order, 0).At(Render(order, 0).width / 2, 3), before);
        ASSERT_TRUE(SetSysColors(1, &element, &changed));
        Pump();
        const Rendered r = Render(order, 0);
        SetSysColors(1, &element, &before);
        Pump();
        EXPECT_EQ(r.At(r.width / 2, 3), changed);
        EXPECT_EQ(Render(order, 0).At(r.width / 2, 3), before) << "and back";
    }
}

// ---- Block versions ----

class SuperBtnBlockTest : public ::testing::Test {
protected:
    void TearDown() override {
        ExitProgram(0);
        qelvane::testing::ResetRuntime();
    }
    // The stored form with 超级按钮1's settings read back from a block of `version`.
    static FormDescription FormWithBlock(std::uint32_t version, const SuperBtnProps& p) {
        std::optional<FormDescription> form = DecodeForm(StoredFormBytes(), kCountingRoutines);
        EXPECT_TRUE(form);
        for (ComponentEntry& e : form->windows[0].components) {
            if (e.id != kSuperBtn1) continue;
            const Bytes block = WriteBlock(p, version);
            SuperBtnProps read;
            EXPECT_TRUE(ReadBlock(block, read)) << "version " << version;
            e.settings = read;
        }
        return *form;
    }
    static SuperBtnProps WithDisabledPicture() {
        std::optional<FormDescription> form = DecodeForm(StoredFormBytes(), kCountingRoutines);
        SuperBtnProps p = std::get<SuperBtnProps>(form->windows[0].components[1].settings);
        p.picDisabled = p.picOut;
        p.transColorDisabled = 0x00123456u;
        return p;
    }
};

TEST_F(SuperBtnBlockTest, OlderVersionsLoadWithoutTheDisabledPicture) {
    const SuperBtnProps p = WithDisabledPicture();
    for (std::uint32_t version : {0u, 1u, 2u}) {
        SCOPED_TRACE(::testing::Message() << "version " << version);
        const Bytes bytes = EncodeForm(FormWithBlock(version, p));
        ASSERT_FALSE(bytes.empty());
        InitializeRuntime(bytes, kCountingRoutines);
        LoadWindow(kMainWindowId);
        FormWindow* w = FindLoadedWindow(kMainWindowId);
        ASSERT_NE(w, nullptr);
        const bool v2 = version == 2;
        EXPECT_EQ(BlockOf(kSuperBtn1, kPicDisabled).size(), v2 ? p.picOut.size() : 0u);
        EXPECT_EQ(static_cast<std::uint32_t>(GetProperty(kMainWindowId, kSuperBtn1, kTransColorDisabled, -1)),
                  v2 ? 0x00123456u : kSystemFaceColour);
        EXPECT_EQ(BlockOf(kSuperBtn1, kPicOut).size(), p.picOut.size()) << "the fields before it came through";
        EXPECT_STREQ(reinterpret_cast<const char*>(
                         static_cast<std::uintptr_t>(GetProperty(kMainWindowId, kSuperBtn1, prop::superbtn::kToolTip, -1))),
                     "反馈问题");

        // Its own disabled picture keeps its colours; without one the emboss is grey.
        const Rendered r = Render(w->Slot(kSuperBtn1)->object->Hwnd(), ODS_DISABLED);
        int coloured = 0;
        for (COLORREF c : r.pixels) coloured += !Grey(c);
        if (v2)
            EXPECT_GT(coloured, 0);
        else
            EXPECT_EQ(coloured, 0);
        ExitProgram(0);
        qelvane::testing::ResetRuntime();
    }
}

// A button that no block configures takes its colours from the system when it is made.
TEST_F(SuperBtnBlockTest, UnsetColoursComeFromTheSystemAtCreation) {
    std::optional<FormDescription> form = DecodeForm(StoredFormBytes(), kCountingRoutines);
    ASSERT_TRUE(form);
    ASSERT_EQ(form->windows[0].components[1].id, kSuperBtn1);
    form->windows[0].components[1].settings = SuperBtnProps{};
    InitializeRuntime(EncodeForm(*form), kCountingRoutines);
    LoadWindow(kMainWindowId);
    ASSERT_NE(FindLoadedWindow(kMainWindowId), nullptr);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT), face = GetSysColor(COLOR_BTNFACE);
    for (int n : {kFgColorOut, kFgColorIn, kFgColorFocus})
        EXPECT_EQ(static_cast<COLORREF>(GetProperty(kMainWindowId, kSuperBtn1, n, -1)), text) << n;
    EXPECT_EQ(static_cast<COLORREF>(GetProperty(kMainWindowId, kSuperBtn1, kBkColorIn, -1)),
              superbtn::ShiftColour(face, 32));
    EXPECT_EQ(static_cast<std::uint32_t>(GetProperty(kMainWindowId, kSuperBtn1, kBkColorOut, -1)), kSystemFaceColour);
    ExitProgram(0);
    qelvane::testing::ResetRuntime();
}

TEST_F(SuperBtnBlockTest, NewerVersionBuildsNoWindowAndLeavesNothingBehind) {
    std::optional<FormDescription> form = DecodeForm(StoredFormBytes(), kCountingRoutines);
    ASSERT_TRUE(form);
    WindowTemplate& t = form->windows[0];
    t.components[1].newerBlock = WriteBlock(std::get<SuperBtnProps>(t.components[1].settings), 3);
    ASSERT_EQ(t.components[1].id, kSuperBtn1);
    const int windows = LiveHandles(HandleKind::Window), bitmaps = LiveHandles(HandleKind::Bitmap),
              fonts = LiveHandles(HandleKind::Font);
    EXPECT_EQ(FormWindow::Build(t, RuntimeWindowEvents()), nullptr);
    EXPECT_EQ(LiveHandles(HandleKind::Window), windows);
    EXPECT_EQ(LiveHandles(HandleKind::Bitmap), bitmaps);
    EXPECT_EQ(LiveHandles(HandleKind::Font), fonts);
}

}  // namespace
}  // namespace qelvane::wintest
