#pragma once

#include "toolkit/Control.h"

class QLabel;

namespace toolkit {

class Label final : public Control {
public:
    explicit Label(QWidget* parent, const QString& caption = QString());

    QString caption() const;
    void setCaption(const QString& caption);
    // The control this label names: a screen reader reads it as the control's label, and as its
    // name when the control has none of its own.
    void setLabelFor(Control& control);

private:
    QLabel* m_label;
};

} // namespace toolkit
