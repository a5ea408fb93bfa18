#pragma once

#include "toolkit/Control.h"

class QLabel;

namespace toolkit {

class Label final : public Control {
public:
    explicit Label(QWidget* parent, const QString& caption = QString());

    QString caption() const;
    void setCaption(const QString& caption);

private:
    QLabel* m_label;
};

} // namespace toolkit
