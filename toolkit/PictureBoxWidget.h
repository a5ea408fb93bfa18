#pragma once

#include "toolkit/BorderStyle.h"
#include "toolkit/Picture.h"

#include <QWidget>
#include <functional>

namespace toolkit {

// Draws a picture at its top left and, with a fixed single border style, a single border around it;
// reports presses, releases and clicks of any mouse button. From the keyboard it is a push
// button: Space clicks on release, showing the pressed look while held, and Enter clicks at once.
// Focus reached from the keyboard shows a frame along its edges; the picture stays in place.
class PictureBoxWidget final : public QWidget {
public:
    explicit PictureBoxWidget(QWidget* parent);
    ~PictureBoxWidget() override;

    void setPicture(const Picture& picture, int pixels);
    void setBorderStyle(BorderStyle style) { m_borderStyle = style; }
    BorderStyle borderStyle() const { return m_borderStyle; }
    // Pressed by the mouse (as far as the program's border shows it) or by Space.
    bool isDown() const { return m_borderStyle == BorderStyle::FixedSingle || m_keyDown; }
    // Runs the click, as a release of the primary button over the box would.
    void click();

    std::function<void()> pressed;
    std::function<void()> released;
    std::function<void()> clicked;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    Picture m_picture;
    int m_pictureSize = 0;
    BorderStyle m_borderStyle = BorderStyle::None;
    bool m_pressed = false;
    bool m_keyDown = false;
    bool m_focusFrame = false;
};

} // namespace toolkit
