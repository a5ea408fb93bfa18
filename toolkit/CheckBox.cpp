#include "toolkit/CheckBox.h"

#include <QCheckBox>

namespace toolkit {

CheckBox::CheckBox(QWidget* parent, const QString& caption)
    : Control(new QCheckBox(caption, parent))
    , m_box(static_cast<QCheckBox*>(widget()))
{
}

int CheckBox::value() const { return m_box->isChecked() ? 1 : 0; }

void CheckBox::setValue(int value) { m_box->setChecked(value != 0); }

} // namespace toolkit
