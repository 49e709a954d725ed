#include "app/application.h"
#include "app/mainwindow.h"
#include "encoder/encoderlib.h"
#include "platform/pubfunction.h"
#include "tests/support/recordingshell.h"
#include "tests/support/testpaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>

namespace {

const QString kEngineMissing =
    QStringLiteral("Can not load Moviforge function!\nPlease re-install this program!\nEXIT!");

class StartupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        prog = dir.filePath("prog/");
        ASSERT_TRUE(QDir().mkpath(prog));
        log = dir.filePath("engine.log");
        qputenv("ZELO_FAKE_ENGINE_LOG", QFile::encodeName(log));
        InitGlobals(prog);
        ZeloApplication::instance()->resetTermination();
    }
    void TearDown() override { qunsetenv("ZELO_FAKE_ENGINE_LOG"); }

    void installEngine(const char *variant)
    {
        ASSERT_TRUE(QFile::copy(FakeEngineDir(variant) + "/libEncoder.so", prog + "libEncoder.so"));
    }
    QStringList engineCalls() const
    {
        return QString::fromUtf8(ReadFileBytes(log)).split('\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir dir;
    QString prog;
    QString log;
    ScopedRecordingShell shell;
};

TEST_F(StartupTest, CompleteEngineIsInitialisedAndReleasedInOrder)
{
    installEngine("full");
    ASSERT_TRUE(InstallDefaultSkin(prog));
    ASSERT_TRUE(QDir().mkpath(prog + "Snapshot/sub"));
    WriteFileBytes(prog + "Snapshot/snap0.pic", "jpeg");
    WriteFileBytes(prog + "Snapshot/sub/keep", "x");
    {
        TMainWindow window;
        EXPECT_TRUE(shell.boxes.isEmpty());
        EXPECT_FALSE(ZeloApplication::instance()->terminationRequested());
        EXPECT_EQ(engineCalls(), QStringList{"MyDll_Init"});
        EXPECT_TRUE(window.InitMainWindow());
        EXPECT_EQ(g_s_Version, "2.1.6 Build on 20070503");
        EXPECT_TRUE(QFileInfo(ZeloApplication::instance()->settings().path_Work()).isDir());
        window.FormDestroy();
        EXPECT_EQ(engineCalls(), (QStringList{"MyDll_Init", "Mydll_Stop", "MyDll_UnInit"}));
        EXPECT_EQ(DllConvert, nullptr);
    }
    EXPECT_EQ(engineCalls().size(), 3); // the destructor does not release twice
    EXPECT_FALSE(QFile::exists(prog + "Snapshot/snap0.pic"));
    EXPECT_TRUE(QFile::exists(prog + "Snapshot/sub/keep"));
    SettingsStore settings = SettingsStore::standard();
    EXPECT_EQ(settings.readText("OutputFolder"),
              ZeloApplication::instance()->settings().path_Work());
    EXPECT_EQ(settings.readFlag("KeepRatio"), false);
}

TEST_F(StartupTest, MissingOrIncompleteEngineShowsTheBoxOnceAndEnds)
{
    for (const char *variant : {"", "no_stop", "no_convert"}) {
        SCOPED_TRACE(variant);
        QFile::remove(prog + "libEncoder.so");
        QFile::remove(log);
        shell.boxes.clear();
        ZeloApplication::instance()->resetTermination();
        if (*variant)
            installEngine(variant);
        {
            TMainWindow window;
            window.InitMainWindow();
            window.FormDestroy();
        }
        ASSERT_EQ(shell.boxes.size(), 1);
        EXPECT_EQ(shell.boxes[0].kind, "error");
        EXPECT_EQ(shell.boxes[0].text, kEngineMissing);
        EXPECT_TRUE(ZeloApplication::instance()->terminationRequested());
        EXPECT_TRUE(engineCalls().isEmpty()) << engineCalls().join(", ").toStdString();
        EXPECT_FALSE(EncoderLoaded());
    }
}

TEST_F(StartupTest, EngineIsNeverTakenFromTheSearchPathOrCurrentFolder)
{
    // The program folder has no engine; one in the current folder and on
    // LD_LIBRARY_PATH must not be picked up.
    QString elsewhere = dir.filePath("elsewhere/");
    QDir().mkpath(elsewhere);
    QFile::copy(FakeEngineDir("full") + "/libEncoder.so", elsewhere + "libEncoder.so");
    QString cwd = QDir::currentPath();
    QDir::setCurrent(elsewhere);
    EXPECT_FALSE(LoadEncoder(prog));
    QDir::setCurrent(cwd);
    EXPECT_TRUE(engineCalls().isEmpty());
}

// The real program, started as a user starts it.
class ProgramRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        prog = dir.filePath("prog/");
        QDir().mkpath(prog + "Snapshot/sub");
        ASSERT_TRUE(InstallDefaultSkin(prog));
        ASSERT_TRUE(QFile::copy(BuildBinDir() + "/zelo-converter", prog + "zelo-converter"));
        ASSERT_TRUE(QFile::copy(FakeEngineDir("full") + "/libEncoder.so", prog + "libEncoder.so"));
        QFile::copy(BuildBinDir() + "/Output.dll", prog + "Output.dll");
        QDir().mkpath(dir.filePath("run"));
        QFile::setPermissions(dir.filePath("run"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", dir.filePath("home"));
        env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
        env.insert("XDG_RUNTIME_DIR", dir.filePath("run"));
        env.remove("ZELO_FAKE_ENGINE_LOG");
        QDir().mkpath(dir.filePath("home"));
    }

    void start(QProcess &p, const QStringList &args = {})
    {
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(dir.path());
        p.start(prog + "zelo-converter", args);
        ASSERT_TRUE(p.waitForStarted());
    }

    // Waits until the engine log holds every one of lines.
    bool logged(const QString &log, const QStringList &lines)
    {
        return QTest::qWaitFor(
            [&] {
                const QString text = QString::fromUtf8(ReadFileBytes(log));
                return std::all_of(lines.begin(), lines.end(),
                                   [&](const QString &l) { return text.contains(l + "\n"); });
            },
            20000);
    }

    QTemporaryDir dir;
    QString prog;
    QProcessEnvironment env;
};

TEST_F(ProgramRun, SecondCopyExitsSilentlyAndFirstEndsInOrder)
{
    WriteFileBytes(prog + "Snapshot/snap0.pic", "left over");
    WriteFileBytes(prog + "Snapshot/sub/keep", "x");

    QProcess first;
    start(first);
    QString lock = dir.filePath("run/Zuzudu4 Converter.lock");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(lock); }, 20000));
    QThread::msleep(300); // let the first copy reach its message loop

    QProcess second;
    start(second);
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 255);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    EXPECT_EQ(first.state(), QProcess::Running);

    // A polite request to end, as a desktop session's logout sends.
    ::kill(pid_t(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 0);

    QByteArray conf = ReadFileBytes(dir.filePath("config/Zuzudu4/Zuzudu4.conf"));
    EXPECT_TRUE(conf.contains("OutputFolder=")) << conf.toStdString();
    EXPECT_TRUE(conf.contains("KeepRatio=0")) << conf.toStdString();
    EXPECT_FALSE(QFile::exists(prog + "Snapshot/snap0.pic"));
    EXPECT_TRUE(QFile::exists(prog + "Snapshot/sub/keep"));
    EXPECT_TRUE(QDir(dir.filePath("home/ZeloOutput")).exists());

    // With the first copy gone, a new one starts normally.
    QProcess third;
    start(third);
    QThread::msleep(500);
    EXPECT_EQ(third.state(), QProcess::Running);
    ::kill(pid_t(third.processId()), SIGTERM);
    ASSERT_TRUE(third.waitForFinished(20000));
    EXPECT_EQ(third.exitCode(), 0);
}

TEST_F(ProgramRun, FilesOnTheCommandLineAreAddedAlsoThroughASecondCopy)
{
    // A splash picture that does not decode holds nothing up.
    WriteFileBytes(prog + "Skin/startup.jpg", "not a picture");
    const QString log = dir.filePath("engine.log");
    env.insert("ZELO_FAKE_ENGINE_LOG", log);
    env.insert("ZELO_FAKE_ENGINE_PROBE", "5,mpeg4,mp3,320,240");
    const QStringList names = {"first clip.avi", "b & c.avi", "line\nbreak.avi"};
    for (const QString &name : names)
        WriteFileBytes(dir.filePath(name), "media");

    QProcess first;
    start(first, {names[0]}); // relative to its working folder
    EXPECT_TRUE(logged(log, {"Mydll_GetFileinfo " + dir.filePath(names[0])}))
        << ReadFileBytes(log).toStdString();

    QProcess second;
    const QString url =
        "file://" + QString::fromLatin1(QUrl::toPercentEncoding(dir.filePath(names[2]), "/"));
    start(second, {dir.filePath(names[1]), url});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitCode(), 255);
    EXPECT_TRUE(logged(log, {"Mydll_GetFileinfo " + dir.filePath(names[1]),
                             "Mydll_GetFileinfo " + dir.filePath(names[2])}))
        << ReadFileBytes(log).toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);

    ::kill(pid_t(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_EQ(first.exitCode(), 0);
}

// A display that cannot be reached ends the start with a sentence, not with
// an abort and a core file; help and version need no display at all.
TEST_F(ProgramRun, UnreachableDisplayIsSaidAndEndsWithoutAbort)
{
    const QByteArray deadX = QFile::encodeName(dir.filePath("no-such-display") + ":0");
    const struct
    {
        const char *platform, *display, *wayland, *arg;
        int status;
        const char *said; // on stdout for 0, on stderr otherwise
    } cases[] = {
        {"xcb", deadX.constData(), nullptr, nullptr, 1, "cannot connect to a display: the X"},
        {nullptr, nullptr, nullptr, nullptr, 1, "cannot connect to a display: neither DISPLAY nor"},
        {"wayland", nullptr, "wayland-dead", nullptr, 1, "no Wayland compositor answers"},
        {nullptr, nullptr, "wayland-dead", nullptr, 1, "cannot connect to a display"},
        {nullptr, nullptr, nullptr, "--version", 0, "zelo-converter 2.1.6\n"},
        {"wayland", nullptr, "wayland-dead", "-v", 0, "zelo-converter 2.1.6\n"},
        {nullptr, nullptr, nullptr, "--help", 0, "-v, --version"},
    };
    for (const auto &c : cases) {
        for (auto [name, value] : {std::pair{"QT_QPA_PLATFORM", c.platform},
                                   {"DISPLAY", c.display},
                                   {"WAYLAND_DISPLAY", c.wayland}})
            value ? env.insert(name, value) : env.remove(name);
        QProcess run;
        start(run, c.arg ? QStringList{c.arg} : QStringList{});
        ASSERT_TRUE(run.waitForFinished(30000));
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << c.said;
        EXPECT_EQ(run.exitCode(), c.status) << c.said;
        const QByteArray said = c.status ? run.readAllStandardError() : run.readAllStandardOutput();
        EXPECT_TRUE(said.contains(c.said)) << said.toStdString();
    }
}

} // namespace
