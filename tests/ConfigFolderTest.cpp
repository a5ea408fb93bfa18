#include "app/ConfigFolder.h"

#include "tests/support/Shell.h"
#include "tests/support/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using namespace Qt::StringLiterals;

TEST(ConfigFolderTest, PathFollowsTheXdgRules)
{
    const struct {
        const char* name;
        QString xdgConfigHome, home, expected;
    } cases[] = {
        { "HomeWhenXdgRelative", u"conf"_s, u"/home/u"_s, u"/home/u/.config/quilmar"_s },
        { "XdgEvenWithoutHome", u"/x/conf"_s, {}, u"/x/conf/quilmar"_s },
        { "NothingWhenHomeRelative", {}, u"home/u"_s, {} },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConfigFolder::path(c.xdgConfigHome, c.home), c.expected) << c.name;
}

int mode(const QString& path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : -1;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

// Each row starts from a scratch home holding an old Quilmar.ini and a configuration base "cfg",
// in which it makes what stands at the folder's place beforehand.
TEST(ConfigFolderTest, PrepareKeepsTheUsersSettings)
{
    const struct {
        const char* name;
        const char* setup;
        bool fails;
        QByteArray expectedNew, expectedOld;
    } cases[] = {
        { "ExistingFolderKeepsItsMode", "mkdir -m 755 quilmar", false, "old\n", "(none)" },
        { "OldSettingsStayWhenTheFolderHasSome",
            "mkdir -m 755 quilmar; echo new >quilmar/Quilmar.ini", false, "new\n", "old\n" },
        { "FileInTheWayFailsAndMovesNothing", "echo >quilmar", true, "(none)", "old\n" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir home;
        const QString base = home.filePath(u"cfg"_s);
        const QString folder = base + u"/quilmar"_s;
        ASSERT_TRUE(
            shell(home.path(), "echo old >Quilmar.ini; mkdir -m 755 cfg") && shell(base, c.setup));

        // Without a mask, only the folder's own mode keeps others out.
        const mode_t previousMask = ::umask(0);
        const QString failure = ConfigFolder::prepare(folder, home.path());
        ::umask(previousMask);

        EXPECT_EQ(!failure.isEmpty(), c.fails) << str(failure);
        EXPECT_EQ(contents(folder + u"/Quilmar.ini"_s), c.expectedNew);
        EXPECT_EQ(contents(home.filePath(u"Quilmar.ini"_s)), c.expectedOld);
        EXPECT_EQ(mode(base), 0755);
        if (QFileInfo(folder).isDir()) {
            EXPECT_EQ(mode(folder), 0755) << "a folder of the user's keeps its mode";
        }
    }
}

} // namespace
