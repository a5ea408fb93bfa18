// The toolkit's event semantics that the program's handlers rely on.
#include "tests/support/Seams.h"
#include "tests/support/Text.h"
#include "toolkit/Clipboard.h"
#include "toolkit/CommandButton.h"
#include "toolkit/FormSlot.h"
#include "toolkit/FormWindow.h"
#include "toolkit/MemoryClipboard.h"
#include "toolkit/MemoryTextField.h"
#include "toolkit/MessageBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>

namespace {

using namespace Qt::Literals::StringLiterals;

QString g_events; // "Load Resize QueryUnload ..." as the probe form sees them

class ProbeForm final : public toolkit::Form {
public:
    static toolkit::FormDesign design()
    {
        return { .caption = u"Probe"_s,
            .clientLeft = 3750,
            .clientTop = 4050,
            .clientWidth = 3990,
            .clientHeight = 1065 };
    }
    ProbeForm()
        : Form(design())
        , Field(clientWidget())
        , Ok(clientWidget(), u"OK"_s)
        , Cancel(clientWidget(), u"Annuler"_s)
    {
        Field.setGeometry(960, 120, 2055, 285);
        setTabOrder({ &Field, &Ok, &Cancel });
    }
    toolkit::TextBox Field;
    toolkit::CommandButton Ok;
    toolkit::CommandButton Cancel;
    bool cancelClose = false;

protected:
    void onLoad() override { g_events += u"Load "_s; }
    void onResize() override { g_events += u"Resize "_s; }
    void onQueryUnload(bool& cancel) override
    {
        g_events += u"QueryUnload "_s;
        cancel = cancelClose;
    }
    void onUnload() override { g_events += u"Unload "_s; }
};

toolkit::FormSlot<ProbeForm> probe;

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        toolkit::Twips::overrideDpi(96);
        g_events.clear();
    }
    void TearDown() override
    {
        toolkit::Form::destroyAll();
        toolkit::Twips::overrideDpi(0);
    }
};

TEST_F(ToolkitTest, ChangeRunsNestedForADifferentTextOnlyOnBothKindsOfField)
{
    toolkit::MemoryTextField memory;
    for (toolkit::TextField* text : { static_cast<toolkit::TextField*>(&memory),
             static_cast<toolkit::TextField*>(&probe->Field) }) {
        QStringList seen;
        // The amount fields' own pattern: a Change that cleans its text by setting it again.
        text->onChange = [&] {
            seen << text->text();
            text->setText(QString(text->text()).remove(u'x'));
        };
        text->setText(u"1x2"_s);
        EXPECT_EQ(seen, (QStringList { u"1x2"_s, u"12"_s })) << "nested, before the set returned";
        text->setText(u"12"_s);
        EXPECT_EQ(seen.size(), 2) << "an equal text raises nothing";
    }
    probe->Field.setSelection(1, 1);
    probe->Field.setText(u"12"_s);
    EXPECT_EQ(probe->Field.selectedText(), u"2"_s) << "nor moves the caret or the selection";
}

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text; // what the platform types, for characters no key code names
    std::optional<int> code; // what KeyPress sees; nothing: the key does not pass through it
    int replacement; // what the handler sets; -1 leaves the code
    QString after; // the field's text afterwards, from "1"
};

class KeyPressTest : public ToolkitTest, public ::testing::WithParamInterface<KeyCase> { };

TEST_P(KeyPressTest, CodeOfTheWesternCodePageThenDropReplaceOrPass)
{
    const KeyCase& c = GetParam();
    QGuiApplication::clipboard()->setText(u"77"_s);
    probe->show();
    toolkit::TextBox& field = probe->Field;
    field.setText(u"1"_s);
    std::optional<int> seen;
    field.onKeyPress = [&](std::int16_t& code) {
        seen = code;
        if (c.replacement >= 0)
            code = std::int16_t(c.replacement);
    };
    if (c.text.isEmpty()) {
        QTest::keyClick(field.widget(), c.key, c.modifiers);
    } else {
        QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, c.text);
        QApplication::sendEvent(field.widget(), &press);
    }
    EXPECT_EQ(seen, c.code);
    EXPECT_EQ(field.text(), c.after);
}

const Qt::KeyboardModifiers None;
const Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;
// clang-format off
const KeyCase keyCases[] = {
    { "DigitPasses", Qt::Key_2, None, u"2"_s, 50, -1, u"12"_s },
    { "PeriodReplacedByComma", Qt::Key_Period, None, u"."_s, 46, 44, u"1,"_s },
    { "EuroSignIsItsWesternCode", Qt::Key_unknown, None, u"€"_s, 128, -1, u"1€"_s },
    { "OmegaOutsideThePageIsAQuestionMark", Qt::Key_unknown, None, u"Ω"_s, 63, -1, u"1?"_s },
    { "CtrlADropped", Qt::Key_A, Ctrl, {}, 1, 0, u"1"_s },
    { "CtrlVPastes", Qt::Key_V, Ctrl, {}, 22, -1, u"177"_s },
    { "BackspaceErases", Qt::Key_Backspace, None, {}, 8, -1, u""_s },
    { "LetterReplacedByBackspace", Qt::Key_unknown, None, u"x"_s, 120, 8, u""_s },
    { "ReturnPassesUnused", Qt::Key_Return, None, {}, 13, -1, u"1"_s },
    { "HomeNeverReachesKeyPress", Qt::Key_Home, None, {}, std::nullopt, -1, u"1"_s },
};
// clang-format on
INSTANTIATE_TEST_SUITE_P(Keys, KeyPressTest, ::testing::ValuesIn(keyCases),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolkitTest, ComposedCharactersPassOneByOneEnterAndEscapeClickTheButtons)
{
    probe->setDefaultButton(probe->Ok);
    probe->setCancelButton(probe->Cancel);
    probe->show();
    QString seen;
    probe->Field.onKeyPress = [&](std::int16_t& code) {
        seen += QString::number(code) + u' ';
        if (code == 'x')
            code = 0;
    };
    probe->Ok.onClick = [&] { seen += u"OK "_s; };
    probe->Cancel.onClick = [&] { seen += u"Annuler"_s; };
    QInputMethodEvent commit;
    commit.setCommitString(u"éxè"_s);
    QApplication::sendEvent(probe->Field.widget(), &commit);
    QTest::keyClick(probe->Field.widget(), Qt::Key_Return);
    QTest::keyClick(probe->Field.widget(), Qt::Key_Escape);
    EXPECT_EQ(seen, u"233 120 232 OK Annuler"_s) << "Enter and Escape never reach KeyPress";
    EXPECT_EQ(probe->Field.text(), u"éè"_s);
}

TEST_F(ToolkitTest, FormMadeAtFirstUseAndAfreshAfterEveryWayOfClosing)
{
    EXPECT_FALSE(probe.exists());
    probe->Field.setText(u"1"_s);
    EXPECT_FALSE(probe->isVisible());
    probe.unload();
    EXPECT_FALSE(probe.exists());
    EXPECT_EQ(probe->Field.text(), QString()) << "made afresh";
    probe->show();
    probe->cancelClose = true;
    probe->window()->close();
    EXPECT_TRUE(probe->isVisible()) << "QueryUnload may cancel the close box";
    probe->cancelClose = false;
    probe->window()->close();
    probe->show();
    toolkit::Form::closeAll();
    EXPECT_FALSE(probe.exists()) << "the session's end closes it the normal way";
    EXPECT_EQ(QString(g_events).remove(u"Resize "_s),
        u"Load QueryUnload Unload Load QueryUnload QueryUnload Unload Load QueryUnload Unload "_s);
}

TEST_F(ToolkitTest, ResizeOnFirstShowAndOnEverySizeTheProgramSets)
{
    const auto resizes = [] { return g_events.count(u"Resize"_s); };
    probe->setWidth(5000);
    probe->setWidth(5000);
    EXPECT_EQ(resizes(), 1) << "raised nested while hidden, not for an unchanged size";
    probe->show();
    const auto shown = resizes();
    EXPECT_GE(shown, 2);
    probe->setHeight(2000);
    probe->setWindowState(toolkit::WindowState::Minimised);
    EXPECT_EQ(resizes(), shown + 2) << "for sizes set while shown, and for minimising";
}

TEST_F(ToolkitTest, ShowingAMinimisedFormBringsItBack)
{
    probe->show();
    probe->setWindowState(toolkit::WindowState::Minimised);
    probe->show();
    EXPECT_EQ(probe->windowState(), toolkit::WindowState::Normal);
}

TEST_F(ToolkitTest, TwipsReadBackExactlyAndMapToLogicalPixels)
{
    // The designed client area within the assumed frame, its controls in pixels.
    EXPECT_EQ(std::tuple(probe->left(), probe->top(), probe->width(), probe->scaleHeight()),
        std::tuple(3750 - 60, 4050 - 345, 4110, 1065));
    EXPECT_EQ(probe->Field.widget()->geometry(), QRect(64, 8, 137, 19));
    // dpi; Left, Top, Width, Height in twips; the frame's left and width in pixels
    const float cases[][7] = { { 96, 3690, 3705, 4110, 1470, 246, 274 },
        { 96, 3691, 3707, 4111, 1471, 246, 274 }, // between pixels: no drift
        { 96, -1500, -45, 2900, 1470, -100, 193 }, { 192, 3690, 3705, 4110, 1470, 492, 548 } };
    for (const auto& [dpi, left, top, width, height, pixelLeft, pixelWidth] : cases) {
        toolkit::Twips::overrideDpi(dpi);
        ProbeForm& form = *probe;
        form.setLeft(left);
        form.setTop(top);
        form.setWidth(width);
        form.setHeight(height);
        for (bool shown : { false, true }) {
            if (shown)
                form.show();
            EXPECT_EQ(std::tuple(form.left(), form.top(), form.width(), form.height()),
                std::tuple(left, top, width, height));
        }
        const QRect frame = form.window()->frameGeometry();
        EXPECT_EQ(
            std::pair(float(frame.left()), float(frame.width())), std::pair(pixelLeft, pixelWidth));
        toolkit::Form::destroyAll();
    }
}

TEST_F(ToolkitTest, MessageBoxAndClipboardSeams)
{
    QString asked;
    {
        MessageBoxAnswerer answerer([&](const auto& r) { asked = r.title + r.text; });
        toolkit::MessageBox::show(u"a\nb"_s, u"Erreur !"_s);
    }
    EXPECT_EQ(asked, u"Erreur !a\nb"_s);
    toolkit::MemoryClipboard fake;
    {
        ClipboardFake installed(fake);
        toolkit::Clipboard::current().setText(u"fake"_s);
    }
    toolkit::Clipboard::current().setText(u"system"_s);
    EXPECT_EQ(std::pair(fake.getText(), QGuiApplication::clipboard()->text()),
        std::pair(u"fake"_s, u"system"_s));
}

TEST_F(ToolkitTest, QtsOwnTextsAreFrench)
{
    // The text fields' context menu, for one.
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Paste"), u"Co&ller"_s);
}

} // namespace
