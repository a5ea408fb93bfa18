#pragma once

#include "toolkit/Picture.h"

#include <QWidget>
#include <functional>

namespace toolkit {

// Draws a picture at its top left and, with a border style of 1, a single border around it;
// reports presses, releases and clicks of any mouse button.
class PictureBoxWidget final : public QWidget {
public:
    explicit PictureBoxWidget(QWidget* parent);
    ~PictureBoxWidget() override;

    void setPicture(const Picture& picture);
    void setBorderStyle(int style) { m_borderStyle = style; }
    int borderStyle() const { return m_borderStyle; }

    std::function<void()> pressed;
    std::function<void()> released;
    std::function<void()> clicked;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Picture m_picture;
    int m_borderStyle = 0;
    bool m_pressed = false;
};

} // namespace toolkit
