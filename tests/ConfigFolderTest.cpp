#include "app/ConfigFolder.h"

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
        { "XdgConfigHomeFirst", u"/x/conf/"_s, u"/home/u"_s, u"/x/conf/quilmar"_s },
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

bool put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Each row starts from a scratch home holding an old Quilmar.ini, "cfg" being the configuration
// base; what stands at the folder's place beforehand is made 0755.
TEST(ConfigFolderTest, PrepareKeepsTheUsersSettings)
{
    enum Existing { None, Folder, FolderWithSettings, FileInTheWay };
    const struct {
        const char* name;
        Existing existing;
        bool fails;
        QByteArray expectedNew, expectedOld;
        int mode; // of the base, and of the folder when there is one
    } cases[] = {
        { "MovesOldSettingsIntoANewPrivateFolder", None, false, "old", "(none)", 0700 },
        { "ExistingFolderKeepsItsMode", Folder, false, "old", "(none)", 0755 },
        { "OldSettingsStayWhenTheFolderHasSome", FolderWithSettings, false, "new", "old", 0755 },
        { "FileInTheWayFailsAndMovesNothing", FileInTheWay, true, "(none)", "old", 0755 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir home;
        const QString base = home.filePath(u"cfg"_s);
        const QString folder = base + u"/quilmar"_s;
        if (c.existing != None)
            ASSERT_TRUE(
                QDir().mkpath(base) && ::chmod(QFile::encodeName(base).constData(), 0755) == 0);
        if (c.existing == FileInTheWay)
            ASSERT_TRUE(put(folder, "not a folder"));
        else if (c.existing != None)
            ASSERT_TRUE(
                QDir().mkdir(folder) && ::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
        if (c.existing == FolderWithSettings)
            ASSERT_TRUE(put(folder + u"/Quilmar.ini"_s, "new"));
        ASSERT_TRUE(put(home.filePath(u"Quilmar.ini"_s), "old"));

        // Without a mask, only the folder's own mode keeps others out.
        const mode_t previousMask = ::umask(0);
        const QString failure = ConfigFolder::prepare(folder, home.path());
        ::umask(previousMask);

        EXPECT_EQ(!failure.isEmpty(), c.fails) << str(failure);
        EXPECT_EQ(contents(folder + u"/Quilmar.ini"_s), c.expectedNew);
        EXPECT_EQ(contents(home.filePath(u"Quilmar.ini"_s)), c.expectedOld);
        EXPECT_EQ(mode(base), c.mode);
        if (QFileInfo(folder).isDir())
            EXPECT_EQ(mode(folder), c.mode);
    }
}

} // namespace
