// An installed program: the program folder belongs to root and the user
// cannot write it. Saved profiles go to a per-user copy that the window and
// zelo-convert then read. Root writes anywhere, so when the tests run as
// root the user's side runs in a child process as "nobody" (setpriv).
#include "app/profilechooser.h"
#include "app/profilewindow.h"
#include "controls/dynamicimagebutton.h"
#include "profiles/profilefile.h"
#include "profiles/profilestore.h"
#include "tests/support/errorreport.h"
#include "tests/support/programwindows.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;
const char *const kProgVar = "ZELO_TEST_READONLY_PROG";
const char *const kConfigVar = "ZELO_TEST_READONLY_CONFIG";

void ClickOkWhenShown(const QString &name)
{
    QTimer::singleShot(0, [name] {
        ProfileWindow->Edit_Name->setText(name);
        QTest::mouseClick(ProfileWindow->TB_Ok, Qt::LeftButton);
    });
}

// The user's side. Run only by ReadOnlyProgramFolder below, as the user.
TEST(ReadOnlyProgramFolderUser, DISABLED_AsTheUser)
{
    const QString prog = qEnvironmentVariable(kProgVar);
    const QString config = qEnvironmentVariable(kConfigVar);
    ASSERT_FALSE(prog.isEmpty());
    ASSERT_FALSE(QFileInfo(prog).isWritable()) << "the program folder must be read-only here";

    // No config folder that can take a copy: the save fails with the
    // program's message, naming the copy it could not make.
    const QString nowhere = prog + "nocfg";
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(nowhere));
    InitGlobals(prog);
    ScopedRecordingShell shell;
    auto main = std::make_unique<TMainWindow>();
    auto editor = std::make_unique<TProfileWindow>();
    auto progress = std::make_unique<TProgressWindow>();
    ASSERT_TRUE(main->InitMainWindow());
    QComboBox *list = main->ComboBox_OutputSetting;
    const int shipped = list->count() - 1;
    bool stayedOpen = false;
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(ProfileWindow->TB_Ok, Qt::LeftButton);
        stayedOpen = ProfileWindow->isVisible() && !ProfileWindow->b_Saved;
        QTest::mouseClick(ProfileWindow->TB_Cancel, Qt::LeftButton);
    });
    list->setCurrentIndex(shipped);
    emit list->activated(shipped);
    EXPECT_TRUE(stayedOpen);
    ExpectErrorReported(shell, "Unable to write to " + nowhere + "/Zuzudu4/Output.dll");
    shell.opened.clear();
    EXPECT_EQ(list->count(), shipped + 1);

    // With a config folder: a new profile, then an edit of the first one.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    shell.boxes.clear();
    ClickOkWhenShown("AsUser");
    list->setCurrentIndex(shipped);
    emit list->activated(shipped);
    ASSERT_EQ(list->count(), shipped + 2);
    EXPECT_TRUE(list->currentText().startsWith("AsUser : "));
    list->setCurrentIndex(0);
    QTimer::singleShot(0, [] {
        ProfileWindow->Edit_VideoBitRate->setText("77");
        QTest::mouseClick(ProfileWindow->TB_Ok, Qt::LeftButton);
    });
    QTest::mouseClick(main->TB_Edit, Qt::LeftButton);
    EXPECT_TRUE(list->itemText(0).contains(", 77 kbps,"));
    EXPECT_TRUE(shell.boxes.isEmpty()) << shell.texts().join('\n').toStdString();
    main->FormDestroy();
}

class ReadOnlyProgramFolder : public ::testing::Test
{
protected:
    // Writable again, so the temporary folder can go.
    void TearDown() override
    {
        if (!prog.isEmpty())
            ::chmod(QFile::encodeName(prog).constData(), 0755);
    }

    // Runs args as the user the test stands for: "nobody" under root.
    int runAsUser(const QString &program, const QStringList &args, const QString &config,
                  QByteArray *out = nullptr)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kProgVar, prog);
        env.insert(kConfigVar, config);
        env.insert("XDG_CONFIG_HOME", config);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", home);
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        if (::geteuid() == 0)
            p.start("setpriv",
                    QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} +
                        args);
        else
            p.start(program, args);
        if (!p.waitForFinished(180000))
            return -1;
        const QByteArray output = p.readAll();
        if (out)
            *out = output;
        if (p.exitCode() != 0)
            ADD_FAILURE() << output.toStdString();
        return p.exitCode();
    }

    QTemporaryDir dir;
    QString prog, home;
};

TEST_F(ReadOnlyProgramFolder, SavesGoToAPerUserCopyThatEveryReaderTakes)
{
    if (::geteuid() == 0 && QStandardPaths::findExecutable("setpriv").isEmpty())
        GTEST_SKIP() << "running as root without setpriv: no way to be an ordinary user";
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    prog = dir.filePath("prog/");
    home = dir.filePath("home");
    ASSERT_TRUE(QDir().mkpath(prog + "Snapshot"));
    ASSERT_TRUE(QDir().mkpath(home));
    ASSERT_TRUE(QFile::copy(FakeEngineDir("full") + "/libEncoder.so", prog + "libEncoder.so"));
    ASSERT_TRUE(QFile::copy(BuildBinDir() + "/Output.dll", prog + "Output.dll"));
    ASSERT_TRUE(QFile::copy(BuildBinDir() + "/zelo-convert", prog + "zelo-convert"));
    ASSERT_TRUE(InstallDefaultSkin(prog));
    const QByteArray shippedBytes = ReadFileBytes(prog + "Output.dll");
    // Installed: readable by all, writable by none but its owner.
    ::chmod(QFile::encodeName(prog + "Output.dll").constData(), 0444);
    ::chmod(QFile::encodeName(prog + "Snapshot").constData(), 0555);
    ::chmod(QFile::encodeName(prog).constData(), 0555);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(home).constData(), kNobody, kNobody), 0);
    }
    const QString config = home + "/.config";

    runAsUser(QCoreApplication::applicationFilePath(),
              {"--gtest_also_run_disabled_tests",
               "--gtest_filter=ReadOnlyProgramFolderUser.DISABLED_AsTheUser"},
              config);

    EXPECT_EQ(ReadFileBytes(prog + "Output.dll"), shippedBytes);
    const QString copy = config + "/Zuzudu4/Output.dll";
    ASSERT_TRUE(QFileInfo(copy).isFile());
    const ProfileFile mine(copy), theirs(prog + "Output.dll");
    const QStringList before = theirs.readProfileLines("3gp");
    const QStringList after = mine.readProfileLines("3gp");
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_TRUE(after.last().startsWith("AsUser : "));
    EXPECT_TRUE(after.first().contains(", 77 kbps,"));
    EXPECT_EQ(after.mid(1, before.size() - 1), before.mid(1));
    for (const char *section : {"psp", "ipod", "pda", "mp4"})
        EXPECT_EQ(mine.readProfileLines(section), theirs.readProfileLines(section)) << section;

    // zelo-convert, run by the same user, lists the user's profiles.
    QByteArray listed;
    EXPECT_EQ(runAsUser(prog + "zelo-convert", {"--list-profiles"}, config, &listed), 0);
    EXPECT_TRUE(listed.contains("AsUser : ")) << listed.toStdString();
    EXPECT_TRUE(listed.contains(", 77 kbps,")) << listed.toStdString();
}

} // namespace
