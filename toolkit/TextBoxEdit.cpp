#include "toolkit/TextBoxEdit.h"

#include "toolkit/FormWindow.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/TextBox.h"
#include "toolkit/codepage/Cp1252.h"

#include <QKeyEvent>

namespace toolkit {

namespace {
    std::int16_t codeOf(QChar ch)
    {
        const int code = Cp1252::fromUnicode(ch);
        return std::int16_t(code < 0 ? KeyCode::QuestionMark : code);
    }
}

TextBoxEdit::TextBoxEdit(QWidget* parent)
    : QLineEdit(parent)
{
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (m_owner)
            m_owner->userChanged();
    });
}

std::optional<std::int16_t> TextBoxEdit::keystrokeCode(const QKeyEvent& event)
{
    const int key = event.key();
    const auto modifiers = event.modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) && key >= Qt::Key_A
        && key <= Qt::Key_Z)
        return KeyCode::control(static_cast<char>(key)); // Qt::Key_A is 'A'
    switch (key) {
    case Qt::Key_Backspace:
        return KeyCode::Backspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyCode::Enter;
    case Qt::Key_Escape:
        return KeyCode::Escape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return std::nullopt;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty() || text.at(0).unicode() < 0x20 || text.at(0).unicode() == 0x7F)
        return std::nullopt;
    return codeOf(text.at(0));
}

bool TextBoxEdit::formHandles(const QKeyEvent& event) const
{
    // Enter and Escape belong to the form's default and cancel buttons when it has them.
    const auto* form = dynamic_cast<const FormWindow*>(window());
    if (!form)
        return false;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return form->hasDefaultButton();
    case Qt::Key_Escape:
        return form->hasCancelButton();
    default:
        return false;
    }
}

std::int16_t TextBoxEdit::filter(std::int16_t code)
{
    if (m_owner && m_owner->onKeyPress)
        m_owner->onKeyPress(code);
    return code;
}

void TextBoxEdit::keyPressEvent(QKeyEvent* event)
{
    if (formHandles(*event)) {
        event->ignore();
        return;
    }
    const auto code = keystrokeCode(*event);
    if (!code) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString text = event->text();
    if (*code >= KeyCode::Space && text.size() > 1) {
        // A key that types several characters at once: each one is a keystroke of its own.
        QString accepted;
        for (QChar ch : text) {
            const std::int16_t result = filter(codeOf(ch));
            if (result != 0)
                accepted.append(result == codeOf(ch) ? ch : Cp1252::toUnicode(uchar(result)));
        }
        if (!accepted.isEmpty())
            insert(accepted);
        event->accept();
        return;
    }
    const std::int16_t result = filter(*code);
    if (result == 0) {
        event->accept();
        return;
    }
    if (result == *code && !(result == KeyCode::QuestionMark && text != QStringLiteral("?"))) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    typeReplacement(result);
    event->accept();
}

void TextBoxEdit::typeReplacement(std::int16_t code)
{
    if (code == KeyCode::Backspace) {
        QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QLineEdit::keyPressEvent(&backspace);
        return;
    }
    if (code < KeyCode::Space || code > 255)
        return; // control codes other than backspace type nothing
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
        QString(Cp1252::toUnicode(static_cast<unsigned char>(code))));
    QLineEdit::keyPressEvent(&typed);
}

void TextBoxEdit::inputMethodEvent(QInputMethodEvent* event)
{
    const QString commit = event->commitString();
    if (commit.isEmpty() || !m_owner || !m_owner->onKeyPress) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // Characters composed by an input method are keystrokes like typed ones, one by one.
    QString accepted;
    for (QChar ch : commit) {
        const std::int16_t code = codeOf(ch);
        const std::int16_t result = filter(code);
        if (result == 0)
            continue;
        if (result == code)
            accepted.append(ch);
        else if (result >= KeyCode::Space && result <= 255)
            accepted.append(Cp1252::toUnicode(static_cast<unsigned char>(result)));
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(accepted, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}

} // namespace toolkit
