#include "toolkit/ComboBox.h"

#include <QComboBox>

namespace toolkit {

ComboBox::ComboBox(QWidget* parent, const QStringList& items)
    : Control(new QComboBox(parent))
    , m_combo(static_cast<QComboBox*>(widget()))
{
    m_combo->addItems(items);
}

int ComboBox::listIndex() const { return m_combo->currentIndex(); }

void ComboBox::setListIndex(int index)
{
    m_combo->setCurrentIndex(index >= 0 && index < m_combo->count() ? index : -1);
}

int ComboBox::listCount() const { return m_combo->count(); }

} // namespace toolkit
