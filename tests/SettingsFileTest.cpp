#include "app/SettingsFile.h"

#include "toolkit/Cp1252.h"

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
#include <unistd.h>

namespace {

using namespace Qt::StringLiterals;

const QString kFile = u"Quilmar.ini"_s;
const QByteArray kWorkedExample
    = "\"Euros\"\r\n\"Francs\"\r\n\"E\"\r\n\"F\"\r\n1\r\n6.55957\r\n3\r\n3750\r\n4050\r\n4110\r\n";
const QByteArray kFourLines = "\"A\"\r\n\"B\"\r\n\"C\"\r\n\"D\"\r\n";
const QByteArray kFirstSeven = kWorkedExample.chopped(18);

const SettingsRecord kWorked
    = { { u"Euros"_s, u"Francs"_s }, { u"E"_s, u"F"_s }, 1, 6.55957, 3, 3750, 4050, 4110 };
// Differs from every record below in every field, so a test sees which fields a read stored.
const SettingsRecord kStart = { { u"n1"_s, u"n2"_s }, { u"s1"_s, u"s2"_s }, 0, 9.5, 0, 1, 2, 3 };
const QByteArray kAbcdFile = kFourLines + "1\r\n2\r\n4\r\n5\r\n6\r\n7\r\n";

QByteArray withRate(const char* text)
{
    return QByteArray(kWorkedExample).replace("6.55957", text);
}
QByteArray withTop(const char* text) { return QByteArray(kWorkedExample).replace("4050", text); }

// The file that a read storing the first `stored` fields of `read` into kStart leaves to write.
QByteArray afterRead(const QByteArray& read, int stored)
{
    QList<QByteArray> lines = SettingsFile::write(kStart).split('\n');
    const QList<QByteArray> readLines = read.split('\n');
    for (int i = 0; i < stored; ++i)
        lines[i] = readLines[i];
    return lines.join('\n');
}

struct ReadCase {
    const char* name;
    QByteArray bytes;
    int stored; // 10: a complete read
    QByteArray read; // the file written from the values read
};

const ReadCase kReads[] = {
    { "empty file", "", 0, kWorkedExample },
    { "four lines", kFourLines, 4, kAbcdFile },
    { "300 on line five", kFourLines + "300\r\n2\r\n4\r\n5\r\n6\r\n7\r\n", 4, kAbcdFile },
    { "worked example", kWorkedExample, 10, kWorkedExample },
    { "more than ten lines", kWorkedExample + "9\r\n\"x\"\r\nnot read", 10, kWorkedExample },
    { "no line end after the tenth", kWorkedExample.chopped(2), 10, kWorkedExample },
    { "ends before the tenth", kWorkedExample.chopped(6), 9, kWorkedExample },
    { "one line", "\"Euros\",\"Francs\",\"E\",\"F\",1,6.55957,3,3750,4050,4110", 10,
        kWorkedExample },
    { "lone LF and CR, blanks", " \t\"A\"\n\"B\"\r\"C\"  ,\"D\"\n\t1 \n 2\t\r\n4\r5\n6\n7", 10,
        kAbcdFile },
    { "blank line", kFirstSeven + "\r\n3750\r\n4050\r\n4110\r\n", 7, kWorkedExample },
    { "quoted commas and blanks, empty, text after the quote",
        "\" a, b \"\r\n\"\"\r\n\"$\"junk, \"\x80\",0,0.5,0,-1920,-5,4110", 10,
        "\" a, b \"\r\n\"\"\r\n\"$\"\r\n\"\x80\"\r\n0\r\n0.5\r\n0\r\n-1920\r\n-5\r\n4110\r\n" },
    { "unquoted strings", "Dollars US  \r\nYen\r\n\xA5\r\n$\r\n", 4,
        "\"Dollars US\"\r\n\"Yen\"\r\n\"\xA5\"\r\n\"$\"\r\n" },
    // An unclosed quote ends at its line end, so it costs that field only.
    { "unclosed quote", "\"A\r\n\"B\"\r\n\"C\"\r\n\"D", 4, kAbcdFile },
    { "fraction in an 8-bit field", kFourLines + "1.0\r\n", 4, kAbcdFile },
    { "fraction in a window field", kFirstSeven + "3750.5\r\n4050\r\n4110\r\n", 7, kWorkedExample },
    { "letters in a number", kFourLines + "1\r\nabc\r\n", 5, kAbcdFile },
    { "ShowToolTips 2", kFourLines + "2\r\n", 4, kAbcdFile },
    { "ShowToolTips -1", kFourLines + "-1\r\n", 4, kAbcdFile },
    { "DecimalsIndex 5", kFourLines + "1\r\n2\r\n5\r\n", 6, kAbcdFile },
    { "a comma in the rate ends it", kFourLines + "1\r\n2,5\r\n4\r\n", 6, kAbcdFile },
    // The rate: any finite number in decimal or exponent form.
    { "rate .5", withRate(".5"), 10, withRate("0.5") },
    { "rate 5.", withRate("5."), 10, withRate("5") },
    { "rate 1E+20", withRate("1E+20"), 10, withRate("1e+20") },
    { "rate -2.5", withRate("-2.5"), 10, withRate("-2.5") },
    { "rate with blanks", withRate(" 1e-07 "), 10, withRate("1e-07") },
    { "largest rate", withRate("1.7976931348623157e308"), 10, withRate("1.7976931348623157e+308") },
    // A window field: the signed 32-bit range, whole numbers only.
    { "top 2147483647", withTop("2147483647"), 10, withTop("2147483647") },
    { "top -2147483648", withTop("-2147483648"), 10, withTop("-2147483648") },
    { "top 007", withTop("007"), 10, withTop("7") },
    { "top 2147483648", withTop("2147483648"), 8, kWorkedExample },
    { "top -2147483649", withTop("-2147483649"), 8, kWorkedExample },
    { "top 1e3", withTop("1e3"), 8, kWorkedExample },
};

TEST(SettingsFileReadTest, StoresFieldsUntilTheFirstFailure)
{
    for (const ReadCase& c : kReads) {
        SCOPED_TRACE(c.name);
        SettingsRecord record = kStart;
        EXPECT_EQ(SettingsFile::read(c.bytes, record), c.stored == 10);
        EXPECT_EQ(SettingsFile::write(record), afterRead(c.read, c.stored));
    }
    for (const char* rate : { "inf", "-infinity", "nan", "0x10", "1e400", "6.5.5", "+6", "1 0" }) {
        SCOPED_TRACE(rate);
        SettingsRecord record = kStart;
        EXPECT_FALSE(SettingsFile::read(withRate(rate), record));
        EXPECT_EQ(SettingsFile::write(record), afterRead(kWorkedExample, 5));
    }
}

TEST(SettingsFileWriteTest, WorkedExampleExactly)
{
    EXPECT_EQ(SettingsFile::write(kWorked), kWorkedExample);
    EXPECT_EQ(kWorkedExample.size(), 62);
}

TEST(SettingsFileWriteTest, WrittenRecordsReadBack)
{
    QByteArray allBytes; // every byte but the three that end a quoted field
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '"' && byte != '\r' && byte != '\n')
            allBytes.append(static_cast<char>(byte));
    }
    const SettingsRecord odd = { { toolkit::Cp1252::decode(allBytes), u""_s },
        { u" "_s, u",\u20AC"_s }, 0, 1e-07, 4, INT32_MIN, -1, INT32_MAX };
    // The writer cannot store a quote, CR or LF, which would shift every later field.
    const SettingsRecord unsafe
        = { { u"a\"b,c"_s, u"line\r\nbreak"_s }, { u"\u5186"_s, u"\n"_s }, 1, 0.5, 2, 3, 4, 5 };
    const SettingsRecord safe
        = { { u"a?b,c"_s, u"line??break"_s }, { u"?"_s, u"?"_s }, 1, 0.5, 2, 3, 4, 5 };

    for (const auto& [written, expected] :
        { std::pair { kWorked, kWorked }, { odd, odd }, { unsafe, safe } }) {
        SettingsRecord record = kStart;
        EXPECT_TRUE(SettingsFile::read(SettingsFile::write(written), record));
        EXPECT_EQ(record, expected);
    }
}

TEST(SettingsFileWriteTest, RateHasAPointUnderAFrenchLocale)
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const QLocale previousLocale;
    if (!std::setlocale(LC_ALL, "fr_FR.UTF-8"))
        GTEST_SKIP() << "fr_FR.UTF-8 is not installed";
    QLocale::setDefault(QLocale::French);
    SettingsRecord written = kWorked;
    written.ConversionRate = 0.15;
    const QByteArray bytes = SettingsFile::write(written);
    std::setlocale(LC_ALL, previous.c_str());
    QLocale::setDefault(previousLocale);
    EXPECT_EQ(bytes, withRate("0.15"));
}

// Each test runs in a fresh temporary working directory, as the program does in its own.
class SettingsFileSaveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_previousDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
        QFile file(kFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(kFourLines), kFourLines.size());
    }
    void TearDown() override { QDir::setCurrent(m_previousDir); }

    static QByteArray fileBytes()
    {
        QFile file(kFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
    QString m_previousDir;
};

TEST_F(SettingsFileSaveTest, LoadAndSave)
{
    SettingsRecord record = kStart;
    EXPECT_FALSE(SettingsFile::load(u"none.ini"_s, record));
    EXPECT_FALSE(SettingsFile::load(u"."_s, record)); // a folder
    EXPECT_EQ(record, kStart);
    EXPECT_FALSE(SettingsFile::load(kFile, record));
    EXPECT_EQ(SettingsFile::write(record), afterRead(kAbcdFile, 4));

    EXPECT_TRUE(SettingsFile::save(kFile, kWorked));
    EXPECT_EQ(fileBytes(), kWorkedExample);
    EXPECT_TRUE(SettingsFile::load(kFile, record));
    EXPECT_EQ(record, kWorked);

    EXPECT_FALSE(SettingsFile::save(u"missing/"_s + kFile, kWorked));
    EXPECT_FALSE(QDir(u"missing"_s).exists());
}

TEST_F(SettingsFileSaveTest, ReadOnlyFolderChangesNothing)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    QFile::setPermissions(u"."_s, QFile::ReadOwner | QFile::ExeOwner);
    const bool saved = SettingsFile::save(kFile, kWorked);
    QFile::setPermissions(u"."_s, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(saved);
    EXPECT_EQ(fileBytes(), kFourLines);
}

TEST_F(SettingsFileSaveTest, FullDiskKeepsTheOldFile)
{
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // Writes beyond 16 bytes fail with EFBIG, as on a full disk.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit { 16, 16 };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(SettingsFile::save(kFile, kWorked) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "save() reported success";
    EXPECT_EQ(fileBytes(), kFourLines);
    EXPECT_EQ(QDir().entryList(QDir::Files | QDir::Hidden), QStringList { kFile });
}

TEST_F(SettingsFileSaveTest, KilledSaveLeavesOneWholeFile)
{
    // Two large versions, so that a save takes long enough to be cut short.
    SettingsRecord first = kWorked;
    SettingsRecord second = kWorked;
    first.CurrencyName[0] = QString(1 << 20, u'a');
    second.CurrencyName[0] = QString(1 << 20, u'b');
    const QByteArray firstBytes = SettingsFile::write(first);
    const QByteArray secondBytes = SettingsFile::write(second);

    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            for (int i = 0;; ++i)
                SettingsFile::save(kFile, i % 2 ? second : first);
        }
        // From before the first save to the middle of the third one.
        ::usleep(static_cast<useconds_t>(round * 2500));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const QByteArray bytes = fileBytes();
        EXPECT_TRUE(bytes == kFourLines || bytes == firstBytes || bytes == secondBytes)
            << bytes.size() << " bytes";
    }
}

} // namespace
