#pragma once

#include <QString>
#include <functional>

namespace toolkit {

// A text that raises Change when it becomes different. Setting a different text runs the
// Change handler nested, before the set returns; setting the text it already holds raises
// nothing. The conversion rules depend on both halves, so they live here, once, for the real
// text box and for the windowless field alike.
class TextField {
public:
    virtual ~TextField() = default;

    QString text() const { return storedText(); }
    void setText(const QString& text);

    std::function<void()> onChange;

protected:
    virtual QString storedText() const = 0;
    // Stores the text without raising anything; setText raises Change itself.
    virtual void storeText(const QString& text) = 0;
    void raiseChange();
};

} // namespace toolkit
