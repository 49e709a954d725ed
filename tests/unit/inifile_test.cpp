#include "platform/inifile.h"
#include "tests/support/testpaths.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

using namespace std::string_view_literals;
using namespace Qt::StringLiterals;

namespace {

class IniFileTest : public ::testing::Test
{
protected:
    QString file(const char *name = "test.ini") const { return dir.filePath(QLatin1String(name)); }
    IniFile withContent(const QByteArray &bytes, const char *name = "test.ini")
    {
        EXPECT_TRUE(WriteFileBytes(file(name), bytes));
        return IniFile(file(name));
    }

    QTemporaryDir dir;
};

struct ReadCase
{
    const char *what;
    std::string_view content; // may hold NULs
    const char *section;
    const char *key;
    const char *expected; // "<default>" when the default must come back
};

TEST_F(IniFileTest, ReadsLikeThePrivateProfileFunctions)
{
    const ReadCase cases[] = {
        {"plain", "[s]\nk=v\n", "s", "k", "v"},
        {"section case", "[SeCtIoN]\nk=v\n", "section", "k", "v"},
        {"key case", "[s]\nKeY=v\n", "s", "key", "v"},
        {"value keeps case", "[s]\nk=MiXeD\n", "s", "k", "MiXeD"},
        {"blanks around value", "[s]\nk=  \t v w \t \n", "s", "k", "v w"},
        {"blanks around key", "[s]\n  k  =v\n", "s", "k", "v"},
        {"blanks in the call", "[s]\nk=v\n", "  s ", " k  ", "v"},
        {"blanks inside brackets", "[  s \t]\nk=v\n", "s", "k", "v"},
        {"indented section", "   [s]\nk=v\n", "s", "k", "v"},
        {"CRLF", "[s]\r\nk=v\r\nj=w\r\n", "s", "j", "w"},
        {"CRLF value keeps no CR", "[s]\r\nk=v\r\n", "s", "k", "v"},
        {"no final newline", "[s]\nk=v", "s", "k", "v"},
        {"double quotes dropped", "[s]\nk=\" v \"\n", "s", "k", " v "},
        {"single quotes dropped", "[s]\nk='v'\n", "s", "k", "v"},
        {"unmatched quotes kept", "[s]\nk=\"v'\n", "s", "k", "\"v'"},
        {"only outer quotes", "[s]\nk=\"'v'\"\n", "s", "k", "'v'"},
        {"lone quote kept", "[s]\nk=\"\n", "s", "k", "\""},
        {"duplicate key: first", "[s]\nk=1\nk=2\n", "s", "k", "1"},
        {"duplicate section: first only", "[s]\na=1\n[s]\nk=2\n", "s", "k", "<default>"},
        {"duplicate section: first value", "[s]\nk=1\n[S]\nk=2\n", "s", "k", "1"},
        {"key before any section", "k=v\n[s]\nj=w\n", "s", "k", "<default>"},
        {"commented key", "[s]\n;k=v\n", "s", "k", "<default>"},
        {"value with semicolon", "[s]\nk=;v\n", "s", "k", ";v"},
        {"equals in value", "[s]\nk=a=b\n", "s", "k", "a=b"},
        {"empty value", "[s]\nk=\n", "s", "k", ""},
        {"missing key", "[s]\nk=v\n", "s", "x", "<default>"},
        {"missing section", "[s]\nk=v\n", "t", "k", "<default>"},
        // The platform takes a '[' line without ']' for no header: its keys
        // belong to the section before.
        {"header without closing bracket", "[s\nk=v\n", "s", "k", "<default>"},
        {"keys after a broken header", "[a]\n[s\nk=v\n", "a", "k", "v"},
        // The name runs to the last ']' ("3gp]x", not "3gp").
        {"name runs to the last bracket", "[s]x]\nk=v\n", "s]x", "k", "v"},
        {"name is not cut at the first bracket", "[s]x]\nk=v\n", "s", "k", "<default>"},
        {"text after the last bracket", "[s] ; note\nk=v\n", "s", "k", "v"},
        // A line without '=' is a key without a value: the platform returns
        // the default, also for a later key of that name.
        {"line without equals", "[s]\nProfile0\n", "s", "Profile0", "<default>"},
        {"line without equals before the key", "[s]\nk\nk=v\n", "s", "k", "<default>"},
        {"line without equals in another section", "[t]\nk\n[s]\nk=v\n", "s", "k", "v"},
        // A NUL ends a name or value, after the blanks around it went; the
        // rest of its line still counts.
        {"NUL ends a value", "[s]\nk=abc\0tail\n"sv, "s", "k", "abc"},
        {"NUL keeps the blank before it", "[s]\nProfile0=abc \0\n"sv, "s", "Profile0", "abc "},
        {"NUL ends a key", "[s]\nProfile0\0x=abc\n"sv, "s", "Profile0", "abc"},
        {"NUL ends a header", "[s]\n[3gp\0]\nk=v\n"sv, "3gp", "k", "v"},
        {"NUL header leaves the section", "[s]\n[3gp\0]\nk=v\n"sv, "s", "k", "<default>"},
        {"NUL before the closing quote", "[s]\nk=\"abc\0\"\n"sv, "s", "k", "\"abc"},
        // "\r\n", "\n" and a lone "\r" end lines; no value keeps a "\r".
        {"CR CR LF", "[s]\r\r\nk=v\r\r\nj=w\r\r\n", "s", "k", "v"},
        {"lone CR", "[s]\rk=v\rj=w\r", "s", "j", "w"},
        {"mixed line ends", "[s]\rk=v\n[t]\r\nj=w", "t", "j", "w"},
        // Form feed and the DOS end-of-file mark are trimmed like blanks.
        {"form feed around names", "\f[\fs\f]\f\n\fk\f=v\n", "s", "k", "v"},
        {"control marks around value", "[s]\nk=\f\x1av\x1a\f\n", "s", "k", "v"},
        {"section after an EOF mark line", "[a]\nx=1\n\x1a\n[s]\nk=v\n", "s", "k", "v"},
        {"EOF mark before a header", "[a]\n\x1a[s]\nk=v\n", "s", "k", "v"},
        {"control marks inside stay", "[s]\nk=a\x1a\fb\n", "s", "k", "a\x1a\fb"},
        // A UTF-8 byte-order mark does not hide the first section; one
        // anywhere else is text.
        {"byte-order mark", "\xEF\xBB\xBF[s]\nk=v\n", "s", "k", "v"},
        {"second byte-order mark", "\xEF\xBB\xBF\xEF\xBB\xBF[s]\nk=v\n", "s", "k", "<default>"},
        {"byte-order mark before a key", "[s]\n\xEF\xBB\xBFk=v\n", "s", "k", "<default>"},
        {"byte-order mark is part of a name", "[s]\nk\xEF\xBB\xBF=v\n", "s", "k\xEF\xBB\xBF", "v"},
        // Names compare through the platform's upper-case table, one
        // character at a time: no full case folding.
        {"accented section case", "[VID\xC3\x89O]\nk=v\n", "vid\xC3\xA9o", "k", "v"},
        {"long s is not s", "[p\xC5\xBFp]\nk=v\n", "psp", "k", "<default>"},
        {"dotless i is not i", "[s]\n\u0131d=v\n", "s", "ID", "<default>"},
        {"sharp s is not ss", "[s]\nstra\u00dfe=v\n", "s", "STRASSE", "<default>"},
        {"empty section name", "[]\nk=v\n", "", "k", "v"},
        {"key in next section not seen", "[s]\n[t]\nk=v\n", "s", "k", "<default>"},
    };
    for (const ReadCase &c : cases) {
        IniFile ini = withContent(QByteArray(c.content.data(), qsizetype(c.content.size())));
        EXPECT_EQ(
            ini.readString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), "<default>"),
            QString::fromUtf8(c.expected))
            << c.what;
    }
}

TEST_F(IniFileTest, MissingFileGivesDefaultsAndDefaultLosesTrailingSpaces)
{
    IniFile ini(file("absent.ini"));
    EXPECT_EQ(ini.readString("s", "k", "NoData"), "NoData");
    EXPECT_EQ(ini.readString("s", "k", " pad  "), " pad");
    EXPECT_EQ(ini.readInteger("s", "k", 42), 42);
    EXPECT_FALSE(QFile::exists(file("absent.ini"))); // reading creates nothing
}

// The platform counts bytes in a file without a mark, UTF-16 units in one
// with it, and cuts before the quotes come off.
TEST_F(IniFileTest, LongValuesAreCutAt2047AsThePlatformCounts)
{
    const QByteArray e = "\xC3\xA9", x(2047, 'x'), k = "[s]\nk=";
    for (const auto &[content, expected] : std::vector<std::pair<QByteArray, QString>>{
             {k + QByteArray(3000, 'a'), QString(2047, 'a')},
             {k + e.repeated(1100), QString(1023, QChar(0xE9))},
             {"\xEF\xBB\xBF" + k + e.repeated(2048), QString(2047, QChar(0xE9))},
             {k + "\xE9" + x, QChar(0xE9) + QString::fromLatin1(x.left(2046))},
             {k + "\"" + x + "\"", x.left(2046)},
             {k + "\"" + x.left(2045) + "\"", x.left(2045)},
             {k + "'" + e.repeated(1100) + "'", QString(1023, QChar(0xE9))},
         }) {
        IniFile ini = withContent(content + "\n");
        EXPECT_EQ(ini.readString("s", "k", {}), expected) << content.left(12).toStdString();
        EXPECT_EQ(ini.readSection("s").value("k"), expected);
    }
}

TEST_F(IniFileTest, IntegersDecimalAndHex)
{
    constexpr std::string_view text = "[n]\n"
                                      "dec=26\nneg=-7\nplus=+5\nhex=0x1A\nHEX=0X1a\ndollar=$1A\n"
                                      "negdollar=-$10\nallbits=$FFFFFFFF\n"
                                      "word=abc\ntrail=12abc\nspace=1 2\nempty=\nbig=99999999999\n"
                                      "max=2147483647\nmin=-2147483648\nover=2147483648\nbare=0x\n"
                                      "quoted=\"15\"\n"
                                      "nul=2\0 3\n"sv;
    IniFile ini = withContent(QByteArray(text.data(), qsizetype(text.size())));
    struct
    {
        const char *key;
        int expected;
    } cases[] = {{"dec", 26},   {"neg", -7},         {"plus", 5},        {"hex", 26},
                 {"HEX", 26},   {"dollar", 26},      {"negdollar", -16}, {"allbits", -1},
                 {"word", -99}, {"trail", -99},      {"space", -99},     {"empty", -99},
                 {"big", -99},  {"max", 2147483647}, {"min", INT_MIN},   {"over", -99},
                 {"bare", -99}, {"quoted", 15},      {"missing", -99},   {"nul", 2}};
    for (const auto &c : cases)
        EXPECT_EQ(ini.readInteger("n", c.key, -99), c.expected) << c.key;
}

TEST_F(IniFileTest, WritingReplacesInPlaceAndKeepsEveryOtherByte)
{
    const QByteArray before = "; header comment\r\n"
                              "[First]\r\n"
                              "  Key = old value  \r\n"
                              "other=1\r\n"
                              "\r\n"
                              "; between\r\n"
                              "[second]\r\n"
                              "x=y\r\n";
    IniFile ini = withContent(before);
    ini.writeString("first", "key", "new");
    QByteArray expected = before;
    expected.replace("  Key = old value  ", "Key=new");
    EXPECT_EQ(ReadFileBytes(ini.path()), expected);
    EXPECT_EQ(ini.readString("FIRST", "KEY", {}), "new");
}

TEST_F(IniFileTest, WritingAppendsKeysAndSections)
{
    IniFile ini = withContent("[a]\nk=1\n\n; note\n[b]\nz=2");
    ini.writeString("a", "new", "v");
    EXPECT_EQ(ReadFileBytes(ini.path()), "[a]\nk=1\nnew=v\n\n; note\n[b]\nz=2");

    ini.writeString("b", "more", "3");
    EXPECT_EQ(ReadFileBytes(ini.path()), "[a]\nk=1\nnew=v\n\n; note\n[b]\nz=2\nmore=3\n");

    ini.writeInteger("c", "count", 7);
    EXPECT_EQ(ReadFileBytes(ini.path()),
              "[a]\nk=1\nnew=v\n\n; note\n[b]\nz=2\nmore=3\n\n[c]\ncount=7\n");
    EXPECT_EQ(ini.readInteger("c", "count", 0), 7);

    // The first of duplicate keys is the one rewritten.
    IniFile dup = withContent("[s]\nk=1\nk=2\n", "dup.ini");
    dup.writeString("s", "k", "9");
    EXPECT_EQ(ReadFileBytes(dup.path()), "[s]\nk=9\nk=2\n");
}

// Profile lists are read a section at a time; the same rules apply there.
TEST_F(IniFileTest, SectionReadingFollowsTheLineRules)
{
    IniFile ini = withContent("\xEF\xBB\xBF[3gp]\r\r\nProfileCount=2\r\r\nProfile0\r\r\n"
                              "Profile1=B\r\r\n\x1a\r\n[psp]\rProfile0=C\r");
    EXPECT_EQ(ini.readInteger("3gp", "ProfileCount", 0), 2);
    QHash<QString, QString> section = ini.readSection("3GP");
    EXPECT_FALSE(section.contains("profile0"));
    EXPECT_EQ(section.value("profile1"), "B");
    EXPECT_EQ(section.value("profilecount"), "2");
    EXPECT_EQ(ini.readSection("psp").value("profile0"), "C");
}

// Files saved on Windows come in its ANSI code page.
TEST_F(IniFileTest, ReadsWindows1252WhenTheFileIsNotUtf8)
{
    IniFile ansi = withContent("[Vid\xE9o]\nName=Vid\xE9o \x80 \x93x\x94\nRaw=\x81\n", "ansi.ini");
    EXPECT_EQ(ansi.readString("Vid\u00e9o", "Name", {}), "Vid\u00e9o \u20ac \u201cx\u201d");
    EXPECT_EQ(ansi.readString("VID\u00c9O", "name", {}), "Vid\u00e9o \u20ac \u201cx\u201d");
    EXPECT_EQ(ansi.readString("Vid\u00e9o", "Raw", {}), QString(QChar(0x81)));

    IniFile utf8 = withContent("[s]\nName=Vid\xC3\xA9o\n", "utf8.ini");
    EXPECT_EQ(utf8.readString("s", "Name", {}), "Vid\u00e9o");
}

TEST_F(IniFileTest, WritesBackInTheEncodingItRead)
{
    const QByteArray ansiBytes = "; caf\xE9\r\n[s]\r\nk=old\r\nother=na\xEFve\r\n";
    IniFile ansi = withContent(ansiBytes, "ansi.ini");
    ansi.writeString("s", "k", "Vid\u00e9o \u20ac");
    QByteArray expected = ansiBytes;
    expected.replace("k=old", "k=Vid\xE9o \x80");
    EXPECT_EQ(ReadFileBytes(ansi.path()), expected);
    EXPECT_EQ(ansi.readString("s", "other", {}), "na\u00efve");

    // A character Windows-1252 has no code for: the whole file turns UTF-16
    // with its mark, which the platform reads as Unicode.
    ansi.writeString("s", "k", "\u0416");
    EXPECT_EQ(ReadFileBytes(ansi.path()),
              QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)(
                  u"; caf\u00e9\r\n[s]\r\nk=\u0416\r\nother=na\u00efve\r\n"_s));
    EXPECT_EQ(ansi.readString("s", "other", {}), "na\u00efve");

    // Bytes that are no UTF-8 in a file with a UTF-8 mark stay as they were.
    const QByteArray marked = "\xEF\xBB\xBF[s]\nNote=caf\xE9\nk=1\n\xFF\xFE\n";
    IniFile kept = withContent(marked, "marked.ini");
    kept.writeString("s", "k", "2");
    EXPECT_EQ(ReadFileBytes(kept.path()), QByteArray(marked).replace("k=1", "k=2"));

    IniFile utf8 = withContent("[s]\nk=1\n", "utf8.ini");
    utf8.writeString("s", "k", "Vid\u00e9o");
    EXPECT_EQ(ReadFileBytes(utf8.path()), "[s]\nk=Vid\xC3\xA9o\n");
}

TEST_F(IniFileTest, WritingKeepsByteOrderMarkAndOddLineEnds)
{
    IniFile bom = withContent("\xEF\xBB\xBF[s]\r\nk=1\r\n", "bom.ini");
    bom.writeString("s", "k", "2");
    bom.writeString("t", "j", "3");
    EXPECT_EQ(ReadFileBytes(bom.path()), "\xEF\xBB\xBF[s]\r\nk=2\r\n\r\n[t]\r\nj=3\r\n");

    IniFile cr = withContent("[s]\rk=1\r\r\nx=\x1a\f\r", "cr.ini");
    cr.writeString("s", "k", "2");
    cr.writeString("s", "n", "4");
    EXPECT_EQ(ReadFileBytes(cr.path()), "[s]\rk=2\r\r\nx=\x1a\f\rn=4\r");
    EXPECT_EQ(cr.readInteger("s", "n", 0), 4);

    // A bare "Profile0" line is the key without a value: a write fills it
    // in, so the platform's reader sees the new value too.
    IniFile bare = withContent("[s]\n  Profile0 \nProfile0=old\n", "bare.ini");
    bare.writeString("s", "Profile0", "A");
    EXPECT_EQ(ReadFileBytes(bare.path()), "[s]\nProfile0=A\nProfile0=old\n");
    EXPECT_EQ(bare.readString("s", "Profile0", "NoData"), "A");
}

// Files saved as "Unicode" are UTF-16 after a byte-order mark; they are read
// and written back as such.
TEST_F(IniFileTest, ReadsAndWritesUtf16Files)
{
    auto utf16 = [](const QString &text, bool bigEndian) -> QByteArray {
        return QStringEncoder(bigEndian ? QStringEncoder::Utf16BE : QStringEncoder::Utf16LE,
                              QStringEncoder::Flag::WriteBom)(text);
    };
    const QString text =
        QStringLiteral("[3gp]\r\nProfileCount=1\r\nProfile0=Vid\u00e9o \u65e5\r\n");
    for (bool bigEndian : {false, true}) {
        IniFile ini = withContent(utf16(text, bigEndian), bigEndian ? "be.ini" : "le.ini");
        EXPECT_EQ(ini.readString("3GP", "profile0", {}), "Vid\u00e9o \u65e5") << bigEndian;
        EXPECT_EQ(ini.readSection("3gp").value("profilecount"), "1") << bigEndian;
        ini.writeString("3gp", "Profile1", "\u00e9");
        ini.writeString("3gp", "ProfileCount", "2");
        EXPECT_EQ(ReadFileBytes(ini.path()),
                  utf16("[3gp]\r\nProfileCount=2\r\nProfile0=Vid\u00e9o \u65e5\r\n"
                        "Profile1=\u00e9\r\n",
                        bigEndian))
            << bigEndian;
    }
}

TEST_F(IniFileTest, WritingCreatesMissingFile)
{
    IniFile ini(file("new.ini"));
    ini.writeString("3gp", "Profile0", "A : Video: 1x1");
    ini.writeInteger("3gp", "ProfileCount", 1);
    EXPECT_EQ(ReadFileBytes(ini.path()), "[3gp]\r\nProfile0=A : Video: 1x1\r\nProfileCount=1\r\n");
}

TEST_F(IniFileTest, UnwritableFolderRaisesWithFullPath)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes everywhere; see the missing-folder case";
    QDir(dir.path()).mkdir("ro");
    QString path = dir.filePath("ro/Output.dll");
    QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::ExeOwner);
    IniFile ini(path);
    try {
        ini.writeString("s", "k", "v");
        FAIL() << "no error";
    } catch (const IniWriteError &e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), "Unable to write to " + path);
    }
}

TEST_F(IniFileTest, MissingFolderRaisesWithFullPath)
{
    QString path = dir.filePath("nowhere/Output.dll");
    try {
        IniFile(path).writeString("s", "k", "v");
        FAIL() << "no error";
    } catch (const IniWriteError &e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), "Unable to write to " + path);
    }
    EXPECT_FALSE(QDir(dir.filePath("nowhere")).exists());

    // A folder that is a file fails for every user, root included.
    WriteFileBytes(dir.filePath("plain"), "x");
    QString under = dir.filePath("plain/Output.dll");
    EXPECT_THROW(IniFile(under).writeString("s", "k", "v"), IniWriteError);
    EXPECT_EQ(ReadFileBytes(dir.filePath("plain")), "x");
}

// A writer killed at any moment leaves either the old file or the new one.
TEST_F(IniFileTest, KilledWriterNeverLeavesAHalfFile)
{
    const QByteArray big(200000, 'x');
    const QByteArray small("[s]\nk=small\n");
    IniFile ini = withContent(small);
    for (int round = 0; round < 12; ++round) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int i = 0;; ++i)
                ini.writeString("s", "k",
                                i % 2 ? QString::fromLatin1(big) : QStringLiteral("small"));
        }
        usleep(2000 + round * 1500);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        QByteArray now = ReadFileBytes(ini.path());
        EXPECT_TRUE(now == small || now == "[s]\nk=" + big + "\n")
            << "round " << round << ", " << now.size() << " bytes";
    }
}

} // namespace
