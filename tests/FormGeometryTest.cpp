// A form's place and size without any window: the program's twips, the pixels a window shows
// inside a window manager's frame, and what the program reads back.
#include "toolkit/FormGeometry.h"

#include "toolkit/Twips.h"

#include <gtest/gtest.h>
#include <optional>

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

// What the program reads, before and after the window's events take the pixels in, and the
// inner size that keeps the outer size when the window manager's first frame is adopted.
TEST_F(FormGeometryTest, ReadsWithoutChangingAndAsTheWindowsEventsTakeItIn)
{
    struct Row {
        const char* name;
        bool placeable;
        WindowPixels window;
        std::optional<QSize> adopted;
        Outer expected;
    };
    // clang-format off
    const Row rows[] = {
        { "HiddenWindowKeepsTheProgramsTwips", true, { false, false, false, QRect(0, 0, 9, 9), QRect(0, 0, 9, 9) }, std::nullopt, Designed },
        { "UnchangedPixelsKeepTheProgramsTwips", true, unframed(QRect(200, 200, 200, 100)), std::nullopt, Designed },
        { "MovedAndResizedByTheUserReadsThePixels", true, unframed(QRect(300, 250, 300, 110)), std::nullopt, { 4500, 3750, 4620, 2055 } },
        { "MaximisedWithItsFirstFrameKeepsTheNormalGeometry", true, { true, true, false, QRect(5, 25, 200, 100), QRect(0, 0, 210, 130) }, std::nullopt, Designed },
        { "MinimisedWithItsFirstFrameIsNotResized", true, { true, false, true, QRect(5, 25, 200, 100), QRect(0, 0, 210, 130) }, std::nullopt, { 0, 0, 3150, 1950 } },
        { "FirstFrameKeepsTheOuterSize", true, framed(200, 200, QSize(200, 100)), QSize(198, 97), Designed },
        { "FirstFrameAfterAResizeReadsThePixels", true, framed(200, 200, QSize(300, 100)), std::nullopt, { 3001, 3000, 4650, 1950 } },
        { "UnplaceableWindowKeepsItsPlace", false, unframed(QRect(300, 250, 300, 100)), std::nullopt, { 3001, 3000, 4620, 1905 } },
    };
    // clang-format on
    for (const auto& [name, placeable, window, adopted, expected] : rows) {
        SCOPED_TRACE(name);
        FormGeometry geometry = applied(placeable);
        EXPECT_EQ(geometry.read(window, Assumed), expected);
        EXPECT_EQ(geometry.outer(), Designed) << "reading changes nothing";

        // The window's events: the frame is adopted, the window takes the size, then it is read.
        const std::optional<QSize> inner = geometry.adoptFrame(window, Assumed);
        EXPECT_EQ(inner, adopted);
        const WindowPixels shown = inner ? FormGeometry::resized(window, *inner) : window;
        geometry.sync(shown, Assumed);
        EXPECT_EQ(geometry.outer(), expected);
        EXPECT_EQ(geometry.read(shown, Assumed), expected);
    }
}

TEST_F(FormGeometryTest, OnlyTheFirstFrameIsAdopted)
{
    FormGeometry geometry = applied();
    ASSERT_TRUE(geometry.adoptFrame(framed(200, 200, QSize(200, 100)), Assumed));
    // The window manager's borders change later (a maximised window loses them): its size.
    const WindowPixels thinner { true, false, false, QRect(201, 221, 198, 97),
        QRect(200, 200, 200, 118) };
    EXPECT_EQ(geometry.adoptFrame(thinner, Assumed), std::nullopt);
}

TEST_F(FormGeometryTest, NormalGeometryHeldUntilTheWindowShowsIt)
{
    struct Row {
        const char* name;
        bool placeable;
        WindowPixels window;
        bool settled;
    };
    // clang-format off
    const Row rows[] = {
        { "BackAtTheNormalPlaceAndSize", true, unframed(QRect(200, 200, 200, 100)), true },
        { "PlaceBackButNotTheSize", true, unframed(QRect(200, 200, 999, 700)), false },
        { "SizeBackButNotThePlace", true, unframed(QRect(0, 0, 200, 100)), false },
        { "UnplaceableNeedsOnlyTheSize", false, unframed(QRect(0, 0, 200, 100)), true },
    };
    // clang-format on
    for (const auto& [name, placeable, window, settled] : rows) {
        SCOPED_TRACE(name);
        FormGeometry geometry = applied(placeable);
        geometry.hold();
        EXPECT_EQ(geometry.holdSettled(window, Assumed), settled);
        EXPECT_EQ(geometry.read(window, Assumed), Designed) << "held, whatever the window shows";
        geometry.outer().left = 1500;
        EXPECT_EQ(geometry.placeToApply(false), std::nullopt) << "kept for the restore";
        geometry.release();
        EXPECT_EQ(geometry.placeToApply(false), QPoint(100, 200));
    }
}

TEST_F(FormGeometryTest, LimitsAndMenuBarInPixels)
{
    FormGeometry geometry = applied();
    EXPECT_EQ(geometry.innerWidthRange(Assumed), std::nullopt);
    EXPECT_EQ(geometry.innerFixedHeight(20), std::nullopt);
    // The width range in pixels is proven by the main window's limits.
    geometry.setFixedClientHeight(1050);
    EXPECT_EQ(geometry.innerFixedHeight(20), 90) << "client area and menu bar";
    geometry.addMenuBar(20);
    EXPECT_EQ(geometry.outer(), (Outer { 3001, 2700, 3120, 2205 })) << "grown upwards";
    EXPECT_EQ(geometry.sizeToApply(false, Assumed), QSize(200, 120));
    EXPECT_EQ(geometry.sizeToApply(true, Assumed), std::nullopt) << "maximised: kept";
}

} // namespace
