// The image buttons' geometry and colour decisions: picture placement per
// AlignStyle, press offsets, the colour shift and the picture chosen per state.
#include <gtest/gtest.h>

#include "ui/pictures/PictureScale.h"
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

TEST(SuperBtnLayout, PressOffsetsAndMarginGrowWithTheDisplayScale) {
    EXPECT_EQ(PressOffset(0), (Offset{1, 1}));
    EXPECT_EQ(PressOffset(1), (Offset{0, 2}));
    EXPECT_EQ(PressOffset(0, DisplayScale{144}), (Offset{2, 2})) << "1.5 rounds away from zero";
    EXPECT_EQ(PressOffset(1, DisplayScale{144}), (Offset{0, 3}));
    EXPECT_EQ(PressOffset(1, DisplayScale{192}), (Offset{0, 4}));
    // Picture right of the caption in a 200 x 80 button at 200 %: a 6-pixel margin on both sides.
    const Placement right = PlacePicture(2, true, {0, 0, 200, 80}, 200, 40, 22, 6);
    EXPECT_EQ(right.x, 154);
    EXPECT_EQ(right.caption, (Box{6, 0, 154, 80}));
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

namespace qelvane {
namespace {

KeyedPixels Keyed(int w, int h, std::vector<std::uint32_t> colours, std::vector<std::uint8_t> clear) {
    return {w, h, std::move(colours), std::move(clear)};
}

TEST(ResampleKeyed, TheKeyNeverBleedsIntoTheOpaqueEdge) {
    // Red beside a clear pixel (its colour already zeroed), scaled 2x: the red half stays pure
    // red, the clear half stays clear, and nothing between turns dark.
    const KeyedPixels out = ResampleKeyed(Keyed(2, 1, {0xFF0000, 0}, {0, 1}), 4, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * 4 + x);
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(out.clear[i], x >= 2 ? 1 : 0);
            EXPECT_EQ(out.colours[i], x >= 2 ? 0u : 0xFF0000u);
        }
}

TEST(ResampleKeyed, OpaqueNeighboursBlendSmoothly) {
    // Black and white side by side at 150 %: the middle of three pixels is a grey between them.
    const KeyedPixels out = ResampleKeyed(Keyed(2, 1, {0x000000, 0xFFFFFF}, {0, 0}), 3, 1);
    EXPECT_EQ(out.colours[0], 0x000000u);
    EXPECT_EQ(out.colours[2], 0xFFFFFFu);
    EXPECT_EQ(out.colours[1], 0x808080u);
    EXPECT_EQ(out.clear, (std::vector<std::uint8_t>{0, 0, 0}));
}

TEST(ResampleKeyed, TheSameSizeIsACopyAndNothingComesOfNothing) {
    const KeyedPixels in = Keyed(3, 2, {1, 2, 0, 4, 5, 6}, {0, 0, 1, 0, 0, 0});
    const KeyedPixels same = ResampleKeyed(in, 3, 2);
    EXPECT_EQ(same.colours, in.colours);
    EXPECT_EQ(same.clear, in.clear);
    EXPECT_TRUE(ResampleKeyed(in, 0, 5).colours.empty());
    const KeyedPixels fromEmpty = ResampleKeyed(Keyed(0, 0, {}, {}), 2, 2);
    EXPECT_EQ(fromEmpty.clear, (std::vector<std::uint8_t>{1, 1, 1, 1}));
}

}  // namespace
}  // namespace qelvane
