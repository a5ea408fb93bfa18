#pragma once

#include "toolkit/Control.h"

class QCheckBox;

namespace toolkit {

class CheckBox final : public Control {
public:
    CheckBox(QWidget* parent, const QString& caption);

    // 1 checked, 0 not.
    int value() const;
    void setValue(int value);

private:
    QCheckBox* m_box;
};

} // namespace toolkit
