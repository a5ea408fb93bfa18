#include "toolkit/CommandButton.h"

#include <QPushButton>

namespace toolkit {

CommandButton::CommandButton(QWidget* parent, const QString& caption)
    : Control(new QPushButton(caption, parent))
    , m_button(static_cast<QPushButton*>(widget()))
{
    m_button->setAutoDefault(false);
    QObject::connect(m_button, &QPushButton::clicked, m_button, [this] {
        if (onClick)
            onClick();
    });
}

CommandButton::~CommandButton() { QObject::disconnect(m_button, nullptr, m_button, nullptr); }

QString CommandButton::caption() const { return m_button->text(); }

void CommandButton::click() { m_button->click(); }

} // namespace toolkit
