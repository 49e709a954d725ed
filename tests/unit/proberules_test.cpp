// The rules the window and zelo-convert share: status-line kinds, the output
// folder, and where probes write their scratch pictures.
#include "encoder/probe.h"
#include "encoder/statusline.h"
#include "platform/pubfunction.h"
#include "tests/support/testpaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(StatusLineKinds, EachLineIsReadOneWay)
{
    using K = StatusLineKind;
    const auto kind = [](const char *line) { return ClassifyStatusLine(line).kind; };
    EXPECT_EQ(kind("frame=   90 q=2.0 size=     120kB time=6.00 bitrate= 163.8kbits/s"),
              K::Progress);
    // A progress line wins even when it mentions an error.
    EXPECT_EQ(kind("error time=1.00 bitrate=1"), K::Progress);
    EXPECT_EQ(ClassifyStatusLine("error: no video decoder").detail, "no video decoder");
    EXPECT_EQ(ClassifyStatusLine("error").kind, K::Failure);
    EXPECT_EQ(ClassifyStatusLine("errors galore").detail, "errors galore");
    // Only a line that starts with "error" is a failure; case matters.
    EXPECT_EQ(ClassifyStatusLine("warning: an error somewhere").kind, K::Warning);
    EXPECT_EQ(ClassifyStatusLine("warning: silence").detail, "silence");
    EXPECT_EQ(kind("warning: "), K::Other); // nothing to tell
    EXPECT_EQ(kind("Warning: shouting"), K::Other);
    EXPECT_EQ(kind("Error: shouting"), K::Other);
    const StatusLineClass renamed = ClassifyStatusLine("output: /out/holiday1.3gp");
    EXPECT_EQ(renamed.kind, K::OutputName);
    EXPECT_EQ(renamed.detail, "/out/holiday1.3gp");
    EXPECT_EQ(kind("output: "), K::Other); // no path: nothing to show
    EXPECT_EQ(kind(""), K::Other);
    EXPECT_EQ(kind("some line a newer engine sends"), K::Other);
}

class OutputFolderRule : public ::testing::Test
{
protected:
    void SetUp() override { InitGlobals(dir.filePath("prog")); }
    QTemporaryDir dir;
};

TEST_F(OutputFolderRule, MadeOneLevelDeepOrTheDefault)
{
    QString folder = dir.filePath("fresh/");
    EXPECT_TRUE(MakeOutputFolder(folder));
    EXPECT_EQ(folder, dir.filePath("fresh/"));
    EXPECT_TRUE(QFileInfo(folder).isDir());

    folder = dir.filePath("no/such/");
    EXPECT_FALSE(MakeOutputFolder(folder, false)); // a folder the user named stays
    EXPECT_EQ(folder, dir.filePath("no/such/"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("no")));

    EXPECT_TRUE(MakeOutputFolder(folder));
    EXPECT_EQ(folder, DefaultOutputFolder());
    EXPECT_TRUE(QFileInfo(DefaultOutputFolder()).isDir());

    // The start-up check follows the same rule.
    Settings settings(SettingsStore(dir.filePath("settings.conf")));
    settings.setOutputFolder(dir.filePath("deep/er/"));
    EXPECT_TRUE(EnsureFolders(settings));
    EXPECT_EQ(settings.path_Work(), DefaultOutputFolder());
}

TEST_F(OutputFolderRule, ScratchPicturesGoWhereThisProcessMayWrite)
{
    const QString snapshot = dir.filePath("prog/Snapshot/");
    const QString cache = dir.filePath("cache");
    // The decision, with the folder's writability given: an installed
    // program folder is read-only to its users.
    EXPECT_EQ(ChooseScratchFolder(snapshot, cache, [](const QString &) { return true; }), snapshot);
    EXPECT_EQ(ChooseScratchFolder(snapshot, cache, [](const QString &) { return false; }),
              dir.filePath("cache/Snapshot/"));

    QDir().mkpath(snapshot);
    EXPECT_TRUE(FolderWritable(snapshot));
    EXPECT_FALSE(FolderWritable(dir.filePath("missing")));
    EXPECT_FALSE(FolderWritable(QString()));
    if (::geteuid() != 0) { // root may write anywhere; the decision above covers it
        QFile::setPermissions(snapshot, QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_FALSE(FolderWritable(snapshot));
        QFile::setPermissions(snapshot, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Each process names its own scratch file, and cleans up only its own.
    const QString mine = SnapshotFile();
    EXPECT_TRUE(mine.startsWith(snapshot));
    EXPECT_TRUE(mine.contains(QString::number(::getpid()))) << mine.toStdString();
    const QString theirs = snapshot + "snap0-1.pic";
    WriteFileBytes(mine, "x");
    WriteFileBytes(theirs, "y");
    RemoveOwnScratchFiles();
    EXPECT_FALSE(QFile::exists(mine));
    EXPECT_TRUE(QFile::exists(theirs));
}

TEST_F(OutputFolderRule, EmptyingTheSnapshotFolderSparesOtherCopiesMidProbe)
{
    EXPECT_EQ(ScratchFileOwner("snap0-4711.pic"), 4711);
    EXPECT_EQ(ScratchFileOwner("snap0.pic"), 0);
    EXPECT_EQ(ScratchFileOwner("snap0-12.pic.bak"), 0);

    // A process that has ended: the pid of a child already waited for.
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ASSERT_GT(gone, 0);
    ::waitpid(gone, nullptr, 0);

    const QString folder = dir.filePath("prog/Snapshot/");
    QDir().mkpath(folder);
    const QString running = folder + "snap0-1.pic"; // init never ends
    const QString ended = folder + QString("snap0-%1.pic").arg(gone);
    const QString mine = folder + QString("snap0-%1.pic").arg(::getpid());
    const QString other = folder + "snap0.pic";
    for (const QString &f : {running, ended, mine, other})
        WriteFileBytes(f, "x");
    ClearSnapshotFolder(folder);
    EXPECT_TRUE(QFile::exists(running));
    EXPECT_FALSE(QFile::exists(ended));
    EXPECT_FALSE(QFile::exists(mine));
    EXPECT_FALSE(QFile::exists(other));
}

} // namespace
