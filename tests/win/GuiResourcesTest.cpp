// The whole window under long use: the process's GDI objects and windows do not grow
// over many caption sets, hover cycles of both image buttons, page changes and picture
// replacements.
#include <windows.h>

#include <vector>

#include "tests/win/GuiObjects.h"
#include "tests/win/SuperBtnSupport.h"
#include "tests/win/WinTestSupport.h"
#include "ui/components/Component.h"

namespace qelvane::wintest {
namespace {

using prop::label::kCaption, prop::tab::kCurrentPage, prop::picbox::kPicture, prop::superbtn::kPicOut;

std::vector<std::uint8_t> BlockOf(std::uint32_t id, std::int32_t number) {
    const auto* ref = reinterpret_cast<const ByteBlockRef*>(
        static_cast<std::uintptr_t>(GetProperty(kMainWindowId, id, number, -1)));
    if (!ref || !ref->data) return {};
    return {ref->data, ref->data + ref->size};
}

struct GuiCounts {
    int gdi;
    int user;
    static GuiCounts Now() { return {qelvane::testing::CountGdiObjects(), qelvane::testing::CountUserObjects()}; }
};

class GuiResourcesTest : public MainWindowTest {
protected:
    void SetUp() override {
        ParkPointer();
        MainWindowTest::SetUp();
        // Everything made once on first use (tooltips, the label's first paint) exists from here on.
        for (std::uint32_t id : {kSuperBtn1, kSuperBtn2}) {
            HoverOver(Native(id));
            SendMessageW(Native(id), WM_MOUSELEAVE, 0, 0);
        }
        ParkPointer();
        SetText(kLabel, kCaption, "价格：");
        Set(kTab, kCurrentPage, 1);
        Set(kTab, kCurrentPage, 0);
        qr_ = BlockOf(kPicBox, kPicture);
        badge_ = BlockOf(kSuperBtn1, kPicOut);
        ASSERT_FALSE(qr_.empty());
        ASSERT_FALSE(badge_.empty());
        SetPicture(badge_);
        SetPicture(qr_);
        Settle();
        start_ = GuiCounts::Now();
        ASSERT_GT(start_.gdi, 0);
        ASSERT_GT(start_.user, 0);
    }
    void SetPicture(const std::vector<std::uint8_t>& bytes) const {
        ByteBlockRef ref{bytes.data(), static_cast<std::uint32_t>(bytes.size())};
        SetProperty(kMainWindowId, kPicBox, kPicture, -1, reinterpret_cast<std::uintptr_t>(&ref));
    }
    void Settle() {
        RedrawWindow(Main(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump();
    }
    void ExpectNoGrowth(const char* after) {
        Settle();
        const GuiCounts now = GuiCounts::Now();
        EXPECT_EQ(now.gdi, start_.gdi) << "GDI objects after " << after;
        EXPECT_EQ(now.user, start_.user) << "windows after " << after;
    }
    GuiCounts start_{};
    std::vector<std::uint8_t> qr_, badge_;  // the JPEG and the PNG the form carries
};

// The counts are compared exactly, so one object lost per set shows after the first. Two
// hundred sets also pass, many times over, every cache whose eviction could lose one: ours
// hold one object each (the tab's painted page, each button state's bitmap), and Wine's font
// cache keeps ten unused fonts. A thousand found nothing more, at five times the cost under
// emulation.
constexpr int kRepeats = 200;
TEST_F(GuiResourcesTest, ManyLabelCaptionSets) {
    for (int i = 0; i < kRepeats; ++i)
        SetText(kLabel, kCaption, i % 2 ? "价格：30元一百个微信真人粉丝" : "价格：");
    ExpectNoGrowth("the caption sets");
}

TEST_F(GuiResourcesTest, ManyHoverCyclesOfBothImageButtons) {
    for (int i = 0; i < kRepeats; ++i) {
        for (std::uint32_t id : {kSuperBtn1, kSuperBtn2}) {
            HWND h = Native(id);
            HoverOver(h);
            UpdateWindow(h);
            SendMessageW(h, WM_MOUSELEAVE, 0, 0);
            UpdateWindow(h);
        }
    }
    ParkPointer();
    ExpectNoGrowth("the hover cycles of each image button");
}

TEST_F(GuiResourcesTest, ManyPageChanges) {
    for (int i = 0; i < kRepeats; ++i) Set(kTab, kCurrentPage, i % 3);
    Set(kTab, kCurrentPage, 0);
    ExpectNoGrowth("the page changes");
}

TEST_F(GuiResourcesTest, ManyPictureReplacements) {
    for (int i = 0; i < kRepeats; ++i) {
        SetPicture(i % 2 ? badge_ : qr_);
        if (i % 20 == 0) UpdateWindow(Native(kPicBox));
    }
    SetPicture(qr_);
    ExpectNoGrowth("the picture replacements");
}

}  // namespace
}  // namespace qelvane::wintest
