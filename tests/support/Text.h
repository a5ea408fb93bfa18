#pragma once

#include <QString>
#include <ostream>
#include <string>

// GoogleTest shows a QString as its text rather than as bytes.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// For comparisons whose failure should read as text.
inline std::string str(const QString& text) { return text.toStdString(); }
