#pragma once

#include "toolkit/Control.h"

#include <QStringList>

class QComboBox;

namespace toolkit {

// A drop-down list: the user can only pick one of its items.
class ComboBox final : public Control {
public:
    ComboBox(QWidget* parent, const QStringList& items);

    // The index of the chosen item, from 0; -1 when none is chosen.
    int listIndex() const;
    // An index outside the list chooses nothing.
    void setListIndex(int index);
    int listCount() const;

private:
    QComboBox* m_combo;
};

} // namespace toolkit
