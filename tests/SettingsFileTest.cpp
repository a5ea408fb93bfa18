#include "app/SettingsFile.h"

#include "tests/support/Seams.h"
#include "tests/support/Shell.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <grp.h>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace Qt::StringLiterals;

const QByteArray kWorkedExample
    = "\"Euros\"\r\n\"Francs\"\r\n\"E\"\r\n\"F\"\r\n1\r\n6.55957\r\n3\r\n3750\r\n4050\r\n4110\r\n";
const QByteArray kFourLines = kWorkedExample.left(29);
const SettingsRecord kWorked
    = { { u"Euros"_s, u"Francs"_s }, { u"E"_s, u"F"_s }, 1, 6.55957, 3, 3750, 4050, 4110 };
// Differs from every record below in every field, so a test sees which fields a read stored.
const SettingsRecord kStart = { { u"n1"_s, u"n2"_s }, { u"s1"_s, u"s2"_s }, 0, 9.5, 0, 1, 2, 3 };

// The worked example with `a` replaced by `b`, or with another rate or window top.
QByteArray edit(const char* a, const char* b) { return QByteArray(kWorkedExample).replace(a, b); }
QByteArray rate(const char* text) { return edit("6.55957", text); }
QByteArray top(const char* text) { return edit("4050", text); }

// The file written from kStart after a read stored the first `n` lines of `read` into it.
QByteArray after(const QByteArray& read, int n)
{
    return (read.split('\n').first(n) + SettingsFile::write(kStart).split('\n').mid(n)).join('\n');
}

// A read stores the fields one by one until the first that fails; only ten whole fields make a
// success. Each row: the bytes, the fields stored, and the file that the values read write, when
// it is not the bytes themselves.
TEST(SettingsFileTest, ReadStoresFieldsUntilTheFirstFailure)
{
    const struct {
        const char* name;
        QByteArray bytes;
        int stored;
        QByteArray written = {};
    } cases[] = {
        { "EmptyFileStoresNothing", "", 0 },
        { "FieldsBeforeTheMissingOnesAreStored", kFourLines, 4 },
        { "NothingAfterTheTenthIsRead", kWorkedExample + "9\r\n\"x\"\r\nnot read", 10 },
        { "AnyLineEndCommaAndBlanksBetweenFields",
            "\"Euros\"\n\"Francs\"\r\"E\",\"F\"\r\n\t1 \r\n 6.55957\n3\r3750,4050\r\n4110", 10,
            kWorkedExample },
        { "QuotesKeepCommasAndSkipWhatFollows",
            "\" a, b \"\r\n\"\"\r\n\"$\"junk, \"\x80\",0,0.5,0,-1920,-5,4110", 10,
            "\" a, b \"\r\n\"\"\r\n\"$\"\r\n\"\x80\"\r\n0\r\n0.5\r\n0\r\n-1920\r\n-5\r\n4110\r\n" },
        { "UnquotedTextLosesTrailingBlanks", "US $  \r\nYen\r\n\xA5\r\n$\r\n", 4,
            "\"US $\"\r\n\"Yen\"\r\n\"\xA5\"\r\n\"$\"\r\n" },
        { "UnclosedQuoteEndsAtTheLineEnd", edit("\"Euros\"", "\"Euros"), 10, kWorkedExample },
        { "BlankLineIsAnEmptyField", edit("\r\n3750", "\r\n\r\n3750"), 7 },
        { "ToolTipsAboveOneAreShown", edit("\r\n1\r\n", "\r\n255\r\n"), 10, kWorkedExample },
        { "ToolTipsBelowZeroFail", edit("\r\n1\r\n", "\r\n-1\r\n"), 4 },
        { "DecimalsAboveFourShowFour", edit("\r\n3\r\n", "\r\n255\r\n"), 10,
            edit("\r\n3\r\n", "\r\n4\r\n") },
        { "DecimalsPastAByteFail", edit("\r\n3\r\n", "\r\n256\r\n"), 6 },
        { "RateInExponentForm", rate("1E+20"), 10, rate("1e+20") },
        { "RateMustFillItsField", rate("6.5.5"), 5 },
        { "InfiniteRateFails", rate("inf"), 5 },
        { "RateOutOfRangeFails", rate("1e400"), 5 },
        { "WindowFieldsTakeThe32BitRange", edit("3750\r\n4050", "-2147483648\r\n2147483647"), 10 },
        { "WindowFieldAbove32BitsFails", top("2147483648"), 8 },
        { "WindowFieldsMustBeWhole", top("1e3"), 8 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsRecord record = kStart;
        EXPECT_EQ(SettingsFile::read(c.bytes, record), c.stored == 10);
        EXPECT_EQ(
            SettingsFile::write(record), after(c.written.isNull() ? c.bytes : c.written, c.stored));
    }
}

// A quote, CR or LF in a string is written "?", since each would end the field early and shift
// every later one. Numbers keep their point under a French locale, whose decimal separator is a
// comma. (Other records read back as written: the settings fuzzer replays its corpus for that.)
TEST(SettingsFileTest, WrittenRecordsReadBackUnderAFrenchLocale)
{
    const LocaleSet locale("fr_FR.UTF-8");
    if (!locale.installed())
        GTEST_SKIP() << "fr_FR.UTF-8 is not installed here";
    EXPECT_EQ(SettingsFile::write(kWorked), kWorkedExample);
    const SettingsRecord bad = { { u"\""_s, u"\r"_s }, { u"円"_s, u"\n"_s }, 1, 0.15, 2, 3, 4, 5 };
    const SettingsRecord fixed = { { u"?"_s, u"?"_s }, { u"?"_s, u"?"_s }, 1, 0.15, 2, 3, 4, 5 };
    SettingsRecord record = kStart;
    EXPECT_TRUE(SettingsFile::read(SettingsFile::write(bad), record));
    EXPECT_EQ(record, fixed);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Two large versions saved in turn, so that a save takes long enough to be cut short, killed
// from before the first save to the middle of the third one: the file is always one of them whole.
TEST(SettingsFileTest, SaveKilledHalfWayLeavesAWholeFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Quilmar.ini"_s);
    ASSERT_TRUE(SettingsFile::save(path, kWorked));
    const SettingsRecord versions[2] = { { { QString(1 << 20, u'a'), {} }, {}, 1, 1.5, 3, 0, 0, 0 },
        { { QString(1 << 20, u'b'), {} }, {}, 1, 1.5, 3, 0, 0, 0 } };
    const QByteArrayList whole { kWorkedExample, SettingsFile::write(versions[0]),
        SettingsFile::write(versions[1]) };
    for (int round = 0; round < 16; ++round) {
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        for (int i = 0; child == 0; ++i)
            SettingsFile::save(path, versions[i % 2]);
        ::usleep(static_cast<useconds_t>(round * 2500));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        EXPECT_TRUE(whole.contains(fileBytes(path))) << round;
    }
}

// Start-up meets things that are not a settings file it can read to its end: it reads none of
// them, and never waits on them nor takes long. A file is read up to a bound well above what
// ten fields need.
TEST(SettingsFileTest, LoadReadsOnlyTheStartOfARegularFile)
{
    const QByteArray longName = '"' + QByteArray(900 * 1024, 'a') + '"';
    const struct {
        const char* name;
        const char* setup; // shell commands; none: a file holding `content`
        QByteArray content;
        bool complete; // all ten fields read; otherwise none
    } cases[] = {
        { "LinkToADevice", "ln -s /dev/zero Quilmar.ini", {}, false },
        { "Fifo", "mkfifo Quilmar.ini", {}, false },
        { "FirstNameCutByTheBound", "", '"' + QByteArray(2 << 20, 'a') + kWorkedExample, false },
        { "LongNameThenMoreAfterTheBound", "",
            edit("\"Euros\"", longName) + QByteArray(2 << 20, 'x'), true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Quilmar.ini"_s);
        QFile file(path);
        ASSERT_TRUE(*c.setup
                ? shell(dir.path(), c.setup)
                : file.open(QIODevice::WriteOnly) && file.write(c.content) == c.content.size());
        file.close();
        SettingsRecord record = kStart;
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(SettingsFile::load(path, record), c.complete);
        EXPECT_LT(timer.elapsed(), 2000);
        EXPECT_EQ(record == kStart, !c.complete);
    }
}

// Everything under a folder as lstat() sees it: kind and mode, owner, group, and the content of
// a file or the target of a link.
struct Entry {
    mode_t mode;
    uid_t uid;
    gid_t gid;
    QByteArray content;
    bool operator==(const Entry&) const = default;
};
using Snapshot = std::map<std::string, Entry>;

void PrintTo(const Entry& e, std::ostream* out)
{
    *out << std::oct << e.mode << std::dec << ' ' << e.uid << ':' << e.gid << " \""
         << e.content.left(40).toStdString() << '"';
}

Snapshot snapshot(const QString& root)
{
    Snapshot entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat status = {};
        ::lstat(QFile::encodeName(path).constData(), &status);
        Entry entry { status.st_mode, status.st_uid, status.st_gid, {} };
        if (S_ISLNK(status.st_mode))
            entry.content = QFile::encodeName(QFile::symLinkTarget(path));
        else if (S_ISREG(status.st_mode))
            entry.content = fileBytes(path);
        entries[QDir(root).relativeFilePath(path).toStdString()] = entry;
    }
    return entries;
}

// A save writes the one regular file that the path leads to, and nothing else: every entry of
// the folder keeps its kind, owner, group and mode, no link is followed that the kernel would
// refuse to follow for us, and no temporary file is left behind, even when the save fails.
// "shared" is a sticky world-writable folder, "ro" a folder of the saving user.
TEST(SettingsFileTest, SaveReplacesOnlyARegularFile)
{
    enum How {
        Anyone,
        RootOnly, // only root gives a file or a link to another user
        AsOtherUser, // in a child as the other user, when run as root
        OnAFullDisk, // in a child whose writes beyond 16 bytes fail with EFBIG
    };
    struct Case {
        const char* name;
        How how;
        const char* setup; // shell commands
        const char* saved; // the path saved to
        const char* written; // the entry that takes the new content, or none
    };
    const Case cases[] = {
        { "NoFileYet", Anyone, "", "Quilmar.ini", "Quilmar.ini" },
        { "ModeKept", Anyone, "echo >Quilmar.ini; chmod 604 Quilmar.ini", "Quilmar.ini",
            "Quilmar.ini" },
        { "HardLinkOtherNameKeepsTheOld", Anyone, "echo >t; ln t Quilmar.ini", "Quilmar.ini",
            "Quilmar.ini" },
        { "OurLinkInASharedFolder", Anyone, "echo >t; ln -s ../t shared/Quilmar.ini",
            "shared/Quilmar.ini", "t" },
        { "AnothersLinkInASharedFolder", RootOnly,
            "echo >t; ln -s ../t shared/Quilmar.ini; chown -h 65534:65534 shared/Quilmar.ini",
            "shared/Quilmar.ini", nullptr },
        { "AnothersLinkInAPrivateFolder", RootOnly,
            "echo >t; ln -s t Quilmar.ini; chown -h 65534:65534 Quilmar.ini", "Quilmar.ini", "t" },
        { "AnotherUsersFileKeepsItsOwner", RootOnly,
            "echo >Quilmar.ini; chmod 640 Quilmar.ini; chown 65534:65534 Quilmar.ini",
            "Quilmar.ini", "Quilmar.ini" },
        { "LinkToAFifo", Anyone, "mkfifo f; ln -s f Quilmar.ini", "Quilmar.ini", nullptr },
        { "LinkToNothing", Anyone, "ln -s none Quilmar.ini", "Quilmar.ini", nullptr },
        { "LoopOfLinks", Anyone, "ln -s Quilmar.ini Quilmar.ini", "Quilmar.ini", nullptr },
        { "ReadOnlyFolderWritableFile", AsOtherUser, "echo >ro/Quilmar.ini; chmod 555 ro",
            "ro/Quilmar.ini", "ro/Quilmar.ini" },
        { "FullDisk", OnAFullDisk, "echo >Quilmar.ini", "Quilmar.ini", nullptr },
    };
    const bool root = ::geteuid() == 0;
    const mode_t mask = ::umask(022);
    ::umask(mask);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.how == RootOnly && !root)
            continue;
        QTemporaryDir dir;
        const QString d = dir.path();
        ASSERT_TRUE(shell(d, "mkdir ro; mkdir -m 1777 shared") && shell(d, c.setup));
        const bool asOther = c.how == AsOtherUser && root;
        // The other user's save reaches a folder and a file of theirs.
        ASSERT_TRUE(!asOther || shell(d, "chown 65534:65534 . ro ro/Quilmar.ini"));
        Snapshot expected = snapshot(d);
        if (c.written) {
            Entry& entry = expected[c.written];
            if (entry.mode == 0)
                entry = { mode_t(S_IFREG | (0666 & ~mask)), ::geteuid(), ::getegid(), {} };
            entry.content = kWorkedExample;
        }
        const QString path = d + u'/' + QString::fromLatin1(c.saved);
        bool saved = false;
        if (asOther || c.how == OnAFullDisk) {
            const pid_t child = ::fork();
            if (child == 0) {
                const rlimit limit { 16, 16 };
                const bool ready = asOther
                    // 65534: nobody, another user and group
                    ? ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0
                    : std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR
                        && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
                ::_exit(ready && SettingsFile::save(path, kWorked) ? 0 : 1);
            }
            int status = -1;
            ::waitpid(child, &status, 0);
            saved = status == 0;
        } else {
            saved = SettingsFile::save(path, kWorked);
        }
        EXPECT_EQ(saved, c.written != nullptr);
        EXPECT_EQ(snapshot(d), expected);
    }
}

} // namespace
