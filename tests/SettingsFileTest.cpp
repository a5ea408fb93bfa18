#include "app/SettingsFile.h"

#include "toolkit/codepage/Cp1252.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <clocale>
#include <csignal>
#include <gtest/gtest.h>
#include <string>
#include <sys/resource.h>
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
// fill their field: ShowToolTips 0 or 1, DecimalsIndex 0 to 4, the rate any finite number, the
// window fields whole 32-bit numbers.
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
        { edit("\r\n1\r\n", "\r\n2\r\n"), 4, {} }, { edit("\r\n1\r\n", "\r\n-1\r\n"), 4, {} },
        { edit("\r\n3\r\n", "\r\n5\r\n"), 6, {} }, { edit("3750", "3750.5"), 7, {} },
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
// keep their point under a French locale, where installed.
TEST(SettingsFileTest, WrittenRecordsReadBack)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const QLocale previousLocale;
    if (std::setlocale(LC_ALL, "fr_FR.UTF-8"))
        QLocale::setDefault(QLocale::French);
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
    std::setlocale(LC_ALL, previous.c_str());
    QLocale::setDefault(previousLocale);
}

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
    if (::geteuid() != 0) { // a read-only folder, where root ignores permissions
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_FALSE(SettingsFile::save(path, kWorked));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

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

} // namespace
