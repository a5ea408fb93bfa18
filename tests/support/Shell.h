#pragma once

#include <QProcess>
#include <QString>

// Runs `commands` with "sh -e" in `folder`, for tests whose files are more plainly made by the
// usual commands (ln -s, mkfifo, chown): true when every command succeeded.
inline bool shell(const QString& folder, const char* commands)
{
    return QProcess::execute(QStringLiteral("sh"),
               { QStringLiteral("-ec"), QStringLiteral("cd \"$0\"; ") + QString::fromUtf8(commands),
                   folder })
        == 0;
}
