#include "app/ConfigFolder.h"

#include "app/EuroProgramme.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace {

bool isAbsolute(const QString& path) { return path.startsWith(u'/'); }

// mkdir -p with 0700 for every folder it creates, whatever the umask.
QString makePrivateFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return {};
    if (info.exists() || info.isSymLink())
        return folder + QStringLiteral(" n'est pas un dossier");
    const QString parent = info.path();
    if (parent != folder) {
        if (QString failure = makePrivateFolder(parent); !failure.isEmpty())
            return failure;
    }
    if (::mkdir(QFile::encodeName(folder).constData(), S_IRWXU) == 0)
        return {};
    const int error = errno;
    if (error == EEXIST)
        return {};
    return QStringLiteral("impossible de créer ") + folder + QStringLiteral(" : ")
        + qt_error_string(error);
}

}

QString ConfigFolder::path(const QString& xdgConfigHome, const QString& home)
{
    if (isAbsolute(xdgConfigHome))
        return QDir::cleanPath(xdgConfigHome + QStringLiteral("/quilmar"));
    if (isAbsolute(home))
        return QDir::cleanPath(home + QStringLiteral("/.config/quilmar"));
    return {};
}

QString ConfigFolder::prepare(const QString& folder, const QString& home)
{
    if (QString failure = makePrivateFolder(folder); !failure.isEmpty())
        return failure;
    const QString name = QString::fromUtf16(EuroProgramme::SettingsFileName);
    const QString target = folder + u'/' + name;
    const QString old = QDir::cleanPath(home + u'/' + name);
    const QFileInfo targetInfo(target);
    if (!isAbsolute(home) || targetInfo.exists() || targetInfo.isSymLink()
        || !QFileInfo(old).isFile())
        return {};
    QFile file(old);
    if (!file.rename(target))
        return QStringLiteral("impossible de déplacer ") + old + QStringLiteral(" dans ") + folder
            + QStringLiteral(" : ") + file.errorString();
    return {};
}

void ConfigFolder::enter()
{
    const QString home = qEnvironmentVariable("HOME");
    const QString folder = path(qEnvironmentVariable("XDG_CONFIG_HOME"), home);
    QString failure = folder.isEmpty()
        ? QStringLiteral("ni XDG_CONFIG_HOME ni HOME ne donnent de dossier absolu")
        : prepare(folder, home);
    if (failure.isEmpty() && !QDir::setCurrent(folder))
        failure = QStringLiteral("impossible d'entrer dans ") + folder;
    if (!failure.isEmpty())
        std::fprintf(stderr, "quilmar : %s ; les paramètres restent dans le dossier courant\n",
            qPrintable(failure));
}
