#pragma once

#include <QKeyCombination>
#include <QString>

class QWidget;

// One notation for the keys every window test types: each character is a key with its text, a
// named key stands in braces ("{Home}", "{Shift+Ins}", "{Ctrl+V}", "{Num+Enter}").
QKeyCombination namedKey(const QString& name);
// Types a script into the widget as the platform delivers it: Ctrl with a letter carries its
// control code as text ("{Ctrl+C}" types "\x03").
void type(QWidget* widget, const QString& script);
