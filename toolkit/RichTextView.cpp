#include "toolkit/RichTextView.h"

#include <algorithm>

namespace toolkit {

RichTextView::RichTextView(QWidget* parent)
    : QTextBrowser(parent)
{
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(MinimumLayoutWidth);
}

void RichTextView::resizeEvent(QResizeEvent* event)
{
    QTextBrowser::resizeEvent(event);
    setLineWrapColumnOrWidth(std::max(MinimumLayoutWidth, viewport()->width()));
}

} // namespace toolkit
