#include "toolkit/Control.h"

#include "toolkit/Accessibility.h"
#include "toolkit/Twips.h"

#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QWidget>
#include <algorithm>

namespace toolkit {

Control::Control(QWidget* widget)
    : m_widget(widget)
{
    Accessibility::install();
    // A frame's caption font is its own: the controls inside keep the window's font.
    if (qobject_cast<QGroupBox*>(widget->parentWidget())) {
        QFont font = QApplication::font();
        font.setFamily(font.family());
        font.setPointSizeF(font.pointSizeF());
        font.setBold(false);
        widget->setFont(font);
    }
}

Control::~Control() = default;

void Control::setLeft(float twips)
{
    m_left = twips;
    applyGeometry();
}

void Control::setTop(float twips)
{
    m_top = twips;
    applyGeometry();
}

void Control::setWidth(float twips)
{
    m_width = twips;
    applyGeometry();
}

void Control::setHeight(float twips)
{
    m_height = twips;
    applyGeometry();
}

void Control::setGeometry(float left, float top, float width, float height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    applyGeometry();
}

void Control::applyGeometry()
{
    // Edges are rounded rather than sizes, so that neighbours never overlap or gap.
    const int x = Twips::toPixels(m_left);
    const int y = Twips::toPixels(m_top);
    const int right = Twips::toPixels(m_left + m_width);
    const int bottom = Twips::toPixels(m_top + m_height);
    m_widget->setGeometry(x, y, std::max(0, right - x), std::max(0, bottom - y));
}

QString Control::toolTipText() const { return m_widget->toolTip(); }

void Control::setToolTipText(const QString& text) { m_widget->setToolTip(text); }

void Control::setAccessibleText(const QString& name, const QString& description)
{
    m_widget->setAccessibleName(name);
    m_widget->setAccessibleDescription(description);
}

void Control::setFont(const QString& family, float pointSize, bool bold)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    m_widget->setFont(font);
}

void Control::setFocus() { m_widget->setFocus(Qt::OtherFocusReason); }

bool Control::hasFocus() const { return m_widget->hasFocus(); }

} // namespace toolkit
