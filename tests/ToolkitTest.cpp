// The toolkit's event semantics that the program's handlers rely on.
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
#include <memory>
#include <optional>
#include <vector>

namespace {

std::vector<QString> g_events;

class ProbeForm final : public toolkit::Form {
public:
    static toolkit::FormDesign design()
    {
        toolkit::FormDesign form;
        form.caption = QStringLiteral("Probe");
        form.clientLeft = 3750;
        form.clientTop = 4050;
        form.clientWidth = 3990;
        form.clientHeight = 1065;
        return form;
    }

    ProbeForm()
        : Form(design())
        , Field(clientWidget())
        , Ok(clientWidget(), QStringLiteral("OK"))
        , Cancel(clientWidget(), QStringLiteral("Annuler"))
    {
        Field.setGeometry(960, 120, 2055, 285);
        setTabOrder({ &Field, &Ok, &Cancel });
    }

    toolkit::TextBox Field;
    toolkit::CommandButton Ok;
    toolkit::CommandButton Cancel;
    bool cancelClose = false;

protected:
    void onLoad() override { g_events.push_back(QStringLiteral("Load")); }
    void onResize() override { g_events.push_back(QStringLiteral("Resize")); }
    void onQueryUnload(bool& cancel) override
    {
        g_events.push_back(QStringLiteral("QueryUnload"));
        cancel = cancelClose;
    }
    void onUnload() override { g_events.push_back(QStringLiteral("Unload")); }
};

toolkit::FormSlot<ProbeForm> probe;

// A key as the platform delivers it: with its text for the characters no key code names.
void typeKey(
    toolkit::TextBox& field, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    if (text.isEmpty()) {
        QTest::keyClick(field.widget(), key, modifiers);
        return;
    }
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(field.widget(), &press);
}

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

// --- Change -------------------------------------------------------------------------------------

enum class FieldKind { Memory, TextBox };

class ChangeTest : public ToolkitTest, public ::testing::WithParamInterface<FieldKind> {
protected:
    toolkit::TextField& field()
    {
        if (GetParam() == FieldKind::Memory)
            return m_memory;
        return probe->Field;
    }
    toolkit::MemoryTextField m_memory;
};

TEST_P(ChangeTest, DifferentTextRunsChangeNestedEqualTextNothing)
{
    toolkit::TextField& text = field();
    std::vector<QString> seen;
    text.onChange = [&] { seen.push_back(text.text()); };

    text.setText(QStringLiteral("12"));
    ASSERT_EQ(seen, std::vector<QString> { QStringLiteral("12") })
        << "Change ran before the set returned";
    text.setText(QStringLiteral("12"));
    EXPECT_EQ(seen.size(), 1u) << "an equal text raises nothing";
    text.setText(QString());
    EXPECT_EQ(seen.size(), 2u);
}

TEST_P(ChangeTest, SetInsideChangeNestsOnlyWhenTheTextDiffers)
{
    toolkit::TextField& text = field();
    int depth = 0;
    int maxDepth = 0;
    int changes = 0;
    text.onChange = [&] {
        ++changes;
        ++depth;
        maxDepth = std::max(maxDepth, depth);
        // The same cleaning the amount fields do: keep the digits only.
        QString digits;
        for (QChar ch : text.text())
            if (ch.isDigit())
                digits.append(ch);
        text.setText(digits);
        --depth;
    };
    text.setText(QStringLiteral("1a2"));
    EXPECT_EQ(text.text(), QStringLiteral("12"));
    EXPECT_EQ(changes, 2) << "the cleaning's own set ran Change once, nested";
    EXPECT_EQ(maxDepth, 2);

    changes = 0;
    text.setText(QStringLiteral("34"));
    EXPECT_EQ(changes, 1) << "a set of the same text inside Change raises nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ChangeTest, ::testing::Values(FieldKind::Memory, FieldKind::TextBox));

TEST_F(ToolkitTest, EqualSetKeepsCaretAndSelection)
{
    toolkit::TextBox& text = probe->Field;
    text.setText(QStringLiteral("6,559"));
    text.setCursorPosition(2);
    text.setText(QStringLiteral("6,559"));
    EXPECT_EQ(text.cursorPosition(), 2);
    text.setSelection(1, 2);
    text.setText(QStringLiteral("6,559"));
    EXPECT_EQ(text.selectedText(), QStringLiteral(",5"));
}

// --- KeyPress -----------------------------------------------------------------------------------

struct KeyCase {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    std::optional<int> code; // nothing: the key does not pass through KeyPress
};

class KeyPressTest : public ToolkitTest, public ::testing::WithParamInterface<KeyCase> { };

TEST_P(KeyPressTest, ReportsTheWesternCodePageCode)
{
    const KeyCase& c = GetParam();
    probe->show();
    std::optional<int> seen;
    probe->Field.onKeyPress = [&](std::int16_t& code) {
        seen = code;
        code = 0;
    };
    typeKey(probe->Field, c.key, c.modifiers, c.text);
    EXPECT_EQ(seen, c.code);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyPressTest,
    ::testing::Values(KeyCase { "digit", Qt::Key_1, {}, QStringLiteral("1"), 49 },
        KeyCase { "period", Qt::Key_Period, {}, QStringLiteral("."), 46 },
        KeyCase { "eAcute", Qt::Key_Eacute, {}, QStringLiteral("é"), 233 },
        KeyCase { "euro", Qt::Key_unknown, {}, QStringLiteral("€"), 128 },
        KeyCase { "oe", Qt::Key_unknown, {}, QStringLiteral("œ"), 156 },
        KeyCase { "notInCodePage", Qt::Key_unknown, {}, QStringLiteral("Ω"), 63 },
        KeyCase { "ctrlA", Qt::Key_A, Qt::ControlModifier, {}, 1 },
        KeyCase { "ctrlC", Qt::Key_C, Qt::ControlModifier, {}, 3 },
        KeyCase { "ctrlV", Qt::Key_V, Qt::ControlModifier, {}, 22 },
        KeyCase { "ctrlX", Qt::Key_X, Qt::ControlModifier, {}, 24 },
        KeyCase { "ctrlZ", Qt::Key_Z, Qt::ControlModifier, {}, 26 },
        KeyCase { "backspace", Qt::Key_Backspace, {}, {}, 8 },
        KeyCase { "enter", Qt::Key_Return, {}, {}, 13 },
        KeyCase { "escape", Qt::Key_Escape, {}, {}, 27 },
        KeyCase { "delete", Qt::Key_Delete, {}, {}, std::nullopt },
        KeyCase { "left", Qt::Key_Left, {}, {}, std::nullopt },
        KeyCase { "home", Qt::Key_Home, {}, {}, std::nullopt },
        KeyCase { "f1", Qt::Key_F1, {}, {}, std::nullopt }),
    [](const auto& info) { return std::string(info.param.name); });

struct FilterCase {
    const char* name;
    QString before;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    int replacement; // -1 leaves the code as it came
    QString after;
};

class KeyFilterTest : public ToolkitTest, public ::testing::WithParamInterface<FilterCase> { };

TEST_P(KeyFilterTest, DropReplaceOrPass)
{
    const FilterCase& c = GetParam();
    QGuiApplication::clipboard()->setText(QStringLiteral("77"));
    probe->show();
    toolkit::TextBox& field = probe->Field;
    field.setText(c.before);
    field.setCursorPosition(int(c.before.size()));
    field.onKeyPress = [&](std::int16_t& code) {
        if (c.replacement >= 0)
            code = std::int16_t(c.replacement);
    };
    typeKey(field, c.key, c.modifiers, c.text);
    EXPECT_EQ(field.text(), c.after);
}

INSTANTIATE_TEST_SUITE_P(Filters, KeyFilterTest,
    ::testing::Values(FilterCase { "dropped", QStringLiteral("12"), Qt::Key_unknown, {},
                          QStringLiteral("a"), 0, QStringLiteral("12") },
        FilterCase { "passed", QStringLiteral("12"), Qt::Key_unknown, {}, QStringLiteral("a"), -1,
            QStringLiteral("12a") },
        FilterCase { "replaced", QStringLiteral("12"), Qt::Key_unknown, {}, QStringLiteral("."), 44,
            QStringLiteral("12,") },
        FilterCase { "replacedByEuro", QStringLiteral("1"), Qt::Key_unknown, {},
            QStringLiteral("e"), 128, QStringLiteral("1€") },
        FilterCase { "backspacePasses", QStringLiteral("12"), Qt::Key_Backspace, {}, {}, -1,
            QStringLiteral("1") },
        FilterCase { "replacedByBackspace", QStringLiteral("12"), Qt::Key_unknown, {},
            QStringLiteral("x"), 8, QStringLiteral("1") },
        FilterCase { "ctrlVPastesWhenPassed", QStringLiteral("1"), Qt::Key_V, Qt::ControlModifier,
            {}, -1, QStringLiteral("177") },
        FilterCase { "ctrlVDropped", QStringLiteral("1"), Qt::Key_V, Qt::ControlModifier, {}, 0,
            QStringLiteral("1") },
        FilterCase { "notInCodePageTypesQuestionMark", QString(), Qt::Key_unknown, {},
            QStringLiteral("Ω"), -1, QStringLiteral("?") }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolkitTest, InputMethodCommitsPassOneByOne)
{
    probe->show();
    std::vector<int> codes;
    probe->Field.onKeyPress = [&](std::int16_t& code) {
        codes.push_back(code);
        if (code == 'x')
            code = 0;
    };
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("éxè"));
    QApplication::sendEvent(probe->Field.widget(), &commit);
    EXPECT_EQ(codes, (std::vector<int> { 233, 'x', 232 }));
    EXPECT_EQ(probe->Field.text(), QStringLiteral("éè"));
}

TEST_F(ToolkitTest, EnterAndEscapeClickTheDefaultAndCancelButtons)
{
    probe->setDefaultButton(probe->Ok);
    probe->setCancelButton(probe->Cancel);
    probe->show();
    std::vector<QString> clicks;
    probe->Ok.onClick = [&] { clicks.push_back(QStringLiteral("OK")); };
    probe->Cancel.onClick = [&] { clicks.push_back(QStringLiteral("Annuler")); };
    bool keyPressSawEnter = false;
    probe->Field.onKeyPress = [&](std::int16_t& code) { keyPressSawEnter |= code == 13; };
    QTest::keyClick(probe->Field.widget(), Qt::Key_Return);
    QTest::keyClick(probe->Field.widget(), Qt::Key_Escape);
    EXPECT_EQ(clicks, (std::vector<QString> { QStringLiteral("OK"), QStringLiteral("Annuler") }));
    EXPECT_FALSE(keyPressSawEnter);
}

// --- Forms --------------------------------------------------------------------------------------

TEST_F(ToolkitTest, FormIsCreatedAtFirstUseAndAfreshAfterUnload)
{
    EXPECT_FALSE(probe.exists());
    probe->Field.setText(QStringLiteral("1"));
    EXPECT_TRUE(probe.exists());
    EXPECT_FALSE(probe->isVisible());
    EXPECT_EQ(g_events, std::vector<QString> { QStringLiteral("Load") });

    probe.unload();
    EXPECT_FALSE(probe.exists());
    toolkit::Form::deleteUnloaded();
    EXPECT_EQ(probe->Field.text(), QString()) << "made afresh";
    EXPECT_EQ(g_events,
        (std::vector<QString> { QStringLiteral("Load"), QStringLiteral("QueryUnload"),
            QStringLiteral("Unload"), QStringLiteral("Load") }));
}

TEST_F(ToolkitTest, CloseBoxRunsQueryUnloadWhichMayCancel)
{
    probe->show();
    g_events.clear();
    probe->cancelClose = true;
    probe->window()->close();
    EXPECT_TRUE(probe.exists());
    EXPECT_TRUE(probe->isVisible());
    probe->cancelClose = false;
    probe->window()->close();
    EXPECT_FALSE(probe.exists());
    EXPECT_EQ(g_events,
        (std::vector<QString> { QStringLiteral("QueryUnload"), QStringLiteral("QueryUnload"),
            QStringLiteral("Unload") }));
}

TEST_F(ToolkitTest, SessionEndClosesEveryFormTheNormalWay)
{
    probe->show();
    g_events.clear();
    toolkit::Form::closeAll();
    EXPECT_FALSE(probe.exists());
    EXPECT_EQ(g_events,
        (std::vector<QString> { QStringLiteral("QueryUnload"), QStringLiteral("Unload") }));
}

TEST_F(ToolkitTest, ResizeOnFirstShowAndOnEverySizeTheProgramSets)
{
    const auto resizes
        = [] { return std::count(g_events.begin(), g_events.end(), QStringLiteral("Resize")); };
    probe->setWidth(5000);
    EXPECT_EQ(resizes(), 1) << "raised nested, while hidden";
    probe->setWidth(5000);
    EXPECT_EQ(resizes(), 1) << "an unchanged size raises nothing";
    probe->show();
    const auto shown = resizes();
    EXPECT_GE(shown, 2) << "the first showing raises it";
    probe->show();
    EXPECT_EQ(resizes(), shown);
    probe->setHeight(2000);
    EXPECT_EQ(resizes(), shown + 1);
    probe->setWindowState(1);
    EXPECT_EQ(resizes(), shown + 2) << "minimising raises it too";
}

// --- Twips --------------------------------------------------------------------------------------

struct GeometryCase {
    float dpi;
    float left, top, width, height; // twips
    int pixelLeft, pixelOuterWidth;
};

class GeometryTest : public ToolkitTest, public ::testing::WithParamInterface<GeometryCase> { };

TEST_P(GeometryTest, TwipsReadBackExactlyAndMapToLogicalPixels)
{
    const GeometryCase& c = GetParam();
    toolkit::Twips::overrideDpi(c.dpi);
    ProbeForm& form = *probe;
    form.setLeft(c.left);
    form.setTop(c.top);
    form.setWidth(c.width);
    form.setHeight(c.height);
    for (bool shown : { false, true }) {
        if (shown)
            form.show();
        EXPECT_EQ(form.left(), c.left);
        EXPECT_EQ(form.top(), c.top);
        EXPECT_EQ(form.width(), c.width);
        EXPECT_EQ(form.height(), c.height);
    }
    EXPECT_EQ(form.window()->frameGeometry().left(), c.pixelLeft);
    EXPECT_EQ(form.window()->frameGeometry().width(), c.pixelOuterWidth);
}

INSTANTIATE_TEST_SUITE_P(Scales, GeometryTest,
    ::testing::Values(GeometryCase { 96, 3690, 3705, 4110, 1470, 246, 274 },
        GeometryCase { 96, 3691, 3707, 4111, 1471, 246, 274 }, // not whole pixels: no drift
        GeometryCase { 96, -1500, -45, 2900, 1470, -100, 193 },
        GeometryCase { 192, 3690, 3705, 4110, 1470, 492, 548 }));

TEST_F(ToolkitTest, DesignedClientAreaWithTheAssumedFrame)
{
    ProbeForm& form = *probe;
    EXPECT_EQ(form.left(), 3750 - toolkit::Form::AssumedFrameSide);
    EXPECT_EQ(form.top(), 4050 - toolkit::Form::AssumedFrameTop);
    EXPECT_EQ(form.width(), 4110);
    EXPECT_EQ(form.height(), 1470);
    EXPECT_EQ(form.scaleWidth(), 3990);
    EXPECT_EQ(form.scaleHeight(), 1065);
    EXPECT_EQ(probe->Field.widget()->geometry(), QRect(64, 8, 137, 19));
}

// --- Seams --------------------------------------------------------------------------------------

TEST_F(ToolkitTest, MessageBoxAnswererReceivesTheRequest)
{
    std::vector<toolkit::MessageBox::Request> asked;
    toolkit::MessageBox::setAnswerer([&](const auto& request) { asked.push_back(request); });
    toolkit::MessageBox::show(QStringLiteral("a\nb"), QStringLiteral("Erreur !"));
    toolkit::MessageBox::setAnswerer({});
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, QStringLiteral("a\nb"));
    EXPECT_EQ(asked[0].title, QStringLiteral("Erreur !"));
    EXPECT_EQ(asked[0].style, 64);
}

TEST_F(ToolkitTest, ClipboardSeamReplacesAndRestoresTheSystemClipboard)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("system"));
    toolkit::MemoryClipboard fake;
    toolkit::Clipboard::install(&fake);
    toolkit::Clipboard::current().setText(QStringLiteral("fake"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("system"));
    toolkit::Clipboard::install(nullptr);
    EXPECT_EQ(toolkit::Clipboard::current().getText(), QStringLiteral("system"));
    toolkit::Clipboard::current().clear();
    EXPECT_EQ(toolkit::Clipboard::current().getText(), QString());
}

} // namespace
