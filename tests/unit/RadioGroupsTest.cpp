#include "ui/window/RadioGroups.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Identifiers.h"
#include "tests/unit/FormLayout.h"

namespace qelvane {
namespace {

using testing::IndexOf;
using testing::NameOf;

std::vector<RadioMember> WithPageInFront(int front) {
    return testing::WithPageInFront(front, [](const testing::Layout& l, bool inView) {
        return RadioMember{l.radio, l.page < 0 ? 0u : kTabId, 0, inView, true, true};
    });
}

std::vector<std::string> Names(const std::vector<std::size_t>& indices) {
    std::vector<std::string> out;
    for (std::size_t i : indices) out.push_back(NameOf(i));
    return out;
}

// Presses an arrow `steps` times from `start`, following the check.
std::vector<std::string> Walk(const std::vector<RadioMember>& c, const std::string& start, int steps, bool forward) {
    std::vector<std::string> seen;
    std::size_t at = IndexOf(start);
    for (int i = 0; i < steps; ++i) {
        const auto next = ArrowTarget(c, at, forward);
        seen.push_back(NameOf(next));
        if (!next) break;
        at = *next;
    }
    return seen;
}

using Names_ = std::vector<std::string>;

TEST(RadioArrows, WalkEachPageInFocusOrderAndWrapBothWays) {
    EXPECT_EQ(Walk(WithPageInFront(0), "单选框1", 4, true), (Names_{"单选框2", "单选框3", "单选框4", "单选框1"}));
    EXPECT_EQ(Walk(WithPageInFront(0), "单选框1", 4, false), (Names_{"单选框4", "单选框3", "单选框2", "单选框1"}));
    // 单选框8 sits early in the form but comes last on its page.
    EXPECT_EQ(Walk(WithPageInFront(1), "单选框5", 4, true), (Names_{"单选框6", "单选框7", "单选框8", "单选框5"}));
    EXPECT_EQ(Walk(WithPageInFront(2), "单选框12", 2, true), (Names_{"单选框9", "单选框10"}));
    EXPECT_EQ(Walk(WithPageInFront(2), "单选框9", 1, false), (Names_{"单选框12"}));
}

TEST(RadioArrows, SkipBoxesThatAreDisabledOrWithoutTabStopAndIgnoreOtherTypes) {
    auto c = WithPageInFront(0);
    c[IndexOf("单选框2")].enabled = false;
    c[IndexOf("单选框3")].tabStop = false;
    EXPECT_EQ(NameOf(ArrowTarget(c, IndexOf("单选框1"), true)), "单选框4");
    EXPECT_EQ(NameOf(ArrowTarget(c, IndexOf("单选框4"), false)), "单选框1");
    // The button shares the window with the image buttons but forms no group.
    EXPECT_EQ(ArrowTarget(c, IndexOf("按钮1"), true), std::nullopt);
}

TEST(RadioArrows, ALoneBoxGoesNowhere) {
    auto c = WithPageInFront(0);
    for (const char* other : {"单选框2", "单选框3", "单选框4"}) c[IndexOf(other)].visible = false;
    EXPECT_EQ(ArrowTarget(c, IndexOf("单选框1"), true), std::nullopt);
    EXPECT_EQ(ArrowTarget(c, IndexOf("单选框1"), false), std::nullopt);
}

TEST(RadioArrows, ABoxOnTheWindowIsAGroupOfItsOwn) {
    auto c = WithPageInFront(0);
    c[IndexOf("按钮1")].isRadio = true;  // as if a radio box stood on the window
    EXPECT_EQ(ArrowTarget(c, IndexOf("按钮1"), true), std::nullopt);
    EXPECT_EQ(UncheckedByClick(c, IndexOf("按钮1")), std::vector<std::size_t>{});
    EXPECT_EQ(Names(GroupOf(c, IndexOf("单选框1"))).size(), 12u) << "all twelve boxes of the tab control";
}

TEST(RadioClicks, UncheckOnlyTheOtherBoxesInView) {
    auto c = WithPageInFront(0);
    EXPECT_EQ(Names(UncheckedByClick(c, IndexOf("单选框3"))), (Names_{"单选框4", "单选框2", "单选框1"}));
    c[IndexOf("单选框1")].enabled = false;
    EXPECT_EQ(Names(UncheckedByClick(c, IndexOf("单选框3"))), (Names_{"单选框4", "单选框2"}));
    EXPECT_EQ(Names(UncheckedByClick(WithPageInFront(1), IndexOf("单选框6"))),
              (Names_{"单选框8", "单选框7", "单选框5"}))
        << "boxes of hidden pages keep their check";
}

}  // namespace
}  // namespace qelvane
