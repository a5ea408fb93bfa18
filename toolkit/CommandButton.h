#pragma once

#include "toolkit/Control.h"

#include <functional>

class QPushButton;

namespace toolkit {

class CommandButton final : public Control {
public:
    CommandButton(QWidget* parent, const QString& caption);
    ~CommandButton() override;

    QString caption() const;
    // Clicks it as the user would, running onClick.
    void click();

    std::function<void()> onClick;

private:
    QPushButton* m_button;
};

} // namespace toolkit
