#include "toolkit/TextBox.h"

#include "toolkit/TextBoxEdit.h"

#include <QSignalBlocker>
#include <limits>

namespace toolkit {

TextBox::TextBox(QWidget* parent)
    : Control(new TextBoxEdit(parent))
    , m_edit(static_cast<TextBoxEdit*>(widget()))
{
    m_edit->setOwner(this);
}

TextBox::~TextBox() { m_edit->setOwner(nullptr); }

void TextBox::setMaxLength(int length)
{
    m_edit->setMaxLength(length > 0 ? length : std::numeric_limits<int>::max());
}

void TextBox::setAlignment(Alignment alignment)
{
    m_edit->setAlignment(
        (alignment == Alignment::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

int TextBox::cursorPosition() const { return m_edit->cursorPosition(); }

void TextBox::setCursorPosition(int position) { m_edit->setCursorPosition(position); }

void TextBox::setSelection(int start, int length) { m_edit->setSelection(start, length); }

QString TextBox::selectedText() const { return m_edit->selectedText(); }

QString TextBox::storedText() const { return m_edit->text(); }

void TextBox::storeText(const QString& text)
{
    // TextField raises Change itself, exactly once and only for a different text.
    const QSignalBlocker blocker(m_edit);
    m_edit->setText(text);
}

} // namespace toolkit
