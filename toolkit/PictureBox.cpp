#include "toolkit/PictureBox.h"

#include "toolkit/PictureBoxWidget.h"

namespace toolkit {

PictureBox::PictureBox(QWidget* parent)
    : Control(new PictureBoxWidget(parent))
    , m_box(static_cast<PictureBoxWidget*>(widget()))
{
    m_box->pressed = [this] {
        if (onMouseDown)
            onMouseDown();
    };
    m_box->released = [this] {
        if (onMouseUp)
            onMouseUp();
    };
    m_box->clicked = [this] {
        if (onClick)
            onClick();
    };
}

PictureBox::~PictureBox()
{
    m_box->pressed = nullptr;
    m_box->released = nullptr;
    m_box->clicked = nullptr;
}

void PictureBox::setPicture(const Picture& picture, int pixels)
{
    m_box->setPicture(picture, pixels);
}

void PictureBox::setBorderStyle(BorderStyle style) { m_box->setBorderStyle(style); }

BorderStyle PictureBox::borderStyle() const { return m_box->borderStyle(); }

void PictureBox::refresh() { m_box->repaint(); }

void PictureBox::click() { m_box->click(); }

} // namespace toolkit
