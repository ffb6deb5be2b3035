// The image buttons' geometry and colour decisions: picture placement per
// AlignStyle, press offsets, the colour shift and the picture chosen per state.
#include <gtest/gtest.h>

#include "ui/components/SuperBtnLayout.h"

namespace qelvane::superbtn {
namespace {

struct PlacementCase {
    std::int32_t align;
    bool caption;
    Placement want;
};

TEST(SuperBtnLayout, PicturePlacementFollowsTheTable) {
    // A 100 x 40 button with a 20 x 11 picture.
    const Box item{0, 0, 100, 40};
    const PlacementCase cases[] = {
        {0, true, {3, 14, {23, 0, 100, 40}}},
        {0, false, {40, 14, item}},
        {1, true, {40, 3, {0, 11, 100, 40}}},
        {1, false, {40, 14, item}},
        {2, true, {77, 14, {3, 0, 77, 40}}},
        {2, false, {40, 0, item}},
        {3, true, {0, 0, item}},
        {3, false, {0, 0, item}},
    };
    for (const PlacementCase& c : cases) {
        const Placement got = PlacePicture(c.align, c.caption, item, 100, 20, 11);
        EXPECT_EQ(got.x, c.want.x) << "align " << c.align << " caption " << c.caption;
        EXPECT_EQ(got.y, c.want.y) << "align " << c.align << " caption " << c.caption;
        EXPECT_EQ(got.caption, c.want.caption) << "align " << c.align << " caption " << c.caption;
    }
}

TEST(SuperBtnLayout, PlacementCountsFromTheItemRectangle) {
    // An item rectangle that does not start at 0 moves the centred and cornered
    // picture with it; "above" keeps its fixed 3 from the button's top.
    const Box item{5, 7, 105, 47};
    EXPECT_EQ(PlacePicture(0, false, item, 110, 20, 11).x, 45);
    EXPECT_EQ(PlacePicture(0, false, item, 110, 20, 11).y, 21);
    EXPECT_EQ(PlacePicture(0, true, item, 110, 20, 11).x, 8);
    EXPECT_EQ(PlacePicture(1, true, item, 110, 20, 11).y, 3);
    EXPECT_EQ(PlacePicture(3, true, item, 110, 20, 11).x, 5);
    EXPECT_EQ(PlacePicture(3, true, item, 110, 20, 11).y, 7);
    // Picture right: C.right loses the old C.left as well as the picture and margin.
    EXPECT_EQ(PlacePicture(2, true, item, 110, 20, 11).caption, (Box{3, 7, 77, 47}));
}

TEST(SuperBtnLayout, CentringTruncatesTowardsZero) {
    // The badge fills its button exactly; a picture larger than the button centres to a negative offset.
    const Placement badge = PlacePicture(0, false, {0, 0, 77, 22}, 77, 77, 22);
    EXPECT_EQ(badge.x, 0);
    EXPECT_EQ(badge.y, 0);
    const Placement big = PlacePicture(0, false, {0, 0, 10, 10}, 10, 13, 13);
    EXPECT_EQ(big.x, -1) << "(10 - 13) / 2 truncates to -1, not -2";
    EXPECT_EQ(PlacePicture(0, false, {0, 0, 10, 10}, 10, 7, 7).x, 1);
}

TEST(SuperBtnLayout, PressOffsets) {
    EXPECT_EQ(PressOffset(0), (Offset{1, 1}));
    EXPECT_EQ(PressOffset(1), (Offset{0, 2}));
}

TEST(SuperBtnLayout, ShiftColourClampsTheAmountNotEachChannel) {
    EXPECT_EQ(ShiftColour(0x00102030u, 32), 0x00304050u);
    // The largest channel reaches 255 and the others move by the same reduced amount.
    EXPECT_EQ(ShiftColour(0x00F0F0F0u, 32), 0x00FFFFFFu);
    EXPECT_EQ(ShiftColour(0x00F0C0A0u, 32), 0x00FFCFAFu);
    EXPECT_EQ(ShiftColour(0x00102030u, -32), 0x00001020u);
    EXPECT_EQ(ShiftColour(0x00FFFFFFu, 32), 0x00FFFFFFu);
    EXPECT_EQ(ShiftColour(0x00102030u, 0), 0x00102030u);
    EXPECT_EQ(ShiftColour(0x00102030u, 255), 0x00DFEFFFu);
    EXPECT_EQ(ShiftColour(0x00102030u, 256), 0x00102030u) << "beyond 255: unchanged";
    EXPECT_EQ(ShiftColour(0x00102030u, -256), 0x00102030u);
}

TEST(SuperBtnLayout, PictureChoicePerState) {
    using S = PictureSlot;
    const ButtonState normal{}, hot{false, true}, pressed{true}, disabled{false, false, true};
    const ButtonState checkedBox{true, true, false, true};
    EXPECT_EQ(ChoosePicture(normal, true, true, true), S::Out);
    EXPECT_EQ(ChoosePicture(hot, true, true, true), S::In);
    EXPECT_EQ(ChoosePicture(pressed, true, true, true), S::In);
    EXPECT_EQ(ChoosePicture(checkedBox, true, true, true), S::In) << "a check box shows in while down";
    EXPECT_EQ(ChoosePicture({false, true, false, true}, true, true, true), S::Out)
        << "a check box that is up shows out even when hot";
    EXPECT_EQ(ChoosePicture(disabled, true, true, true), S::Disabled);
    EXPECT_EQ(ChoosePicture(disabled, true, true, false), S::In);
    // Empty slots fall back between in and out.
    EXPECT_EQ(ChoosePicture(hot, true, false, false), S::Out);
    EXPECT_EQ(ChoosePicture(normal, false, true, false), S::In);
    EXPECT_EQ(ChoosePicture(disabled, true, false, false), S::Out);
    EXPECT_EQ(ChoosePicture(normal, false, false, false), std::nullopt);
    EXPECT_EQ(ChoosePicture(disabled, false, false, false), std::nullopt);
}

}  // namespace
}  // namespace qelvane::superbtn
