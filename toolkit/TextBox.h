#pragma once

#include "toolkit/Control.h"
#include "toolkit/TextField.h"

#include <cstdint>
#include <functional>

namespace toolkit {

class TextBoxEdit;

// A one-line text box. Every typed character passes through onKeyPress first, as a 16-bit code
// of the Western code page (Ctrl+A to Ctrl+Z are 1 to 26, Backspace 8, Enter 13, Escape 27, a
// character the code page cannot hold 63). The handler may set the code to 0 to drop the
// keystroke or to another code to type that character instead. Keys that produce no character
// (Delete, arrows) do not pass through it.
class TextBox final : public Control, public TextField {
public:
    enum class Alignment { Left, Right };

    explicit TextBox(QWidget* parent);
    ~TextBox() override;

    // The most characters the box holds; 0 for no limit.
    void setMaxLength(int length);
    void setAlignment(Alignment alignment);

    int cursorPosition() const;
    void setCursorPosition(int position);
    void setSelection(int start, int length);
    QString selectedText() const;

    std::function<void(std::int16_t& code)> onKeyPress;

protected:
    QString storedText() const override;
    void storeText(const QString& text) override;

private:
    friend class TextBoxEdit;
    void userChanged() { raiseChange(); }

    TextBoxEdit* m_edit;
};

} // namespace toolkit
