// The program's real windows on Qt's Wayland platform, as clients of a headless weston
// (tests/wayland/with-wayland-compositor). Weston takes no input from outside, so keys, clicks and
// the close request enter through Qt's window-system interface, the way the Wayland platform
// hands over what the compositor sends; the windows themselves are mapped, configured, maximised
// and restored by the compositor.
#include "app/EuroProgramme.h"
#include "forms/help/FrmAide.h"
#include "forms/main/FrmQuilmar.h"
#include "forms/settings/FrmParam.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/FormWindow.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

// At 400, 400 pixels and wider than designed.
const QByteArray Ini
    = "\"Euros\"\r\n\"Francs\"\r\n\"E\"\r\n\"F\"\r\n1\r\n6.55957\r\n3\r\n6000\r\n6000\r\n4500\r\n";

class WaylandTest : public ProgramFixture {
protected:
    void SetUp() override
    {
        if (!QGuiApplication::platformName().startsWith(u"wayland"))
            GTEST_SKIP() << "needs a Wayland compositor";
        ProgramFixture::SetUp();
    }

    static QWindow* handle(toolkit::Form& form) { return form.window()->windowHandle(); }

    // Shown, configured and drawn by the compositor.
    static bool mapped(toolkit::Form& form)
    {
        return form.isVisible() && QTest::qWaitForWindowExposed(handle(form), 10000);
    }

    // Every request sent so far has reached the compositor and its answers have been applied,
    // and the commits that they caused have been checked by it in turn: the compositor handles
    // a client's requests in order, so a window shown after them is mapped after them.
    static void settle()
    {
        for (int round = 0; round < 2; ++round) {
            QWidget probe;
            probe.resize(8, 8);
            probe.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(probe.windowHandle(), 10000));
        }
    }
};

toolkit::Form& mainWindow() { return *frmQuilmar; }
toolkit::Form& helpWindow() { return *frmAide; }
toolkit::Form& settingsDialog() { return *frmParam; }

const Qt::WindowStates Maximised = Qt::WindowMaximized, Minimised = Qt::WindowMinimized,
                       FullScreen = Qt::WindowFullScreen, Normal = Qt::WindowNoState;

// Each window, opened by its button, goes through the states that the buttons of the title bar
// Qt draws ask of the compositor, comes back to its normal size, and closes on the compositor's
// request; only the main window's close ends the program.
TEST_F(WaylandTest, TitleBarStatesAndTheCompositorsCloseThenThePlaceSavedAsRead)
{
    struct Window {
        const char* name;
        toolkit::PictureBox FrmQuilmar::*button;
        toolkit::Form& (*form)();
        std::vector<Qt::WindowStates> states;
    };
    // clang-format off
    const Window windows[] = {
        { "Help", &FrmQuilmar::Picture1, helpWindow, { Maximised, Normal, Maximised, Minimised } },
        { "Dialog", &FrmQuilmar::Picture2, settingsDialog, { Maximised, Normal, Maximised, FullScreen } },
        { "Main", nullptr, mainWindow, { Maximised, Normal, Maximised, Minimised, Normal, FullScreen } },
    };
    // clang-format on
    writeFile(u"Quilmar.ini"_s, Ini);
    EuroProgramme::StartUp();
    FrmQuilmar& m = *frmQuilmar;
    ASSERT_TRUE(mapped(m));
    QTest::keyClick(handle(m), '1');
    EXPECT_EQ(m.TextFranc.text(), u"6,56"_s);
    for (const auto& [name, button, form, states] : windows) {
        SCOPED_TRACE(name);
        if (const QWidget* w = button ? (m.*button).widget() : nullptr)
            QTest::mouseClick(
                handle(m), Qt::LeftButton, {}, w->mapTo(m.window(), w->rect().center()));
        ASSERT_TRUE(mapped(form()));
        const QSize normal = form().window()->size();
        for (const Qt::WindowStates state : states) {
            handle(form())->setWindowStates(state);
            settle();
            ASSERT_FALSE(toolkit::Form::programEnded());
        }
        handle(form())->setWindowStates(Normal);
        EXPECT_TRUE(QTest::qWaitFor([&] { return form().window()->size() == normal; }, 5000))
            << "back to its normal size, not " << form().window()->width() << " pixels wide";
        // The compositor's close request, as Qt's Wayland platform hands it over: a close event
        // through the platform window.
        const QPointer<QWindow> window = handle(form());
        window->close();
        settle();
        EXPECT_TRUE(!window || !window->isVisible());
    }
    EXPECT_TRUE(toolkit::Form::programEnded());
    EXPECT_EQ(readFile(u"Quilmar.ini"_s), Ini)
        << "the place as it was read: a Wayland client cannot learn where it stands";
}

} // namespace
