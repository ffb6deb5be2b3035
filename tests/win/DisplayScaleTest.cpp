// MainWindow built at 144 DPI: every rectangle scaled from the form by its edges, the stored
// fonts with it, and the properties still in form units.
#include <algorithm>
#include <cmath>

#include "tests/win/SuperBtnSupport.h"
#include "tests/win/WinTestSupport.h"
#include "ui/system/DisplayScale.h"
#include "ui/form/LogFont.h"
#include "ui/pictures/Picture.h"

namespace qelvane::wintest {
namespace {

constexpr int kDpi = 144;

class ScaledWindowTest : public OpenWindowTest {
protected:
    void SetUp() override {
        testing::SetDisplayDpi(kDpi);
        window_ = OpenMainWindow(StoredFormBytes(), kCountingRoutines);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        OpenWindowTest::TearDown();
        testing::SetDisplayDpi(0);
    }
    const DisplayScale scale_{kDpi};
};

TEST_F(ScaledWindowTest, EveryRectangleIsTheFormsScaledWithinOnePixel) {
    RECT outer;
    GetWindowRect(Main(), &outer);
    EXPECT_EQ(outer.right - outer.left, scale_.ToDevice(495));
    EXPECT_EQ(outer.bottom - outer.top, scale_.ToDevice(398));
    for (const ComponentSlot& slot : window_->Slots()) {
        SCOPED_TRACE(slot.entry.name);
        const ComponentEntry& e = slot.entry;
        const RECT r = RectInParent(Native(e.id));
        EXPECT_EQ(DisplayScale::Box({r.left, r.top, r.right - r.left, r.bottom - r.top}),
                  scale_.ToDevice(DisplayScale::Box{e.left, e.top, e.width, e.height}));
        EXPECT_LE(std::abs((r.right - r.left) - e.width * 1.5), 1.0);
        EXPECT_LE(std::abs((r.bottom - r.top) - e.height * 1.5), 1.0);
    }
}

TEST_F(ScaledWindowTest, PropertiesStayInFormUnits) {
    EXPECT_EQ(Get(kButton, prop::kLeft), 16);
    EXPECT_EQ(Get(kButton, prop::kTop), 300);
    EXPECT_EQ(Get(kButton, prop::kWidth), 168);
    EXPECT_EQ(Get(kButton, prop::kHeight), 56);
    Set(kButton, prop::kLeft, 21);
    EXPECT_EQ(RectInParent(Native(kButton)).left, 32) << "21 x 1.5, rounded";
    EXPECT_EQ(Get(kButton, prop::kLeft), 21);
    EXPECT_EQ(Get(kButton, prop::kWidth), 168) << "the width is kept through a move";
}

TEST_F(ScaledWindowTest, StoredFontsAreScaled) {
    const TypeSettings settings = window_->Slot(kSuperBtn2)->object->Settings();
    const auto stored = ParseLogFont(std::get<SuperBtnProps>(settings).font);
    ASSERT_TRUE(stored);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(Native(kSuperBtn2), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ASSERT_TRUE(font && GetObjectW(font, sizeof lf, &lf));
    EXPECT_EQ(lf.lfHeight, scale_.ToDevice(stored->height));
}

TEST_F(ScaledWindowTest, TheBadgeIsDrawnFromItsSourceAtTheScaledSize) {
    const auto* ref = reinterpret_cast<const ByteBlockRef*>(
        static_cast<std::uintptr_t>(GetProperty(kMainWindowId, kSuperBtn1, prop::superbtn::kPicOut, -1)));
    ASSERT_TRUE(ref && ref->data);
    const auto badge = DecodePicture(ref->data, ref->size);
    ASSERT_TRUE(badge);
    auto source = [&](int x, int y) {
        const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(badge->width) +
                               static_cast<std::size_t>(x)) * 4;
        return RGB(badge->bgra[i + 2], badge->bgra[i + 1], badge->bgra[i]);
    };
    const COLORREF key = source(0, 0);

    // 77 x 22 at 96 DPI, filled by its badge: 116 x 33 here, filled by the badge drawn 1.5 times.
    const Rendered r = Render(Native(kSuperBtn1), 0);
    ASSERT_LE(std::abs(r.width - badge->width * 1.5), 1.0);
    ASSERT_LE(std::abs(r.height - badge->height * 1.5), 1.0);
    // Each pixel lies between the four source pixels around its centre, channel by channel, or
    // shows the face where all four are clear: the picture is the source, smoothed, in place.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int checked = 0, wrong = 0;
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            ASSERT_NE(r.At(x, y), kSentinel) << x << "," << y << " left unpainted";
            // The picture is made at the scaled size of its own, whatever the button's edges did.
            const double fx = static_cast<double>(badge->width) / scale_.ToDevice(badge->width);
            const double fy = static_cast<double>(badge->height) / scale_.ToDevice(badge->height);
            const int sx = std::clamp(static_cast<int>(std::floor((x + 0.5) * fx - 0.5)), 0, badge->width - 2);
            const int sy = std::clamp(static_cast<int>(std::floor((y + 0.5) * fy - 0.5)), 0, badge->height - 2);
            const COLORREF around[4] = {source(sx, sy), source(sx + 1, sy), source(sx, sy + 1), source(sx + 1, sy + 1)};
            const int clear = static_cast<int>(std::count(std::begin(around), std::end(around), key));
            if (clear == 4) {
                if (r.At(x, y) != face && wrong++ < 5) ADD_FAILURE() << x << "," << y << " should show the face";
                continue;
            }
            if (clear > 0) continue;  // an edge: either may win
            ++checked;
            for (int shift : {0, 8, 16}) {
                int lo = 255, hi = 0;
                for (COLORREF c : around) {
                    lo = std::min(lo, static_cast<int>((c >> shift) & 0xFF));
                    hi = std::max(hi, static_cast<int>((c >> shift) & 0xFF));
                }
                const int got = static_cast<int>((r.At(x, y) >> shift) & 0xFF);
                if ((got < lo - 1 || got > hi + 1) && wrong++ < 5)
                    ADD_FAILURE() << x << "," << y << " is " << std::hex << r.At(x, y) << ", outside its source";
            }
        }
    EXPECT_GT(checked, r.width * r.height / 2);
    EXPECT_EQ(wrong, 0);
}

// The window moved to a monitor of another scale, as WM_DPICHANGED tells a per-monitor aware
// program: built again at the new scale where the system suggests, with its state kept.
using RescaleTest = MainWindowTest;

TEST_F(RescaleTest, AMonitorOfAnotherScaleRebuildsTheWindowAndKeepsItsState) {
    std::vector<RECT> at96;
    for (const ComponentSlot& slot : window_->Slots()) at96.push_back(RectInParent(Native(slot.entry.id)));
    Set(kTab, prop::tab::kCurrentPage, 1);
    Set(kRadios[1][2], prop::radio::kChecked, 1);
    SetText(kLabel, prop::label::kCaption, "价格：9元");
    SetFocus(Native(kButton));
    ASSERT_EQ(Get(kRadios[1][2], prop::radio::kChecked), 1);

    RECT suggested{200, 100, 200 + 743, 100 + 597};
    SendMessageW(Main(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT outer;
    GetWindowRect(Main(), &outer);
    EXPECT_EQ(outer.left, 200);
    EXPECT_EQ(outer.right - outer.left, 743) << "where and how large the system suggests";

    const DisplayScale scale{144};
    for (const ComponentSlot& slot : window_->Slots()) {
        SCOPED_TRACE(slot.entry.name);
        const RECT r = RectInParent(Native(slot.entry.id));
        EXPECT_EQ(DisplayScale::Box({r.left, r.top, r.right - r.left, r.bottom - r.top}),
                  scale.ToDevice(DisplayScale::Box{slot.entry.left, slot.entry.top, slot.entry.width, slot.entry.height}));
    }
    EXPECT_EQ(Get(kButton, prop::kWidth), 168) << "properties stay in form units";
    EXPECT_EQ(Get(kTab, prop::tab::kCurrentPage), 1);
    EXPECT_TRUE(IsWindowVisible(Native(kRadios[1][2])));
    EXPECT_EQ(Get(kRadios[1][2], prop::radio::kChecked), 1);
    EXPECT_EQ(GetText(kLabel, prop::label::kCaption), "价格：9元");
    EXPECT_EQ(GetFocus(), Native(kButton));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(Native(kSuperBtn2), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ASSERT_TRUE(font && GetObjectW(font, sizeof lf, &lf));
    const auto stored = ParseLogFont(std::get<SuperBtnProps>(window_->Slot(kSuperBtn2)->object->Settings()).font);
    ASSERT_TRUE(stored);
    EXPECT_EQ(lf.lfHeight, scale.ToDevice(stored->height));

    // And back: every rectangle where it was.
    SendMessageW(Main(), 0x02E0, MAKEWPARAM(96, 96), 0);
    std::size_t i = 0;
    for (const ComponentSlot& slot : window_->Slots()) {
        SCOPED_TRACE(slot.entry.name);
        const RECT r = RectInParent(Native(slot.entry.id));
        EXPECT_TRUE(EqualRect(&r, &at96[i++]));
    }
    GetWindowRect(Main(), &outer);
    EXPECT_EQ(outer.right - outer.left, 495);
    EXPECT_EQ(outer.bottom - outer.top, 398);
}

}  // namespace
}  // namespace qelvane::wintest
