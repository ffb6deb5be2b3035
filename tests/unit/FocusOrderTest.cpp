#include "ui/window/FocusOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Identifiers.h"
#include "tests/unit/FormLayout.h"

namespace qelvane {
namespace {

using testing::IndexOf;
using testing::NameOf;

std::vector<FocusCandidate> WithPageInFront(int front) {
    return testing::WithPageInFront(front, [](const testing::Layout& l, bool inView) {
        return FocusCandidate{0, inView, true, l.tabStop, l.canFocus};
    });
}


// Walks Tab (or Shift+Tab) from `start` for `steps` presses.
std::vector<std::string> Walk(const std::vector<FocusCandidate>& c, const std::string& start,
                              int steps, bool backwards) {
    std::vector<std::string> seen;
    std::optional<std::size_t> at = IndexOf(start);
    for (int i = 0; i < steps; ++i) {
        at = NextInTabOrder(c, at, backwards);
        if (!at) break;
        seen.push_back(NameOf(at));
    }
    return seen;
}

TEST(FocusOrder, WholeSequenceIsReverseFormOrderWhenAllOrdersAreEqual) {
    const auto c = WithPageInFront(0);
    const auto seq = FocusSequence(c);
    ASSERT_EQ(seq.size(), testing::FormLayout().size());
    for (std::size_t i = 0; i < seq.size(); ++i) EXPECT_EQ(seq[i], testing::FormLayout().size() - 1 - i);
}

TEST(FocusOrder, TabCyclesPerPage) {
    EXPECT_EQ(Walk(WithPageInFront(0), "单选框1", 7, false),
              (std::vector<std::string>{"单选框2", "单选框3", "单选框4", "按钮1", "超级按钮1",
                                        "超级按钮2", "单选框1"}));
    EXPECT_EQ(Walk(WithPageInFront(1), "按钮1", 7, false),
              (std::vector<std::string>{"单选框5", "单选框6", "单选框7", "单选框8", "超级按钮1",
                                        "超级按钮2", "按钮1"}));
    EXPECT_EQ(Walk(WithPageInFront(2), "按钮1", 7, false),
              (std::vector<std::string>{"单选框9", "单选框10", "单选框11", "单选框12", "超级按钮1",
                                        "超级按钮2", "按钮1"}));
}

TEST(FocusOrder, ShiftTabIsTheReverseWalk) {
    EXPECT_EQ(Walk(WithPageInFront(0), "单选框1", 3, true),
              (std::vector<std::string>{"超级按钮2", "超级按钮1", "按钮1"}));
    EXPECT_EQ(Walk(WithPageInFront(1), "单选框5", 2, true),
              (std::vector<std::string>{"按钮1", "超级按钮2"}));
}

TEST(FocusOrder, NonParticipantsMoveToTheirNeighbourInTheSequence) {
    const auto c = WithPageInFront(0);
    // The tab control stands first in the sequence.
    EXPECT_EQ(*NextInTabOrder(c, IndexOf("选择夹"), false), IndexOf("单选框1"));
    EXPECT_EQ(*NextInTabOrder(c, IndexOf("选择夹"), true), IndexOf("超级按钮2"));
    // The label stands between 按钮1 and 单选框5 in the sequence.
    EXPECT_EQ(*NextInTabOrder(c, IndexOf("透明标签_价格"), false), IndexOf("超级按钮1"));
    EXPECT_EQ(*NextInTabOrder(c, IndexOf("透明标签_价格"), true), IndexOf("按钮1"));
    // A radio box of a hidden page moves on within the sequence.
    EXPECT_EQ(*NextInTabOrder(c, IndexOf("单选框8"), false), IndexOf("超级按钮1"));
}

TEST(FocusOrder, NothingFocusedStartsAtTheEnds) {
    const auto c = WithPageInFront(0);
    EXPECT_EQ(*NextInTabOrder(c, std::nullopt, false), IndexOf("单选框1"));
    EXPECT_EQ(*NextInTabOrder(c, std::nullopt, true), IndexOf("超级按钮2"));
    EXPECT_EQ(*FirstInTabOrder(c), IndexOf("单选框1"));
    EXPECT_EQ(*FirstInTabOrder(WithPageInFront(2)), IndexOf("按钮1"));
}

TEST(FocusOrder, LabelPictureAndTabAreNeverReached) {
    for (int page = 0; page < 3; ++page) {
        const auto c = WithPageInFront(page);
        const auto seen = Walk(c, "按钮1", 20, false);
        for (const char* never : {"透明标签_价格", "图片框1", "选择夹"})
            EXPECT_EQ(std::count(seen.begin(), seen.end(), never), 0) << never;
    }
}

TEST(FocusOrder, FocusOrderValuesComeFirstAndDisabledOrHiddenAreSkipped) {
    auto c = WithPageInFront(0);
    c[IndexOf("超级按钮2")].focusOrder = -1;
    c[IndexOf("单选框2")].enabled = false;
    EXPECT_EQ(*FirstInTabOrder(c), IndexOf("超级按钮2"));
    EXPECT_EQ(Walk(c, "超级按钮2", 3, false),
              (std::vector<std::string>{"单选框1", "单选框3", "单选框4"}));
    c[IndexOf("单选框3")].visible = false;
    EXPECT_EQ(*NextInTabOrder(c, IndexOf("单选框1"), false), IndexOf("单选框4"));
}

TEST(FocusOrder, NoParticipants) {
    std::vector<FocusCandidate> none(3);
    EXPECT_FALSE(FirstInTabOrder(none).has_value());
    EXPECT_FALSE(NextInTabOrder(none, 1, false).has_value());
    EXPECT_FALSE(NextInTabOrder({}, std::nullopt, true).has_value());
}

TEST(FocusOrder, LoneParticipantKeepsTheFocus) {
    std::vector<FocusCandidate> one(3);
    one[1] = {0, true, true, true, true};
    EXPECT_EQ(*NextInTabOrder(one, 1, false), 1u);
    EXPECT_EQ(*NextInTabOrder(one, 1, true), 1u);
}

}  // namespace
}  // namespace qelvane
