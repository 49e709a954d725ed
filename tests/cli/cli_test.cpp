#include "cli/clioptions.h"
#include "cli/progressline.h"
#include "tests/support/testpaths.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <tuple>

namespace {

std::optional<CliOptions> parse(const QStringList &args, QString *error = nullptr)
{
    QString e;
    auto o = ParseCliOptions(args, e);
    if (error)
        *error = e;
    return o;
}

TEST(CliOptions, ConvertWithEverything)
{
    auto o = parse({"--kind", "PSP", "--profile", "2", "--start", "00:01:10", "--stop", "1:45",
                    "--keep-ratio", "--output-dir", "/tmp/out", "--print-command", "a.avi", "--",
                    "--odd.avi"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->action, CliOptions::Action::Convert);
    EXPECT_EQ(o->kind, 1);
    EXPECT_EQ(o->profile, 2);
    EXPECT_EQ(o->start, 70);
    EXPECT_EQ(o->stop, 105);
    EXPECT_EQ(o->keepRatio, true);
    EXPECT_EQ(o->outputDir, "/tmp/out");
    EXPECT_TRUE(o->printCommand);
    EXPECT_EQ(o->files, (QStringList{"a.avi", "--odd.avi"}));
}

TEST(CliOptions, Refusals)
{
    QString error;
    for (const QStringList &args : {QStringList{"--bogus", "a"},
                                    {"--kind", "dvd", "a"},
                                    {"--kind"},
                                    {"--profile", "-1", "a"},
                                    {"--profile", "x", "a"},
                                    {"--start", "25:00:00", "a"},
                                    {"--start", "00:61:00", "a"},
                                    {"--start", "abc", "a"},
                                    {"--start", "00:00:10", "--stop", "00:00:05", "a"},
                                    {},
                                    {"--probe"},
                                    {"--list-profiles", "a.avi"},
                                    {"--probe", "--list-profiles", "a"},
                                    {"--output-dir", "", "a"}}) {
        EXPECT_FALSE(parse(args, &error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    auto help = parse({"--kind", "nope", "--help"});
    EXPECT_FALSE(help); // the bad kind comes first
    EXPECT_EQ(parse({"--help"})->action, CliOptions::Action::Help);
    EXPECT_EQ(parse({"--list-profiles"})->action, CliOptions::Action::ListProfiles);
}

// GNU and Qt forms: arguments, the action (none: a usage error), the kind, the files.
TEST(CliOptions, TheUsualForms)
{
    using A = CliOptions::Action;
    for (const auto &[args, action, kind, files] :
         std::vector<std::tuple<QStringList, std::optional<A>, int, QStringList>>{
             {{"--kind=psp", "a"}, A::Convert, 1, {"a"}},
             {{"a", "--kind", "ipod"}, A::Convert, 2, {"a"}},
             {{"-h"}, A::Help, 0, {}},
             {{"--version"}, A::Version, 0, {}},
             {{"-v"}, A::Version, 0, {}},
             {{"-x.avi"}, std::nullopt, 0, {}},
             {{"--", "-x.avi", "-h"}, A::Convert, 0, {"-x.avi", "-h"}},
             {{"--kind="}, std::nullopt, 0, {}},
             {{"-", "--no-keep-ratio"}, A::Convert, 0, {"-"}},
         }) {
        const auto o = parse(args);
        ASSERT_EQ(o.has_value(), action.has_value()) << args.join(' ').toStdString();
        if (o) {
            EXPECT_EQ(std::tie(o->action, o->kind, o->files), std::tie(*action, kind, files));
        }
    }
}

TEST(CliOptions, TimeTexts)
{
    EXPECT_EQ(ParseTimeText("01:05:09"), 3909);
    EXPECT_EQ(ParseTimeText("5:09"), 309);
    EXPECT_EQ(ParseTimeText("75"), 75);
    EXPECT_EQ(ParseTimeText("24:00:00"), 86400);
    EXPECT_FALSE(ParseTimeText("24:00:01"));
    EXPECT_FALSE(ParseTimeText("-1"));
    EXPECT_FALSE(ParseTimeText("1:2:3:4"));
    EXPECT_FALSE(ParseTimeText(""));
}

TEST(ProgressLines, FitTheTerminal)
{
    QString line = ProgressBarLine("holiday.avi", 50, 76, 2.44, 80);
    EXPECT_LE(line.size(), 79);
    EXPECT_TRUE(line.contains("[##########----------]"));
    EXPECT_TRUE(line.contains(" 50%"));
    EXPECT_TRUE(line.contains("00:01:16"));
    EXPECT_TRUE(line.contains("2.4x"));
    QString longName = ProgressBarLine(QString(200, 'n') + ".avi", 150, 0, 0, 60);
    EXPECT_LE(longName.size(), 59);
    EXPECT_TRUE(longName.contains("100%"));
    EXPECT_TRUE(longName.contains("--x"));
    EXPECT_EQ(ProgressPlainLine("a.avi", 30, 5), "a.avi: 30% at 00:00:05");
}

// The real command, run from a program folder with a fake engine.
class CliRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        prog = dir.filePath("prog/");
        QDir().mkpath(prog);
        ASSERT_TRUE(QFile::copy(BuildBinDir() + "/zelo-convert", prog + "zelo-convert"));
        ASSERT_TRUE(QFile::copy(BuildBinDir() + "/Output.dll", prog + "Output.dll"));
        ASSERT_TRUE(QFile::copy(FakeEngineDir("full") + "/libEncoder.so", prog + "libEncoder.so"));
        env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", dir.filePath("home"));
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("ZELO_FAKE_ENGINE_LOG", dir.filePath("engine.log"));
        env.insert("ZELO_FAKE_ENGINE_PROBE", "40,mpeg4,mp3,320,240");
        QDir().mkpath(dir.filePath("home"));
        src = dir.filePath("holiday.avi");
        WriteFileBytes(src, "not really a video");
    }

    // With shellArgs, runs /bin/sh with them instead (pipes, redirections).
    int run(const QStringList &args, QString *out = nullptr, QString *err = nullptr,
            const QStringList &shellArgs = {})
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.path());
        if (shellArgs.isEmpty())
            p.start(prog + "zelo-convert", args);
        else
            p.start("/bin/sh", shellArgs);
        EXPECT_TRUE(p.waitForFinished(30000));
        if (out)
            *out = QString::fromUtf8(p.readAllStandardOutput());
        if (err)
            *err = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QTemporaryDir dir;
    QString prog;
    QString src;
    QProcessEnvironment env;
};

TEST_F(CliRun, ListsProfilesLikeTheWindow)
{
    WriteFileBytes(prog + "Output.dll",
                   "[pda]\nProfileCount=4\nProfile0=A : Video: 1x1\nProfile1=NoData\n"
                   "Profile2=\nProfile3=B\nDefaultIndex=7\n");
    QString out;
    EXPECT_EQ(run({"--list-profiles", "--kind", "pda"}, &out), 0);
    EXPECT_EQ(out, "0\tA : Video: 1x1\n1\t\n2\tB\nDefaultIndex=7\n");
    // The number listed is the one --profile takes.
    QString err;
    EXPECT_EQ(run({"--print-command", "--kind", "pda", "--profile", "2", src}, &out, &err), 1);
    EXPECT_TRUE(err.contains("the profile \"B\" has no frame size")) << err.toStdString();
}

TEST_F(CliRun, PrintsTheEngineVectorWithoutConverting)
{
    QString out;
    QString outDir = dir.filePath("out");
    ASSERT_EQ(run({"--print-command", "--start", "00:00:10", "--stop", "00:00:25", "--output-dir",
                   outDir, "--profile", "1", src},
                  &out),
              0);
    QStringList v = out.split('\n');
    v.removeLast();
    ASSERT_EQ(v.size(), 38);
    EXPECT_EQ(v.mid(0, 12).join(' '),
              "Moviforge.exe -y -ss 00:00:10 -t 15 -i " + src + " -vol 100 -bitexact -vcodec");
    EXPECT_EQ(v.mid(12, 25).join(' '),
              "mpeg4 -padtop 0 -padbottom 0 -padleft 0 -padright 0 -s 176x144 -r 25 -b 256 "
              "-acodec aac -ac 1 -ar 22050 -ab 48 -f 3gp");
    EXPECT_EQ(v[37], outDir + "/holiday.3gp");
    EXPECT_FALSE(QFile::exists(outDir)); // nothing made
    EXPECT_FALSE(ReadFileBytes(dir.filePath("engine.log")).contains("_X"));
}

TEST_F(CliRun, ConvertsAndReportsEachClip)
{
    QString out, err;
    QString outDir = dir.filePath("out");
    EXPECT_EQ(run({"--kind", "mp4", "--keep-ratio", "--output-dir", outDir, src}, &out, &err), 0)
        << err.toStdString();
    EXPECT_TRUE(out.contains("1 converted, 0 failed")) << out.toStdString();
    QByteArray log = ReadFileBytes(dir.filePath("engine.log"));
    EXPECT_TRUE(log.contains("|-f|mp4|" + QFile::encodeName(outDir) + "/holiday.MP4\n"))
        << log.toStdString();
    EXPECT_TRUE(log.contains("-s|640x480|")) << log.toStdString(); // MP4 VGA is the default

    // A clip converted without its sound is told at once and counted.
    env.insert("ZELO_FAKE_ENGINE_STATUS", "warning: the sound cannot be decoded");
    EXPECT_EQ(run({"--output-dir", outDir, src}, &out, &err), 0) << err.toStdString();
    EXPECT_TRUE(err.contains("holiday.avi: warning: the sound cannot be decoded"))
        << err.toStdString();
    EXPECT_TRUE(out.contains("1 converted (1 without its sound), 0 failed")) << out.toStdString();

    env.insert("ZELO_FAKE_ENGINE_RESULT", "2");
    EXPECT_EQ(run({"--output-dir", outDir, src, dir.filePath("missing.avi")}, &out, &err), 1);
    EXPECT_TRUE(out.contains("0 converted, 2 failed")) << out.toStdString();
    EXPECT_TRUE(err.contains("missing.avi: no such file")) << err.toStdString();
}

TEST_F(CliRun, CtrlCOrAHangUpStopsTheEngineAndSaysSo)
{
    env.insert("ZELO_FAKE_ENGINE_HOLD", "1"); // converts until stopped
    for (int sig : {SIGINT, SIGHUP}) {
        QFile::remove(dir.filePath("engine.log"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(prog + "zelo-convert", {"--output-dir", dir.filePath("out"), src, src});
        ASSERT_TRUE(p.waitForStarted());
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return ReadFileBytes(dir.filePath("engine.log")).contains("_X "); }, 20000));
        ::kill(pid_t(p.processId()), sig);
        ASSERT_TRUE(p.waitForFinished(20000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << sig;
        EXPECT_EQ(p.exitCode(), 130);
        EXPECT_TRUE(p.readAllStandardOutput().contains("Stop converting process by user!"));
        const QByteArray log = ReadFileBytes(dir.filePath("engine.log"));
        EXPECT_TRUE(log.contains("Mydll_Stop"));
        EXPECT_EQ(log.count("_X "), 1); // the second file never started
    }
}

TEST_F(CliRun, ACompletedClipEndsAtAHundredPercentUnderItsFinalName)
{
    // Progress that stops short of the end, then the engine's word that the
    // output got another name, and a line no version of this program knows.
    env.insert("ZELO_FAKE_ENGINE_STATUS",
               "frame= 9 q=2.0 size= 1kB time=6.00 bitrate= 1k\noutput: " +
                   dir.filePath("out/holiday-renamed.3gp") + "\nsomething new");
    QString out, err;
    EXPECT_EQ(run({"--output-dir", dir.filePath("out"), src}, &out, &err), 0) << err.toStdString();
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3) << out.toStdString();
    EXPECT_TRUE(lines[0].contains(" 15%")) << out.toStdString();
    EXPECT_TRUE(lines[1].contains("100%")) << out.toStdString();
    EXPECT_TRUE(out.contains("holiday.avi -> " + dir.filePath("out/holiday-renamed.3gp")))
        << out.toStdString();
}

// Through a pipe a refusal comes before the summary; output that cannot be
// written is a failure; without a home the thumbnails go to a private
// temporary folder that is gone at the end.
TEST_F(CliRun, MessagesInOrderAndNoHomeNeeded)
{
    const QString tmp = dir.filePath("tmp");
    QDir().mkpath(tmp);
    env.insert("HOME", "/nonexistent");
    env.remove("XDG_CACHE_HOME");
    env.insert("TMPDIR", tmp);
    QString out;
    const QString shell = QString("'%1' --output-dir '%2' '%3' missing.avi '%4' 2>&1 | cat")
                              .arg(prog + "zelo-convert", dir.filePath("out"), src, src);
    EXPECT_EQ(run({}, &out, nullptr, {"-c", shell}), 0);
    EXPECT_LT(out.indexOf("missing.avi: no such file"), out.indexOf("2 converted, 1 failed"))
        << out.toStdString();
    EXPECT_TRUE(QDir(tmp).isEmpty());
    EXPECT_NE(
        run({}, nullptr, nullptr, {"-c", "'" + prog + "zelo-convert' --list-profiles >/dev/full"}),
        0);
    EXPECT_EQ(run({"--version"}, &out), 0);
    EXPECT_EQ(out, "zelo-convert 2.1.6\n");
}

TEST_F(CliRun, BadInputGetsAClearMessage)
{
    QString out, err;
    EXPECT_EQ(run({"--stop", "00:01:00", src}, &out, &err), 1); // the clip lasts 40 s
    EXPECT_TRUE(err.contains("only 00:00:40 long")) << err.toStdString();
    EXPECT_EQ(run({"--profile", "99", src}, &out, &err), 2); // a usage error
    EXPECT_TRUE(err.contains("no profile at position 99")) << err.toStdString();
    EXPECT_EQ(run({"--frobnicate"}, &out, &err), 2);
    EXPECT_EQ(run({"--help"}, &out, &err), 0);
    EXPECT_TRUE(out.contains("--list-profiles"));
    QFile::remove(prog + "libEncoder.so");
    EXPECT_EQ(run({src}, &out, &err), 1);
    EXPECT_TRUE(err.contains("Can not load Moviforge function!"));
}

} // namespace
