#pragma once

#include <QLineEdit>
#include <cstdint>
#include <optional>

namespace toolkit {

class TextBox;

// The Qt side of a TextBox: turns key events and input-method commits into keystroke codes,
// lets the owner filter them, and reports the text changes that the user makes.
class TextBoxEdit final : public QLineEdit {
public:
    explicit TextBoxEdit(QWidget* parent);

    void setOwner(TextBox* owner) { m_owner = owner; }

    // The keystroke code of a key event, or nothing for a key that produces no character.
    static std::optional<std::int16_t> keystrokeCode(const QKeyEvent& event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    std::int16_t filter(std::int16_t code);
    void typeReplacement(std::int16_t code);
    bool formHandles(const QKeyEvent& event) const;

    TextBox* m_owner = nullptr;
};

} // namespace toolkit
