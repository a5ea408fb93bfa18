#include "app/ConfigFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using namespace Qt::StringLiterals;

struct PathCase {
    const char* name;
    QString xdgConfigHome, home, expected;
};

void PrintTo(const PathCase& c, std::ostream* out) { *out << c.name; }

const PathCase kPathCases[] = {
    { "XdgConfigHomeFirst", u"/x/conf/"_s, u"/home/u"_s, u"/x/conf/quilmar"_s },
    { "HomeWhenXdgUnset", {}, u"/home/u"_s, u"/home/u/.config/quilmar"_s },
    { "HomeWhenXdgRelative", u"conf"_s, u"/home/u"_s, u"/home/u/.config/quilmar"_s },
    { "XdgEvenWithoutHome", u"/x/conf"_s, {}, u"/x/conf/quilmar"_s },
    { "NothingWhenHomeRelative", {}, u"home/u"_s, {} },
};

class ConfigFolderPathTest : public ::testing::TestWithParam<PathCase> { };

TEST_P(ConfigFolderPathTest, FollowsTheXdgRules)
{
    const PathCase& c = GetParam();
    EXPECT_EQ(ConfigFolder::path(c.xdgConfigHome, c.home), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Environment, ConfigFolderPathTest, ::testing::ValuesIn(kPathCases),
    [](const auto& info) { return std::string(info.param.name); });

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

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    file.write(bytes);
}

// Each row prepares a scratch home: "cfg" is the configuration base. `existing` is the
// folder's state beforehand: absent, made 0755, holding its own Quilmar.ini, or a file in its
// place. The checks: failure or not, both Quilmar.ini files afterwards, the modes.
enum class Existing { None, Folder, FolderWithSettings, FileInTheWay };

struct PrepareCase {
    const char* name;
    Existing existing;
    QByteArray oldSettings; // home/Quilmar.ini; empty: none
    bool fails;
    QByteArray expectedNew, expectedOld;
    int folderMode, baseMode; // 0: not checked
};

void PrintTo(const PrepareCase& c, std::ostream* out) { *out << c.name; }

const PrepareCase kPrepareCases[] = {
    { "CreatesFolderAndParentPrivate", Existing::None, {}, false, "(none)", "(none)", 0700, 0700 },
    { "MovesOldSettingsIntoNewFolder", Existing::None, "old", false, "old", "(none)", 0700, 0700 },
    { "ExistingFolderKeepsItsMode", Existing::Folder, "old", false, "old", "(none)", 0755, 0755 },
    { "OldSettingsStayWhenFolderHasSome", Existing::FolderWithSettings, "old", false, "new", "old",
        0755, 0755 },
    { "FileInTheWayFailsAndMovesNothing", Existing::FileInTheWay, "old", true, "(none)", "old", 0,
        0755 },
};

class ConfigFolderPrepareTest : public ::testing::TestWithParam<PrepareCase> { };

TEST_P(ConfigFolderPrepareTest, KeepsTheUsersSettings)
{
    const PrepareCase& c = GetParam();
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString base = home.filePath(u"cfg"_s);
    const QString folder = base + u"/quilmar"_s;
    if (c.existing != Existing::None) {
        ASSERT_TRUE(QDir().mkpath(base));
        ::chmod(QFile::encodeName(base).constData(), 0755);
    }
    if (c.existing == Existing::FileInTheWay) {
        put(folder, "not a folder");
    } else if (c.existing != Existing::None) {
        ASSERT_TRUE(QDir().mkdir(folder));
        ::chmod(QFile::encodeName(folder).constData(), 0755);
    }
    if (c.existing == Existing::FolderWithSettings)
        put(folder + u"/Quilmar.ini"_s, "new");
    if (!c.oldSettings.isEmpty())
        put(home.filePath(u"Quilmar.ini"_s), c.oldSettings);

    // Without a mask, only the folder's own mode keeps others out.
    const mode_t previousMask = ::umask(0);
    const QString failure = ConfigFolder::prepare(folder, home.path());
    ::umask(previousMask);

    EXPECT_EQ(!failure.isEmpty(), c.fails) << qPrintable(failure);
    EXPECT_EQ(contents(folder + u"/Quilmar.ini"_s), c.expectedNew);
    EXPECT_EQ(contents(home.filePath(u"Quilmar.ini"_s)), c.expectedOld);
    if (c.folderMode != 0) {
        EXPECT_EQ(mode(folder), c.folderMode);
    }
    EXPECT_EQ(mode(base), c.baseMode);
}

INSTANTIATE_TEST_SUITE_P(Folders, ConfigFolderPrepareTest, ::testing::ValuesIn(kPrepareCases),
    [](const auto& info) { return std::string(info.param.name); });
}
