#include "toolkit/PictureBoxWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

namespace toolkit {

namespace {
    bool isSpace(const QKeyEvent& event)
    {
        return event.key() == Qt::Key_Space && !event.isAutoRepeat()
            && !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    }
}

PictureBoxWidget::PictureBoxWidget(QWidget* parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

PictureBoxWidget::~PictureBoxWidget() = default;

void PictureBoxWidget::setPicture(const Picture& picture, int pixels)
{
    m_picture = picture;
    m_pictureSize = pixels;
    update();
}

void PictureBoxWidget::click()
{
    if (clicked)
        clicked();
}

void PictureBoxWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect edge = rect().adjusted(0, 0, -1, -1);
    const bool down = isDown();
    // A border takes a pixel on each side, which moves the picture in: the pressed look.
    const int inset = down ? 1 : 0;
    m_picture.draw(painter, QRect(inset, inset, m_pictureSize, m_pictureSize));
    if (m_focusFrame && hasFocus() && !down) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(edge);
    }
    if (down) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(edge);
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
        && rect().contains(event->position().toPoint()))
        click();
}

void PictureBoxWidget::keyPressEvent(QKeyEvent* event)
{
    if (isSpace(*event)) {
        event->accept();
        m_keyDown = true;
        repaint();
        return;
    }
    if (event->key() == Qt::Key_Space && event->isAutoRepeat()) {
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        event->accept();
        click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PictureBoxWidget::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && m_keyDown) {
        event->accept();
        m_keyDown = false;
        repaint();
        click();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void PictureBoxWidget::focusInEvent(QFocusEvent* event)
{
    // A frame shows where Tab has gone; a click shows where it went by itself. Coming back to
    // the window keeps what was shown.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        m_focusFrame = event->reason() != Qt::MouseFocusReason;
    QWidget::focusInEvent(event);
    update();
}

void PictureBoxWidget::focusOutEvent(QFocusEvent* event)
{
    // Space held while the focus leaves does not click.
    m_keyDown = false;
    QWidget::focusOutEvent(event);
    update();
}

} // namespace toolkit
