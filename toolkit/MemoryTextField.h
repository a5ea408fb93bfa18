#pragma once

#include "toolkit/TextField.h"

namespace toolkit {

// A text field without a window, with the same Change semantics as a text box.
class MemoryTextField final : public TextField {
protected:
    QString storedText() const override { return m_text; }
    void storeText(const QString& text) override { m_text = text; }

private:
    QString m_text;
};

} // namespace toolkit
