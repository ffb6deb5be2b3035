// The tab control's pages: user page changes with their events, CurrentPage
// writes without them, the page sync and its focus, header layout writes and
// the headerless container.
#include "tests/win/RadioTabEventLog.h"
#include "tests/win/Rendering.h"
#include "ui/form/Schema.h"

namespace qelvane::wintest {
namespace {

std::vector<RaisedEvent> EventsOf(std::uint32_t component) {
    std::vector<RaisedEvent> out;
    for (const RaisedEvent& e : raised)
        if (e.component == component) out.push_back(e);
    return out;
}

class TabPagesTest : public EventLogTest {
protected:
    void ExpectPageInFront(std::size_t front) const {
        for (std::size_t page = 0; page < kRadios.size(); ++page)
            for (std::uint32_t id : kRadios[page])
                EXPECT_EQ(IsWindowVisible(Native(id)) != 0, page == front) << "box 0x" << std::hex << id;
    }
};

// The tab control keeps its last painting for the radio boxes, which ask for what lies beneath
// them: after a page change has repainted its headers, what it hands out is what it shows.
TEST_F(TabPagesTest, WhatTheTabHandsItsBoxesIsWhatItShowsAfterAPageChange) {
    const HWND tab = Native(kTab);
    UpdateWindow(GetAncestor(tab, GA_ROOT));
    const Rendered before = PrintClient(tab);
    Set(kTab, prop::tab::kCurrentPage, 1);
    UpdateWindow(GetAncestor(tab, GA_ROOT));
    const Rendered handed = PrintClient(tab), shown = OnScreen(tab);
    ASSERT_EQ(handed.width, shown.width);
    int headerRowsChanged = 0;
    // The header strip, above the boxes (which lie over the rest on screen).
    for (int y = 0; y < 24; ++y) {
        bool changed = false;
        for (int x = 0; x < shown.width; ++x) {
            ASSERT_EQ(handed.At(x, y), shown.At(x, y)) << "at " << x << "," << y;
            changed = changed || before.At(x, y) != handed.At(x, y);
        }
        headerRowsChanged += changed;
    }
    EXPECT_GT(headerRowsChanged, 0) << "the page change showed nowhere in the headers";
}

TEST_F(TabPagesTest, HeaderClickChangesThePageWithItsEventsAndFocusesTheBottomBox) {
    ClickHeader(1);
    EXPECT_EQ(Get(kTab, prop::tab::kCurrentPage), 1);
    ExpectPageInFront(1);
    EXPECT_EQ(GetFocus(), Native(kRadios[1][3]));
    EXPECT_FALSE(Checked(kRadios[1][3])) << "the focus does not check it";

    const std::vector<RaisedEvent> tab = EventsOf(kTab);
    ASSERT_EQ(tab.size(), 3u);
    const auto at = [&](std::int32_t event) {
        return std::find(raised.begin(), raised.end(), RaisedEvent{event, kTab}) - raised.begin();
    };
    EXPECT_LT(at(1), at(2)) << "about to change, then changed";
    EXPECT_LT(at(2), static_cast<std::ptrdiff_t>(raised.size()));
    EXPECT_LT(at(0), static_cast<std::ptrdiff_t>(raised.size())) << "the click itself";
    // The new page's box gains the focus only after event 2.
    const auto gained = std::find(raised.begin(), raised.end(), RaisedEvent{-7, kRadios[1][3]}) - raised.begin();
    EXPECT_LT(at(2), gained);
    EXPECT_TRUE(std::none_of(raised.begin(), raised.end(), [](const RaisedEvent& e) { return e.event == 0 && e.component != kTab; }));
}

TEST_F(TabPagesTest, ClickOnThePageInFrontChangesNothing) {
    ClickHeader(0);
    EXPECT_EQ(Get(kTab, prop::tab::kCurrentPage), 0);
    EXPECT_EQ(EventsOf(kTab), (std::vector<RaisedEvent>{{0, kTab}}));
    ExpectPageInFront(0);
}

TEST_F(TabPagesTest, EachPageKeepsItsCheckAndFocusGoesToItsBottomBox) {
    ClickHeader(2);
    EXPECT_EQ(GetFocus(), Native(kRadios[2][3]));
    ClickHeader(0);
    EXPECT_EQ(GetFocus(), Native(kRadios[0][3]));
    ExpectPageInFront(0);
    ExpectCheckedExactly({kRadios[0][1]});
}

TEST_F(TabPagesTest, ArrowKeysOnTheTabControlChangeThePage) {
    SetFocus(Native(kTab));
    raised.clear();
    EXPECT_FALSE(PressKey(VK_RIGHT)) << "the tab control handles its own arrows";
    Pump();
    EXPECT_EQ(Get(kTab, prop::tab::kCurrentPage), 1);
    ExpectPageInFront(1);
    EXPECT_EQ(GetFocus(), Native(kRadios[1][3]));
    const std::vector<RaisedEvent> tab = EventsOf(kTab);
    EXPECT_EQ(tab, (std::vector<RaisedEvent>{{1, kTab}, {2, kTab}}));
}

TEST_F(TabPagesTest, CurrentPageWritesClampSelectAndRaiseNoPageEvents) {
    Set(kTab, prop::tab::kCurrentPage, 5);
    EXPECT_EQ(Get(kTab, prop::tab::kCurrentPage), 2);
    ExpectPageInFront(2);
    EXPECT_EQ(GetFocus(), Native(kRadios[2][3]));
    Set(kTab, prop::tab::kCurrentPage, -1);
    EXPECT_EQ(Get(kTab, prop::tab::kCurrentPage), 0);
    ExpectPageInFront(0);
    EXPECT_EQ(GetFocus(), Native(kRadios[0][3]));
    EXPECT_EQ(EventsOf(kTab), std::vector<RaisedEvent>{});
    ExpectCheckedExactly({kRadios[0][1]});
}

TEST_F(TabPagesTest, PageSyncFocusSkipsABoxLeftHidden) {
    Set(kRadios[1][3], prop::kVisible, 0);
    ClickHeader(1);
    EXPECT_FALSE(IsWindowVisible(Native(kRadios[1][3])));
    EXPECT_EQ(GetFocus(), Native(kRadios[1][2])) << "next in the page's list";
    Set(kRadios[1][2], prop::kDisable, 1);
    Set(kTab, prop::tab::kCurrentPage, 0);
    Set(kTab, prop::tab::kCurrentPage, 1);
    EXPECT_EQ(GetFocus(), Native(kRadios[1][1])) << "a disabled box is skipped too";
}

TEST_F(TabPagesTest, TabOrderOnPageTwo) {
    Set(kTab, prop::tab::kCurrentPage, 2);
    SetFocus(Native(kButton));
    const std::uint32_t order[] = {kRadios[2][0], kRadios[2][1], kRadios[2][2], kRadios[2][3], kSuperBtn1, kSuperBtn2,
                                   kButton};
    for (std::uint32_t id : order) {
        EXPECT_TRUE(PressKey(VK_TAB));
        EXPECT_EQ(GetFocus(), Native(id)) << std::hex << id;
    }
    PressKey(VK_TAB);
    PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), Native(kButton));
    PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), Native(kSuperBtn2));
    ExpectCheckedExactly({kRadios[0][1]});
}

TEST_F(TabPagesTest, HeaderLayoutWritesChangeTheStyleInPlaceOrRebuildForTheRight) {
    HWND before = Native(kTab);
    Set(kTab, prop::tab::kHeaderPos, 1);
    EXPECT_TRUE(GetWindowLongW(Native(kTab), GWL_STYLE) & TCS_BOTTOM);
    Set(kTab, prop::tab::kHeaderPos, 2);
    Set(kTab, prop::tab::kMultiLine, 1);
    Pump();
    const LONG vertical = GetWindowLongW(Native(kTab), GWL_STYLE);
    EXPECT_EQ(vertical & (TCS_BOTTOM | TCS_VERTICAL | TCS_RIGHT), TCS_VERTICAL);
    EXPECT_TRUE(vertical & TCS_MULTILINE);
    EXPECT_EQ(Native(kTab), before) << "changed in place";

    Set(kTab, prop::tab::kCurrentPage, 1);
    Set(kTab, prop::tab::kHeaderPos, 7);
    Pump();
    EXPECT_EQ(Get(kTab, prop::tab::kHeaderPos), 3) << "clamped";
    HWND after = Native(kTab);
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before) << "rebuilt";
    EXPECT_EQ(GetWindowLongW(after, GWL_STYLE) & (TCS_VERTICAL | TCS_RIGHT), TCS_VERTICAL | TCS_RIGHT);
    EXPECT_EQ(Get(kTab, prop::tab::kCurrentPage), 1) << "the page in front survives";
    EXPECT_EQ(SendMessageW(after, TCM_GETITEMCOUNT, 0, 0), 3);
    for (const auto& page : kRadios)
        for (std::uint32_t id : page) EXPECT_EQ(GetParent(Native(id)), after);
    ExpectPageInFront(1);
    ExpectCheckedExactly({kRadios[0][1]});
}

TEST_F(TabPagesTest, RebuildWithFewerPagesShowsThePageNowInFront) {
    Set(kTab, prop::tab::kCurrentPage, 2);
    Pump();
    ExpectPageInFront(2);
    const Bytes one = WritePageCaptions({Text("一页")});
    const ByteBlockRef block{one.data(), static_cast<std::uint32_t>(one.size())};
    SetProperty(kMainWindowId, kTab, prop::tab::kPageCaptions, -1, reinterpret_cast<std::uintptr_t>(&block));
    Pump();
    ASSERT_EQ(Get(kTab, prop::tab::kCurrentPage), 0);
    ExpectPageInFront(0);
}

TEST_F(TabPagesTest, EmptyCaptionListLeavesOnePage) {
    const Bytes none = WritePageCaptions({});
    const ByteBlockRef block{none.data(), static_cast<std::uint32_t>(none.size())};
    SetProperty(kMainWindowId, kTab, prop::tab::kPageCaptions, -1, reinterpret_cast<std::uintptr_t>(&block));
    Pump();
    EXPECT_EQ(SendMessageW(Native(kTab), TCM_GETITEMCOUNT, 0, 0), 1);
    Set(kTab, prop::tab::kCurrentPage, 2);
    EXPECT_EQ(Get(kTab, prop::tab::kCurrentPage), 0);
}

// The same form with the tab control built as a headerless container.
class HeaderlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::optional<FormDescription> form = DecodeForm(StoredFormBytes(), kCountingRoutines);
        ASSERT_TRUE(form);
        for (ComponentEntry& e : form->windows[0].components)
            if (e.id == kTab) {
                auto& p = std::get<TabProps>(e.settings);
                p.hideHeader = 1;
                p.backColor = 0x0000FFu;
            }
        window_ = OpenMainWindow(EncodeForm(*form), kCountingRoutines);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        ExitProgram(0);
        testing::ResetRuntime();
    }
    HWND Native(std::uint32_t id) const { return window_->Slot(id)->object->Hwnd(); }

    FormWindow* window_ = nullptr;
};

TEST_F(HeaderlessTest, PagesChangeOnlyByWritesAndTheFocusStays) {
    HWND tab = Native(kTab);
    EXPECT_NE(ClassOf(tab), L"SysTabControl32");
    EXPECT_EQ(GetProperty(kMainWindowId, kTab, prop::tab::kCurrentPage, -1), 0u);
    EXPECT_TRUE(IsWindowVisible(Native(kRadios[0][0])));
    EXPECT_FALSE(IsWindowVisible(Native(kRadios[1][0])));

    SetFocus(Native(kButton));
    SetProperty(kMainWindowId, kTab, prop::tab::kCurrentPage, -1, 9);
    EXPECT_EQ(GetProperty(kMainWindowId, kTab, prop::tab::kCurrentPage, -1), 2u);
    EXPECT_TRUE(IsWindowVisible(Native(kRadios[2][0])));
    EXPECT_FALSE(IsWindowVisible(Native(kRadios[0][0])));
    EXPECT_EQ(GetFocus(), Native(kButton)) << "no focus move without headers";
}

TEST_F(HeaderlessTest, FillsItsBackgroundWithBackColor) {
    const Rendered r = PrintClient(Native(kTab));
    EXPECT_EQ(r.At(r.width - 2, r.height - 2), RGB(255, 0, 0));
    EXPECT_EQ(r.At(2, 2), RGB(255, 0, 0));
}

TEST_F(HeaderlessTest, BackColorWriteRepaintsAtOnce) {
    HWND tab = Native(kTab);
    UpdateWindow(tab);
    SetProperty(kMainWindowId, kTab, 8 + 7, -1, 0x00FF00u);  // BackColor: green
    Pump();
    HDC dc = GetDC(tab);
    const COLORREF shown = GetPixel(dc, 2, 2);
    ReleaseDC(tab, dc);
    EXPECT_EQ(shown, RGB(0, 255, 0)) << std::hex << shown;
}

}  // namespace
}  // namespace qelvane::wintest
