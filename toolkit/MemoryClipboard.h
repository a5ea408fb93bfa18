#pragma once

#include "toolkit/Clipboard.h"

namespace toolkit {

// A clipboard of its own, for tests and for running without a display.
class MemoryClipboard final : public Clipboard {
public:
    void clear() override
    {
        m_text.clear();
        ++m_clears;
    }
    void setText(const QString& text) override { m_text = text; }
    QString getText() const override { return m_text; }

    int clears() const { return m_clears; }

private:
    QString m_text;
    int m_clears = 0;
};

} // namespace toolkit
