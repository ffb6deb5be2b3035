// The text colour a scheme calls for, measured as WCAG 2.1 does.
#include "ui/system/ColourContrast.h"

#include <gtest/gtest.h>

namespace qelvane {
namespace {

constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0x0000FF;

TEST(ColourContrast, MeasuresAsWcagDoes) {
    EXPECT_DOUBLE_EQ(RelativeLuminance(kWhite), 1.0);
    EXPECT_DOUBLE_EQ(RelativeLuminance(kBlack), 0.0);
    EXPECT_NEAR(RelativeLuminance(kRed), 0.2126, 1e-9) << "red is the low byte";
    EXPECT_DOUBLE_EQ(ContrastRatio(kBlack, kWhite), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(kWhite, kBlack), 21.0);
    EXPECT_NEAR(ContrastRatio(kRed, kBlack), 5.25, 0.01);
    EXPECT_NEAR(ContrastRatio(kRed, kWhite), 4.0, 0.01);
    EXPECT_NEAR(ContrastRatio(0x777777, kWhite), 4.48, 0.01);  // just below the measure
}

TEST(ColourContrast, TheFormsColoursGiveWayOnlyWhereTheyMust) {
    const SchemeColours light{false, 0xF0F0F0, kBlack};
    // A light face keeps every colour of the form, even red at 3.5 : 1.
    EXPECT_EQ(TextColourFor(kRed, light.face, light), kRed);
    EXPECT_EQ(TextColourFor(kBlack, light.face, light), kBlack);

    const SchemeColours dark{false, 0x202020, 0xE6E6E6};
    EXPECT_EQ(TextColourFor(kBlack, dark.face, dark), 0xE6E6E6u);
    EXPECT_EQ(TextColourFor(kRed, dark.face, dark), 0xE6E6E6u) << "4.1 : 1";
    EXPECT_EQ(TextColourFor(kRed, kBlack, dark), kRed) << "5.25 : 1 on black stays";
    EXPECT_EQ(TextColourFor(kBlack, kWhite, dark), kBlack) << "a light background of its own";
    // The scheme's text reads no better: the better of black and white.
    const SchemeColours murky{false, 0x303030, 0x404040};
    EXPECT_EQ(TextColourFor(kBlack, murky.face, murky), kWhite);
    EXPECT_EQ(TextColourFor(0x333333, 0xB0B0B0, SchemeColours{false, 0x101010, 0x202020}), 0x333333u)
        << "5.3 : 1 on its own light background";

    // High contrast: always the scheme's button text, whatever the form says.
    const SchemeColours white{true, kWhite, kBlack};
    EXPECT_EQ(TextColourFor(kRed, white.face, white), kBlack);
    const SchemeColours black{true, kBlack, kWhite};
    EXPECT_EQ(TextColourFor(kRed, black.face, black), kWhite);
    EXPECT_TRUE(DarkFace(black));
    EXPECT_FALSE(DarkFace(white));
}

}  // namespace
}  // namespace qelvane
