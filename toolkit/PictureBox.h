#pragma once

#include "toolkit/BorderStyle.h"
#include "toolkit/Control.h"

#include <functional>

namespace toolkit {

class Picture;
class PictureBoxWidget;

// A picture box used as an image button.
class PictureBox final : public Control {
public:
    explicit PictureBox(QWidget* parent);
    ~PictureBox() override;

    // Drawn `pixels` wide and high at the top left corner, as the picture was drawn.
    void setPicture(const Picture& picture, int pixels);
    // Shown at the next Refresh.
    void setBorderStyle(BorderStyle style);
    BorderStyle borderStyle() const;
    // Draws the box at once, not at the next pass of the event loop.
    void refresh();
    // Clicks it as the keyboard does, running onClick without the mouse events.
    void click();

    std::function<void()> onMouseDown;
    std::function<void()> onMouseUp;
    std::function<void()> onClick;

private:
    PictureBoxWidget* m_box;
};

} // namespace toolkit
