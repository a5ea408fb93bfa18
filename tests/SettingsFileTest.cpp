#include "app/SettingsFile.h"

#include "tests/support/Seams.h"
#include "toolkit/codepage/Cp1252.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
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
// it is not the bytes themselves. Fields end at a comma or any line end, blanks around them
// aside; an unclosed quote ends at the line end; a blank line is an empty field. Numbers must
// fill their field: ShowToolTips and DecimalsIndex 0 to 255, kept as 1 and 4 past those, the rate
// any finite number, the window fields whole 32-bit numbers.
TEST(SettingsFileTest, ReadStoresFieldsUntilTheFirstFailure)
{
    const std::tuple<QByteArray, int, QByteArray> rows[] = { { "", 0, {} }, { kFourLines, 4, {} },
        { kWorkedExample, 10, {} }, { kWorkedExample + "9\r\n\"x\"\r\nnot read", 10, {} },
        { kWorkedExample.chopped(2), 10, kWorkedExample }, { kWorkedExample.chopped(6), 9, {} },
        { edit("\r\n", ","), 10, kWorkedExample }, { edit("\r\n", "\n"), 10, kWorkedExample },
        { edit("\r\n", "\r"), 10, kWorkedExample }, { edit("\r\n", "\t\r\n "), 10, kWorkedExample },
        { "\" a, b \"\r\n\"\"\r\n\"$\"junk, \"\x80\",0,0.5,0,-1920,-5,4110", 10,
            "\" a, b \"\r\n\"\"\r\n\"$\"\r\n\"\x80\"\r\n0\r\n0.5\r\n0\r\n-1920\r\n-5\r\n4110\r\n" },
        { "US $  \r\nYen\r\n\xA5\r\n$\r\n", 4, "\"US $\"\r\n\"Yen\"\r\n\"\xA5\"\r\n\"$\"\r\n" },
        { edit("\"Euros\"", "\"Euros"), 10, kWorkedExample }, { rate("-2.5"), 10, {} },
        { edit("\r\n3750", "\r\n\r\n3750"), 7, {} }, { edit("\r\n1\r\n", "\r\n300\r\n"), 4, {} },
        { edit("\r\n1\r\n", "\r\n-1\r\n"), 4, {} },
        { edit("\r\n1\r\n", "\r\n2\r\n"), 10, kWorkedExample }, // tooltips shown
        { edit("\r\n1\r\n", "\r\n255\r\n"), 10, kWorkedExample },
        { edit("\r\n1\r\n", "\r\n0\r\n"), 10, {} },
        { edit("\r\n3\r\n", "\r\n5\r\n"), 10, edit("\r\n3\r\n", "\r\n4\r\n") }, // 4 decimals
        { edit("\r\n3\r\n", "\r\n255\r\n"), 10, edit("\r\n3\r\n", "\r\n4\r\n") },
        { edit("\r\n3\r\n", "\r\n256\r\n"), 6, {} }, { edit("3750", "3750.5"), 7, {} },
        { rate(".5"), 10, rate("0.5") }, { rate("1E+20"), 10, rate("1e+20") },
        { rate("1.7976931348623157e308"), 10, rate("1.7976931348623157e+308") },
        { rate("inf"), 5, {} }, { rate("nan"), 5, {} }, { rate("1e400"), 5, {} },
        { rate("6.5.5"), 5, {} }, { rate("+6"), 5, {} }, { rate("0x10"), 5, {} },
        { top("2147483647"), 10, {} }, { top("-2147483648"), 10, {} }, { top("007"), 10, top("7") },
        { top("2147483648"), 8, {} }, { top("-2147483649"), 8, {} }, { top("1e3"), 8, {} } };
    for (const auto& [bytes, stored, written] : rows) {
        SCOPED_TRACE(bytes.toStdString());
        SettingsRecord record = kStart;
        EXPECT_EQ(SettingsFile::read(bytes, record), stored == 10);
        EXPECT_EQ(SettingsFile::write(record), after(written.isEmpty() ? bytes : written, stored));
    }
}

// The worked example byte for byte; records read back as written, but for a quote, CR or LF in a
// string, written "?" since each would end the field early and shift every later one. Numbers
// keep their point under a French locale, whose decimal separator is a comma.
class SettingsFileUnderLocale : public ::testing::TestWithParam<const char*> { };

TEST_P(SettingsFileUnderLocale, WrittenRecordsReadBack)
{
    const LocaleSet locale(GetParam());
    if (!locale.installed())
        GTEST_SKIP() << GetParam() << " is not installed here";
    EXPECT_EQ(SettingsFile::write(kWorked), kWorkedExample);
    EXPECT_EQ(kWorkedExample.size(), 62);
    QByteArray allBytes; // every byte but the three that end a quoted field
    for (int b = 0; b < 256; ++b)
        allBytes += QByteArray(b != '"' && b != '\r' && b != '\n', static_cast<char>(b));
    const SettingsRecord odd = { { toolkit::Cp1252::decode(allBytes), u""_s },
        { u" "_s, u",\u20AC"_s }, 0, 1e-07, 4, INT32_MIN, -1, INT32_MAX };
    const SettingsRecord bad = { { u"\""_s, u"\r"_s }, { u"円"_s, u"\n"_s }, 1, 0.15, 2, 3, 4, 5 };
    const SettingsRecord fixed = { { u"?"_s, u"?"_s }, { u"?"_s, u"?"_s }, 1, 0.15, 2, 3, 4, 5 };
    EXPECT_EQ(SettingsFile::write(bad).split('\n')[5], "0.15\r");
    for (const auto& [in, out] : { std::pair { odd, odd }, { bad, fixed } }) {
        SettingsRecord record = kStart;
        EXPECT_TRUE(SettingsFile::read(SettingsFile::write(in), record));
        EXPECT_EQ(record, out);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Locales, SettingsFileUnderLocale, ::testing::Values("C", "fr_FR.UTF-8"), [](const auto& info) {
        return QString::fromLatin1(info.param).section(u'.', 0, 0).toStdString();
    });

// In a fresh folder holding a four-line file, a save replaces the file whole or not at all, even
// on a full disk, in a read-only folder or killed half-way.
TEST(SettingsFileTest, LoadAndSaveAllOrNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Quilmar.ini"_s);
    const auto fileBytes = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(kFourLines) == 29 && file.flush());

    SettingsRecord record = kStart;
    EXPECT_TRUE(!SettingsFile::load(dir.filePath(u"none.ini"_s), record) && record == kStart);
    EXPECT_FALSE(SettingsFile::load(path, record));
    EXPECT_EQ(SettingsFile::write(record), after(kFourLines, 4));

    // Writes beyond 16 bytes fail with EFBIG, as on a full disk.
    const pid_t full = ::fork();
    if (full == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { 16, 16 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(SettingsFile::save(path, kWorked) ? 1 : 0);
    }
    int status = -1;
    ::waitpid(full, &status, 0);
    EXPECT_EQ(status, 0) << "save() reported success on a full disk";
    EXPECT_EQ(fileBytes(), kFourLines);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no leftovers
    EXPECT_TRUE(SettingsFile::save(path, kWorked) && SettingsFile::load(path, record));
    EXPECT_EQ(std::pair(fileBytes(), record), std::pair(kWorkedExample, kWorked));

    // Two large versions saved in turn, so that a save takes long enough to be cut short, killed
    // from before the first save to the middle of the third one.
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
        EXPECT_TRUE(whole.contains(fileBytes())) << round;
    }
}

// Start-up meets things that are not a settings file it can read to its end: it reads none of
// them, and never waits on them nor takes long.
TEST(SettingsFileTest, LoadReadsOnlyTheStartOfARegularFile)
{
    const auto bytes = [](QByteArray content) {
        return [content](const QByteArray& path) {
            QFile file(QString::fromLocal8Bit(path));
            return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
        };
    };
    const QByteArray longName = '"' + QByteArray(900 * 1024, 'a') + '"';
    struct Case {
        const char* name;
        std::function<bool(const QByteArray& path)> make;
        bool complete; // all ten fields read; otherwise none
    };
    // clang-format off
    const Case cases[] = {
        { "link to /dev/zero", [](auto& p) { return ::symlink("/dev/zero", p) == 0; }, false },
        { "link to /dev/urandom", [](auto& p) { return ::symlink("/dev/urandom", p) == 0; }, false },
        { "FIFO", [](auto& p) { return ::mkfifo(p, 0600) == 0; }, false },
        { "folder", [](auto& p) { return ::mkdir(p, 0700) == 0; }, false },
        { "50 MB on one line", [&](auto& p) { return bytes({})(p) && !::truncate(p, 50 << 20); }, false },
        { "first name cut by the bound", bytes('"' + QByteArray(2 << 20, 'a') + kWorkedExample), false },
        { "ten fields then 2 MB more", bytes(kWorkedExample + QByteArray(2 << 20, 'x')), true },
        { "a name of 900 kB", bytes(edit("\"Euros\"", longName)), true },
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Quilmar.ini"_s);
        ASSERT_TRUE(c.make(QFile::encodeName(path)));
        SettingsRecord record = kStart;
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(SettingsFile::load(path, record), c.complete);
        EXPECT_LT(timer.elapsed(), 2000);
        EXPECT_EQ(record.WindowWidth, c.complete ? 4110 : kStart.WindowWidth);
        EXPECT_EQ(record.CurrencyName[1], c.complete ? u"Francs"_s : kStart.CurrencyName[1]);
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
        QFile file(path);
        if (S_ISREG(status.st_mode) && file.open(QIODevice::ReadOnly))
            entry.content = file.readAll();
        entries[QDir(root).relativeFilePath(path).toStdString()] = entry;
    }
    return entries;
}

constexpr uid_t kOther = 65534; // another user (and group): nobody

// Makes entries under `d` by steps separated by commas: "file NAME MODE" (holding "old"),
// "link TARGET NAME", "hard NAME NAME", "fifo NAME", "mode NAME MODE", and "give NAME" to the
// other user.
bool make(const QString& d, const char* steps)
{
    for (const QString& step : QString::fromLatin1(steps).split(u',', Qt::SkipEmptyParts)) {
        const QStringList w = step.simplified().split(u' ');
        const QByteArray a = QFile::encodeName(d + u'/' + w.value(1));
        const QByteArray b = QFile::encodeName(d + u'/' + w.value(2));
        const auto mode = static_cast<mode_t>(w.value(2).toUInt(nullptr, 8));
        QFile file(QString::fromLocal8Bit(a));
        const bool done = w[0] == u"file" ? file.open(QIODevice::WriteOnly)
                && file.write("old") == 3 && file.flush() && ::chmod(a, mode) == 0
            : w[0] == u"link" ? ::symlink(w[1].toLocal8Bit(), b) == 0
            : w[0] == u"hard" ? ::link(a, b) == 0
            : w[0] == u"fifo" ? ::mkfifo(a, 0666) == 0
            : w[0] == u"mode" ? ::chmod(a, mode) == 0
                              : w[0] == u"give" && ::lchown(a, kOther, kOther) == 0;
        if (!done)
            return false;
    }
    return true;
}

// A save writes the one regular file that the path leads to, and nothing else: every entry of
// the folder keeps its kind, owner, group and mode, no link is followed that the kernel would
// refuse to follow for us, and no temporary file is left behind. "shared" is a sticky
// world-writable folder, "ro" a folder of the saving user.
TEST(SettingsFileTest, SaveReplacesOnlyARegularFile)
{
    enum Who { Anyone, RootOnly, Unprivileged }; // Unprivileged: as the other user under root
    struct Case {
        const char* name;
        Who who;
        const char* setup;
        const char* saved; // the path saved to
        const char* written; // the entry that takes the new content, or none
    };
    // clang-format off
    const Case cases[] = {
        { "regular file", Anyone, "file Quilmar.ini 644", "Quilmar.ini", "Quilmar.ini" },
        { "no file yet", Anyone, "", "Quilmar.ini", "Quilmar.ini" },
        { "mode kept", Anyone, "file Quilmar.ini 604", "Quilmar.ini", "Quilmar.ini" },
        { "hard link: the other name keeps the old", Anyone, "file t 644, hard t Quilmar.ini", "Quilmar.ini", "Quilmar.ini" },
        { "our link in a shared folder", Anyone, "file t 644, link ../t shared/Quilmar.ini", "shared/Quilmar.ini", "t" },
        { "another's link in a shared folder", RootOnly, "file t 644, link ../t shared/Quilmar.ini, give shared/Quilmar.ini", "shared/Quilmar.ini", nullptr },
        { "another's link in a private folder", RootOnly, "file t 644, link t Quilmar.ini, give Quilmar.ini", "Quilmar.ini", "t" },
        { "another user's file: owner kept", RootOnly, "file Quilmar.ini 640, give Quilmar.ini", "Quilmar.ini", "Quilmar.ini" },
        { "FIFO", Anyone, "fifo Quilmar.ini", "Quilmar.ini", nullptr },
        { "link to a FIFO", Anyone, "fifo f, link f Quilmar.ini", "Quilmar.ini", nullptr },
        { "link to a folder", Anyone, "link shared Quilmar.ini", "Quilmar.ini", nullptr },
        { "link to nothing", Anyone, "link none Quilmar.ini", "Quilmar.ini", nullptr },
        { "loop of links", Anyone, "link Quilmar.ini Quilmar.ini", "Quilmar.ini", nullptr },
        { "read-only folder, writable file", Unprivileged, "file ro/Quilmar.ini 644, mode ro 555", "ro/Quilmar.ini", "ro/Quilmar.ini" },
        { "read-only folder and file", Unprivileged, "file ro/Quilmar.ini 444, mode ro 555", "ro/Quilmar.ini", nullptr },
    };
    // clang-format on
    const bool root = ::geteuid() == 0;
    const mode_t mask = ::umask(022);
    ::umask(mask);
    const QByteArray bytes = SettingsFile::write(kWorked);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.who == RootOnly && !root)
            continue; // only root gives a file or a link to another user
        QTemporaryDir dir;
        const QString d = dir.path();
        ASSERT_TRUE(QDir(d).mkdir(u"shared"_s) && QDir(d).mkdir(u"ro"_s));
        ASSERT_TRUE(make(d, "mode shared 1777") && make(d, c.setup));
        const bool asOther = c.who == Unprivileged && root;
        // The other user's save reaches a folder and a file of theirs.
        ASSERT_TRUE(!asOther || make(d, "give ., give ro, give ro/Quilmar.ini"));
        Snapshot expected = snapshot(d);
        if (c.written) {
            Entry& entry = expected[c.written];
            if (entry.mode == 0)
                entry = { mode_t(S_IFREG | (0666 & ~mask)), ::geteuid(), ::getegid(), {} };
            entry.content = bytes;
        }
        const QString path = d + u'/' + QString::fromLatin1(c.saved);
        bool saved = false;
        if (asOther) {
            const pid_t child = ::fork();
            if (child == 0)
                ::_exit(::setgroups(0, nullptr) == 0 && ::setgid(kOther) == 0
                            && ::setuid(kOther) == 0 && SettingsFile::save(path, kWorked)
                        ? 0
                        : 1);
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
