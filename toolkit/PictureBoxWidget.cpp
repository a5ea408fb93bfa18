#include "toolkit/PictureBoxWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <utility>

namespace toolkit {

namespace {
    constexpr int PictureSize = 24; // pixels, as the button pictures are drawn
}

PictureBoxWidget::PictureBoxWidget(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

PictureBoxWidget::~PictureBoxWidget() = default;

void PictureBoxWidget::setPicture(const Picture& picture)
{
    m_picture = picture;
    update();
}

void PictureBoxWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // A border takes a pixel on each side, which moves the picture in: the pressed look.
    const int inset = m_borderStyle == 1 ? 1 : 0;
    m_picture.draw(painter, QRect(inset, inset, PictureSize, PictureSize));
    if (m_borderStyle == 1) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void PictureBoxWidget::mousePressEvent(QMouseEvent* event)
{
    m_pressed = true;
    event->accept();
    if (pressed)
        pressed();
}

void PictureBoxWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasPressed = std::exchange(m_pressed, false);
    event->accept();
    if (released)
        released();
    // Any button shows the pressed look; only the primary one acts, as on any desktop button.
    if (wasPressed && event->button() == Qt::LeftButton
        && rect().contains(event->position().toPoint()) && clicked)
        clicked();
}

} // namespace toolkit
