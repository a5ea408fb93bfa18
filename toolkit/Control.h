#pragma once

#include <QString>

class QWidget;

namespace toolkit {

// What every control shares: a place in twips inside its container's client area, a tooltip
// and the focus. The Qt widget belongs to its parent; the control only points at it.
class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    float left() const { return m_left; }
    float top() const { return m_top; }
    float width() const { return m_width; }
    float height() const { return m_height; }
    void setLeft(float twips);
    void setTop(float twips);
    void setWidth(float twips);
    void setHeight(float twips);
    void setGeometry(float left, float top, float width, float height);

    QString toolTipText() const;
    void setToolTipText(const QString& text);

    // What a screen reader says of the control, whether tooltips are shown or not.
    void setAccessibleText(const QString& name, const QString& description);

    // A font by family name; fontconfig stands a metric-compatible face in for a missing one.
    void setFont(const QString& family, float pointSize, bool bold);

    void setFocus();
    bool hasFocus() const;

    QWidget* widget() const { return m_widget; }

protected:
    explicit Control(QWidget* widget);

private:
    void applyGeometry();

    QWidget* m_widget;
    float m_left = 0;
    float m_top = 0;
    float m_width = 0;
    float m_height = 0;
};

} // namespace toolkit
