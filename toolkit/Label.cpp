#include "toolkit/Label.h"

#include <QLabel>

namespace toolkit {

Label::Label(QWidget* parent, const QString& caption)
    : Control(new QLabel(caption, parent))
    , m_label(static_cast<QLabel*>(widget()))
{
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

QString Label::caption() const { return m_label->text(); }

void Label::setCaption(const QString& caption) { m_label->setText(caption); }

void Label::setLabelFor(Control& control) { m_label->setBuddy(control.widget()); }

} // namespace toolkit
