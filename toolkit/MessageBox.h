#pragma once

#include <QString>
#include <functional>

namespace toolkit {

// A modal message with one OK button. Tests answer it through a seam instead of a window, so
// that no test ever blocks on a modal dialog.
class MessageBox {
public:
    enum Style { Information = 64 };

    struct Request {
        QString text; // a line feed breaks the line
        QString title;
        int style = Information;
    };

    // Shows the message and returns once it is closed.
    static void show(const QString& text, const QString& title, int style = Information);

    // Replaces the window by a function that receives every request (an empty function restores
    // the real message box).
    static void setAnswerer(std::function<void(const Request&)> answerer);
};

} // namespace toolkit
