// MainWindow built at 144 DPI: every rectangle scaled from the form by its edges, the stored
// fonts with it, and the properties still in form units.
#include <cmath>

#include "tests/win/WinTestSupport.h"
#include "ui/DisplayScale.h"
#include "ui/LogFont.h"

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

}  // namespace
}  // namespace qelvane::wintest
