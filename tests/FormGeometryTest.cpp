// A form's place and size without any window: the program's twips, the pixels a window shows
// inside a window manager's frame, and what the program reads back.
#include "toolkit/FormGeometry.h"

#include "toolkit/Twips.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

using toolkit::FormGeometry;
using toolkit::WindowPixels;
using Outer = FormGeometry::Outer;

// 60 twips on the sides and the bottom, 345 at the top, at 15 twips to the pixel.
const QMargins Assumed(4, 23, 4, 4);
// At 3001, 3000 and 3120 x 1905 twips: 200, 200 and 208 x 127 pixels, 200 x 100 inside.
const Outer Designed { 3001, 3000, 3120, 1905 };

WindowPixels unframed(QRect inner) { return { true, false, false, inner, inner }; }

// A real frame 5 pixels wide, 25 at the top, whose outer top left is at x, y.
WindowPixels framed(int x, int y, QSize inner)
{
    return { true, false, false, QRect(QPoint(x + 5, y + 25), inner),
        QRect(x, y, inner.width() + 10, inner.height() + 30) };
}

class FormGeometryTest : public ::testing::Test {
protected:
    void SetUp() override { toolkit::Twips::overrideDpi(96); }
    void TearDown() override { toolkit::Twips::overrideDpi(0); }

    // Designed and applied as a form does when it is made.
    static FormGeometry applied(bool placeable = true)
    {
        FormGeometry geometry(QRectF(3061, 3345, 3000, 1500), Assumed, placeable);
        geometry.placeToApply(false);
        geometry.sizeToApply(false, Assumed);
        return geometry;
    }
};

TEST_F(FormGeometryTest, DesignedClientAreaLiesWithinTheAssumedFrame)
{
    const FormGeometry geometry = applied();
    EXPECT_EQ(geometry.outer(), Designed);
    EXPECT_EQ(geometry.read(unframed(QRect(200, 200, 200, 100)), Assumed), Designed);
}

struct ReadCase {
    const char* name;
    bool placeable;
    WindowPixels window;
    Outer expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

const ReadCase readCases[] = {
    // clang-format off
    { "HiddenWindowKeepsTheProgramsTwips", true, { false, false, false, QRect(0, 0, 9, 9), QRect(0, 0, 9, 9) }, Designed },
    { "UnchangedPixelsKeepTheProgramsTwips", true, unframed(QRect(200, 200, 200, 100)), Designed },
    { "MovedByTheUserReadsThePixels", true, unframed(QRect(300, 250, 200, 100)), { 4500, 3750, 3120, 1905 } },
    { "ResizedByTheUserReadsThePixels", true, unframed(QRect(200, 200, 300, 110)), { 3001, 3000, 4620, 2055 } },
    { "MaximisedKeepsTheNormalGeometry", true, { true, true, false, QRect(0, 0, 999, 700), QRect(0, 0, 999, 700) }, Designed },
    { "FirstFrameKeepsTheOuterSize", true, framed(200, 200, QSize(200, 100)), Designed },
    { "FirstFrameAfterAResizeReadsThePixels", true, framed(200, 200, QSize(300, 100)), { 3001, 3000, 4650, 1950 } },
    { "UnplaceableWindowKeepsItsPlace", false, unframed(QRect(300, 250, 300, 100)), { 3001, 3000, 4620, 1905 } },
    // clang-format on
};

class FormGeometryReadTest : public FormGeometryTest,
                             public ::testing::WithParamInterface<ReadCase> { };

TEST_P(FormGeometryReadTest, ReadsWithoutChangingAndAsTheWindowsEventsTakeItIn)
{
    const ReadCase& c = GetParam();
    FormGeometry geometry = applied(c.placeable);
    EXPECT_EQ(geometry.read(c.window, Assumed), c.expected);
    EXPECT_EQ(geometry.outer(), Designed) << "reading changes nothing";

    // The window's events: the frame is adopted, the window takes the size, then it is read.
    const std::optional<QSize> inner = geometry.adoptFrame(c.window, Assumed);
    const WindowPixels shown = inner ? FormGeometry::resized(c.window, *inner) : c.window;
    geometry.sync(shown, Assumed);
    EXPECT_EQ(geometry.outer(), c.expected);
    EXPECT_EQ(geometry.read(shown, Assumed), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Windows, FormGeometryReadTest, ::testing::ValuesIn(readCases),
    [](const auto& info) { return std::string(info.param.name); });

struct AdoptCase {
    const char* name;
    WindowPixels window;
    std::optional<QSize> inner;
};

void PrintTo(const AdoptCase& c, std::ostream* os) { *os << c.name; }

const AdoptCase adoptCases[] = {
    // clang-format off
    { "AssumedFrameStillShown", unframed(QRect(200, 200, 200, 100)), std::nullopt },
    { "FirstFrameKeepsTheOuterSize", framed(200, 200, QSize(200, 100)), QSize(198, 97) },
    { "FirstFrameAfterAResizeLeavesTheSize", framed(200, 200, QSize(300, 100)), std::nullopt },
    { "FirstFrameWhileMaximisedLeavesTheSize", { true, true, false, QRect(5, 25, 200, 100), QRect(0, 0, 210, 130) }, std::nullopt },
    { "FirstFrameWhileMinimisedLeavesTheSize", { true, false, true, QRect(5, 25, 200, 100), QRect(0, 0, 210, 130) }, std::nullopt },
    // clang-format on
};

class FormGeometryAdoptTest : public FormGeometryTest,
                              public ::testing::WithParamInterface<AdoptCase> { };

TEST_P(FormGeometryAdoptTest, InnerSizeForTheWindowManagersFrame)
{
    FormGeometry geometry = applied();
    EXPECT_EQ(geometry.adoptFrame(GetParam().window, Assumed), GetParam().inner);
}

INSTANTIATE_TEST_SUITE_P(Frames, FormGeometryAdoptTest, ::testing::ValuesIn(adoptCases),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormGeometryTest, OnlyTheFirstFrameIsAdopted)
{
    FormGeometry geometry = applied();
    ASSERT_TRUE(geometry.adoptFrame(framed(200, 200, QSize(200, 100)), Assumed));
    // The window manager's borders change later (a maximised window loses them): its size.
    const WindowPixels thinner { true, false, false, QRect(201, 221, 198, 97),
        QRect(200, 200, 200, 118) };
    EXPECT_EQ(geometry.adoptFrame(thinner, Assumed), std::nullopt);
}

struct HoldCase {
    const char* name;
    bool placeable;
    WindowPixels window;
    bool settled;
};

void PrintTo(const HoldCase& c, std::ostream* os) { *os << c.name; }

const HoldCase holdCases[] = {
    // clang-format off
    { "BackAtTheNormalPlaceAndSize", true, unframed(QRect(200, 200, 200, 100)), true },
    { "StillAtTheMaximisedSize", true, unframed(QRect(0, 0, 999, 700)), false },
    { "SizeBackButNotThePlace", true, unframed(QRect(0, 0, 200, 100)), false },
    { "UnplaceableNeedsOnlyTheSize", false, unframed(QRect(0, 0, 200, 100)), true },
    // clang-format on
};

class FormGeometryHoldTest : public FormGeometryTest,
                             public ::testing::WithParamInterface<HoldCase> { };

TEST_P(FormGeometryHoldTest, NormalGeometryHeldUntilTheWindowShowsIt)
{
    const HoldCase& c = GetParam();
    FormGeometry geometry = applied(c.placeable);
    geometry.hold();
    EXPECT_EQ(geometry.holdSettled(c.window, Assumed), c.settled);
    EXPECT_EQ(geometry.read(c.window, Assumed), Designed) << "held, whatever the window shows";
    geometry.outer().left = 1500;
    EXPECT_EQ(geometry.placeToApply(false), std::nullopt) << "kept for the restore";
    geometry.release();
    EXPECT_EQ(geometry.placeToApply(false), QPoint(100, 200));
}

INSTANTIATE_TEST_SUITE_P(Restores, FormGeometryHoldTest, ::testing::ValuesIn(holdCases),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormGeometryTest, LimitsAndMenuBarInPixels)
{
    FormGeometry geometry = applied();
    EXPECT_EQ(geometry.innerWidthRange(Assumed), std::nullopt);
    EXPECT_EQ(geometry.innerFixedHeight(20), std::nullopt);
    geometry.setWidthRange(2900, 5700);
    geometry.setFixedClientHeight(1050);
    EXPECT_EQ(geometry.innerWidthRange(Assumed), std::pair(185, 372)) << "outer less the sides";
    EXPECT_EQ(geometry.innerFixedHeight(20), 90) << "client area and menu bar";
    geometry.addMenuBar(20);
    EXPECT_EQ(geometry.outer(), (Outer { 3001, 2700, 3120, 2205 })) << "grown upwards";
    EXPECT_EQ(geometry.sizeToApply(false, Assumed), QSize(200, 120));
    EXPECT_EQ(geometry.sizeToApply(true, Assumed), std::nullopt) << "maximised: kept";
}

} // namespace
