// On a real X server with a window manager: windows stand where the program puts them, and a
// window shown and closed without being moved gives back exactly the place it was given.
#include "app/EuroProgramme.h"
#include "forms/main/FrmQuilmar.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/FormWindow.h"

#include <QGuiApplication>
#include <QTest>
#include <algorithm>
#include <cstdio>

namespace {

using EuroProgramme::Settings;

class X11GeometryTest : public ProgramFixture {
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        if (QGuiApplication::platformName() != u"xcb")
            GTEST_SKIP() << "needs an X server";
    }

    // Waits until the window manager has framed and placed the main window.
    static bool waitForFrame()
    {
        toolkit::FormWindow* window = frmQuilmar->window();
        const bool framed = QTest::qWaitFor(
            [&] { return window->isVisible() && window->frameGeometry() != window->geometry(); },
            5000);
        QTest::qWait(200); // let the manager's last configure arrive
        return framed;
    }
};

TEST_F(X11GeometryTest, SavedPlaceIsRestoredAndSavedBackWithoutDrift)
{
    struct Case {
        int left, top, width;
    };
    const Case cases[] = { { 1500, 1200, 4200 }, { 3001, 2999, 4111 }, { 1500, 1200, 2000 },
        { 1500, 1200, 9000 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        const QByteArray file = "\"Euros\"\r\n\"Francs\"\r\n\"E\"\r\n\"F\"\r\n1\r\n6.55957\r\n3\r\n"
            + QByteArray::number(c.left) + "\r\n" + QByteArray::number(c.top) + "\r\n"
            + QByteArray::number(c.width) + "\r\n";
        writeFile(QStringLiteral("Quilmar.ini"), file);
        const int expectedWidth = std::clamp(c.width, 2900, 5700);
        for (int cycle = 0; cycle < 3; ++cycle) {
            EuroProgramme::StartUp();
            ASSERT_TRUE(waitForFrame());
            toolkit::FormWindow* window = frmQuilmar->window();
            EXPECT_EQ(window->frameGeometry().topLeft(),
                QPoint(toolkit::Twips::toPixels(float(c.left)),
                    toolkit::Twips::toPixels(float(c.top))));
            EXPECT_EQ(
                window->frameGeometry().width(), toolkit::Twips::toPixels(float(expectedWidth)));
            EXPECT_EQ(window->geometry().height(),
                toolkit::Twips::toPixels(FrmQuilmar::DesignedClientHeight))
                << "the client area keeps its designed height under any title bar";
            window->close();
            EXPECT_EQ(Settings.WindowLeft, c.left);
            EXPECT_EQ(Settings.WindowTop, c.top);
            EXPECT_EQ(Settings.WindowWidth, expectedWidth);
            toolkit::Form::destroyAll();
            Settings = SettingsRecord();
        }
    }
}

TEST_F(X11GeometryTest, DesignedPlaceWithoutSettingsFile)
{
    EuroProgramme::StartUp();
    ASSERT_TRUE(waitForFrame());
    toolkit::FormWindow* window = frmQuilmar->window();
    const QMargins frame(window->geometry().left() - window->frameGeometry().left(),
        window->geometry().top() - window->frameGeometry().top(), 0, 0);
    std::printf("window manager frame: left %d, top %d pixels\n", frame.left(), frame.top());
    window->close();
    EXPECT_EQ(Settings.WindowLeft, 3690);
    EXPECT_EQ(Settings.WindowTop, 3705);
    EXPECT_EQ(Settings.WindowWidth, 4110);
}

} // namespace
