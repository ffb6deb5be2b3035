#include "ui/system/DisplayScale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qelvane {
namespace {

constexpr int kDpis[] = {96, 120, 144, 168, 192};

TEST(DisplayScale, NinetySixIsTheIdentity) {
    constexpr DisplayScale s{96};
    for (int v : {-32627, -1, 0, 1, 495, 32627}) {
        EXPECT_EQ(s.ToDevice(v), v);
        EXPECT_EQ(s.ToForm(v), v);
    }
}

TEST(DisplayScale, FormValuesSurviveTheTripAndStayWithinHalfAPixel) {
    for (int dpi : kDpis) {
        const DisplayScale s{dpi};
        for (int v = -2000; v <= 2000; ++v) {
            ASSERT_EQ(s.ToForm(s.ToDevice(v)), v) << v << " at " << dpi;
            ASSERT_LE(std::abs(s.ToDevice(v) - v * dpi / 96.0), 0.5) << v << " at " << dpi;
        }
    }
}

TEST(DisplayScale, NeighboursStillMeetAndSizesStayWithinOnePixel) {
    // The label and the button of the form: one ends where the other begins.
    const DisplayScale::Box above{8, 258, 192, 38}, below{8, 296, 192, 60};
    for (int dpi : kDpis) {
        const DisplayScale s{dpi};
        const DisplayScale::Box a = s.ToDevice(above), b = s.ToDevice(below);
        EXPECT_EQ(a.top + a.height, b.top) << dpi;
        EXPECT_EQ(a.left, b.left) << dpi;
        EXPECT_LE(std::abs(a.height - 38 * dpi / 96.0), 1.0) << dpi;
        EXPECT_EQ(s.ToForm(a), above) << dpi;
    }
}

}  // namespace
}  // namespace qelvane
