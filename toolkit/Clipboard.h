#pragma once

#include <QString>

namespace toolkit {

// The system clipboard's plain text, behind a seam so that tests can put a fake in its place.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setText(const QString& text) = 0;
    // The clipboard's plain text; empty when it holds none or cannot be read.
    virtual QString getText() const = 0;

    // The clipboard in use: the system's unless a test installed another one.
    static Clipboard& current();
    // Installs a replacement (nullptr restores the system clipboard); the caller keeps ownership.
    static void install(Clipboard* clipboard);
};

} // namespace toolkit
