#include "toolkit/Frame.h"

#include <QGroupBox>

namespace toolkit {

Frame::Frame(QWidget* parent, const QString& caption)
    : Control(new QGroupBox(caption, parent))
{
}

QString Frame::caption() const { return static_cast<QGroupBox*>(widget())->title(); }

} // namespace toolkit
