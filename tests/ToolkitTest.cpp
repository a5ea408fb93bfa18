// The toolkit's event semantics that the program's handlers rely on.
#include "tests/support/KeyScript.h"
#include "tests/support/Text.h"
#include "toolkit/CommandButton.h"
#include "toolkit/FormSlot.h"
#include "toolkit/FormWindow.h"
#include "toolkit/MemoryTextField.h"
#include "toolkit/TextBox.h"
#include "toolkit/Twips.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <array>
#include <gtest/gtest.h>
#include <optional>

namespace {

using namespace Qt::Literals::StringLiterals;

int g_resizes = 0; // as the probe form sees them

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
    }
    toolkit::TextBox Field;
    toolkit::CommandButton Ok;
    toolkit::CommandButton Cancel;

protected:
    void onResize() override { ++g_resizes; }
};

toolkit::FormSlot<ProbeForm> probe;

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        toolkit::Twips::overrideDpi(96);
        g_resizes = 0;
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
    for (toolkit::TextField* text : std::array<toolkit::TextField*, 2> { &memory, &probe->Field }) {
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

TEST_F(ToolkitTest, KeyPressSeesTheWesternCodePageThenDropsReplacesOrPasses)
{
    struct Row {
        const char* name;
        QString keys;
        std::optional<int> code; // what KeyPress sees; nothing: the key does not pass through it
        int replacement; // what the handler sets; -1 leaves the code
        QString after; // the field's text afterwards, from "1"
    };
    // clang-format off
    const Row rows[] = {
        { "PeriodReplacedByComma", u"."_s, 46, 44, u"1,"_s },
        { "EuroSignIsItsWesternCode", u"€"_s, 128, -1, u"1€"_s },
        { "OmegaOutsideThePageIsAQuestionMark", u"Ω"_s, 63, -1, u"1?"_s },
        { "CtrlADropped", u"{Ctrl+A}"_s, 1, 0, u"1"_s },
        { "CtrlVPastes", u"{Ctrl+V}"_s, 22, -1, u"177"_s },
        { "LetterReplacedByBackspace", u"x"_s, 120, 8, u""_s },
        { "HomeNeverReachesKeyPress", u"{Home}"_s, std::nullopt, -1, u"1"_s },
    };
    // clang-format on
    QGuiApplication::clipboard()->setText(u"77"_s);
    for (const auto& [name, keys, code, replacement, after] : rows) {
        SCOPED_TRACE(name);
        probe->show();
        toolkit::TextBox& field = probe->Field;
        field.setText(u"1"_s);
        std::optional<int> seen;
        field.onKeyPress = [&](std::int16_t& typed) {
            seen = typed;
            if (replacement >= 0)
                typed = std::int16_t(replacement);
        };
        type(field.widget(), keys);
        EXPECT_EQ(std::pair(seen, field.text()), std::pair(code, after));
        probe.unload();
    }
}

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

TEST_F(ToolkitTest, ResizeOnFirstShowAndOnEverySizeTheProgramSetsShowRestoresFromMinimised)
{
    probe->setWidth(5000);
    probe->setWidth(5000);
    EXPECT_EQ(g_resizes, 1) << "raised nested while hidden, not for an unchanged size";
    probe->show();
    const int shown = g_resizes;
    EXPECT_GE(shown, 2);
    probe->setHeight(2000);
    probe->setWindowState(toolkit::WindowState::Minimised);
    EXPECT_EQ(g_resizes, shown + 2) << "for sizes set while shown, and for minimising";
    probe->show();
    EXPECT_EQ(probe->windowState(), toolkit::WindowState::Normal);
}

// The form's designed place and its read back between pixels are proven on the form geometry;
// here the controls, and a display of double density.
TEST_F(ToolkitTest, TwipsMapToLogicalPixels)
{
    EXPECT_EQ(probe->Field.widget()->geometry(), QRect(64, 8, 137, 19));
    toolkit::Form::destroyAll();
    toolkit::Twips::overrideDpi(192);
    probe->setLeft(3691);
    probe->setWidth(4111);
    probe->show();
    EXPECT_EQ(std::pair(probe->left(), probe->width()), std::pair(3691.0f, 4111.0f));
    const QRect frame = probe->window()->frameGeometry();
    EXPECT_EQ(std::pair(frame.left(), frame.width()), std::pair(492, 548));
}

TEST_F(ToolkitTest, QtsOwnTextsAreFrench)
{
    // The text fields' context menu, for one.
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Paste"), u"Co&ller"_s);
}

} // namespace
