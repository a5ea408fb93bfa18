#pragma once

#include "toolkit/Clipboard.h"

namespace toolkit {

class SystemClipboard final : public Clipboard {
public:
    void clear() override;
    void setText(const QString& text) override;
    QString getText() const override;
};

} // namespace toolkit
