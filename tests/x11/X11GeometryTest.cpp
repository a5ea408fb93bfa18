// On a real X server with a window manager: the main window stands where the settings put it,
// and shown and closed without being moved, it gives back exactly the place it was given.
#include "app/EuroProgramme.h"
#include "forms/main/FrmQuilmar.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/FormWindow.h"

#include <QGuiApplication>
#include <QTest>

namespace {

using EuroProgramme::Settings;
using toolkit::Twips;

class X11GeometryTest : public ProgramFixture { };

TEST_F(X11GeometryTest, PlaceIsRestoredAndSavedBackWithoutDrift)
{
    if (QGuiApplication::platformName() != u"xcb")
        GTEST_SKIP() << "needs an X server";
    struct Case {
        const char* name;
        int left, top, width;
    };
    const Case cases[] = {
        { "NoFileTheDesignedPlace", 3690, 3705, 4110 },
        { "AWiderWindow", 1500, 1200, 4200 },
        { "OddTwipsBetweenPixels", 3001, 2999, 4111 },
        { "NarrowerThanTheMinimum", 1500, 1200, 2000 },
        { "WiderThanTheMaximum", 1500, 1200, 9000 },
    };
    for (const auto& [name, left, top, width] : cases) {
        SCOPED_TRACE(name);
        if (left != 3690) { // else no file: the designed place
            writeFile(QStringLiteral("Quilmar.ini"),
                QStringLiteral(
                    "\"E\"\r\n\"F\"\r\n\"E\"\r\n\"F\"\r\n1\r\n7\r\n3\r\n%1\r\n%2\r\n%3\r\n")
                    .arg(left)
                    .arg(top)
                    .arg(width)
                    .toLatin1());
        }
        const int clamped = std::clamp(width, 2900, 5700);
        for (int cycle = 0; cycle < 3; ++cycle) {
            EuroProgramme::StartUp();
            toolkit::FormWindow* window = frmQuilmar->window();
            ASSERT_TRUE(
                QTest::qWaitFor([&] { return window->frameGeometry() != window->geometry(); }));
            QTest::qWait(200); // the window manager's last configure
            EXPECT_EQ(window->frameGeometry(),
                QRect(Twips::toPixels(float(left)), Twips::toPixels(float(top)),
                    Twips::toPixels(float(clamped)), window->frameGeometry().height()));
            EXPECT_EQ(
                window->geometry().height(), Twips::toPixels(FrmQuilmar::DesignedClientHeight))
                << "the client area keeps its height under any title bar";
            window->close();
            EXPECT_EQ(std::tuple(Settings.WindowLeft, Settings.WindowTop, Settings.WindowWidth),
                std::tuple(left, top, clamped));
            toolkit::Form::destroyAll();
            Settings = SettingsRecord();
        }
    }
}

} // namespace
