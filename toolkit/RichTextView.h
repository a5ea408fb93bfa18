#pragma once

#include <QTextBrowser>

namespace toolkit {

// The view of a RichTextBox. It never lays its document out narrower than a minimum width, where
// a long document would grow too tall for Qt's layout; a narrower view scrolls sideways instead.
class RichTextView final : public QTextBrowser {
public:
    static constexpr int MinimumLayoutWidth = 200; // pixels

    explicit RichTextView(QWidget* parent);

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace toolkit
