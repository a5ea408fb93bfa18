#pragma once

#include "toolkit/Control.h"

namespace toolkit {

// A captioned frame; the controls inside it are placed relative to its top left.
class Frame final : public Control {
public:
    Frame(QWidget* parent, const QString& caption);

    QString caption() const;
};

} // namespace toolkit
