#include "toolkit/TextField.h"

namespace toolkit {

void TextField::setText(const QString& text)
{
    if (text == storedText())
        return;
    storeText(text);
    raiseChange();
}

void TextField::raiseChange()
{
    if (onChange)
        onChange();
}

} // namespace toolkit
