#include "tests/support/KeyScript.h"
#include "tests/support/Seams.h"

#include <QKeySequence>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>
#include <clocale>

using namespace Qt::StringLiterals;

QKeyCombination namedKey(const QString& name) { return QKeySequence(name)[0]; }

void type(QWidget* widget, const QString& script)
{
    for (const auto& step : QRegularExpression(u"\\{([^}]+)\\}|."_s).globalMatch(script)) {
        if (!step.hasCaptured(1)) {
            QTest::sendKeyEvent(
                QTest::Click, widget, Qt::Key_unknown, step.captured(), Qt::NoModifier);
            continue;
        }
        const QKeyCombination key = namedKey(step.captured(1));
        const bool control = key.keyboardModifiers() == Qt::ControlModifier
            && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z;
        const QString text = control ? QString(QChar(key.key() - Qt::Key_A + 1)) : QString();
        QTest::sendKeyEvent(QTest::Click, widget, key.key(), text, key.keyboardModifiers());
    }
}

LocaleSet::LocaleSet(const char* name)
    : m_previous(std::setlocale(LC_ALL, nullptr))
    , m_installed(std::setlocale(LC_ALL, name) != nullptr)
{
    if (m_installed)
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
}

LocaleSet::~LocaleSet()
{
    std::setlocale(LC_ALL, m_previous.c_str());
    QLocale::setDefault(QLocale::c());
}
