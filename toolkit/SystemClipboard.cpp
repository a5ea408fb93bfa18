#include "toolkit/SystemClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace toolkit {

void SystemClipboard::clear()
{
    if (auto* clipboard = QGuiApplication::clipboard())
        clipboard->clear();
}

void SystemClipboard::setText(const QString& text)
{
    if (auto* clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
}

QString SystemClipboard::getText() const
{
    auto* clipboard = QGuiApplication::clipboard();
    return clipboard ? clipboard->text() : QString();
}

} // namespace toolkit
