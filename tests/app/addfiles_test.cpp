#include "app/application.h"
#include "app/mainwindow.h"
#include "clips/clipadder.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "platform/pubfunction.h"
#include "tests/support/programwindows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kRefused = "Unsupported or Damaged video file(s) can not add to list!";

// The real main window with the fake engine, adding files as a user does.
class AddFilesTest : public ProgramWindows
{
protected:
    void SetUp() override
    {
        qputenv("ZELO_FAKE_ENGINE_PROBE", "42,mpeg4,mp3,320,240");
        qputenv("ZELO_FAKE_ENGINE_LOG", QFile::encodeName(dir.filePath("engine.log")));
        startProgram(FakeEngineDir("full"));
    }

    QString media(const QString &name)
    {
        QString path = dir.filePath(name);
        WriteFileBytes(path, "media");
        return path;
    }

    TListPanel *list() const { return window->TP_ImageList; }
};

TEST_F(AddFilesTest, OneFileIsProbedAtOnceAndSelected)
{
    shell.nextFiles = {media("holiday.avi")};
    window->AddFilesClick();
    ASSERT_EQ(shell.fileDialogs, 1);
    ASSERT_EQ(shell.lastFilters.size(), 2);
    EXPECT_EQ(shell.lastFilters[0].title, "Support Media File");
    // Every container the engine reads, so a multi-selection drops none.
    const QStringList patterns = shell.lastFilters[0].patterns.split(';');
    for (const char *kind : {"*.mpg", "*.avi", "*.wmv", "*.asf", "*.mov", "*.vob", "*.mp4", "*.3gp",
                             "*.3g2", "*.flv", "*.webm", "*.mkv", "*.ts", "*.m4v"})
        EXPECT_TRUE(patterns.contains(kind)) << kind;
    EXPECT_EQ(shell.lastFilters[1].title, "All File (*.*)");
    EXPECT_EQ(shell.lastFilters[1].patterns, "*.*");

    ASSERT_EQ(list()->count(), 1);
    Image_Item *item = list()->GetItem(0);
    EXPECT_EQ(item->clip().path, dir.filePath("holiday.avi"));
    EXPECT_EQ(item->clip().duration, 42);
    EXPECT_EQ(item->clip().stopTime, 42);
    EXPECT_TRUE(item->Selected);
    EXPECT_TRUE(shell.boxes.isEmpty());
    EXPECT_FALSE(QFile::exists(path_Snapshot + "snap0.pic"));
}

TEST_F(AddFilesTest, DialogOpensWhereFilesWereLastAdded)
{
    // The first time: the home folder (the test's home has no Videos).
    SettingsStore::standard().write("AddFolder", QString());
    window->AddFilesClick();
    ASSERT_EQ(shell.fileDialogFolders.size(), 1) << shell.fileDialogs;
    EXPECT_EQ(shell.fileDialogFolders[0], QDir::homePath());
    QDir(QDir::homePath()).mkdir("Videos");
    window->AddFilesClick();
    EXPECT_EQ(shell.fileDialogFolders[1], QDir::homePath() + "/Videos");

    QDir(dir.path()).mkdir("sub dir");
    shell.nextFiles = {media("sub dir/a.avi")};
    window->AddFilesClick();
    shell.nextFiles.clear();
    window->AddFilesClick();
    EXPECT_EQ(shell.fileDialogFolders[3], dir.filePath("sub dir"));
    // Kept in the settings for the next run.
    EXPECT_EQ(AddFilesFolder(), dir.filePath("sub dir"));
    QDir(dir.filePath("sub dir")).removeRecursively();
    EXPECT_EQ(AddFilesFolder(), QDir::homePath() + "/Videos"); // gone: the first-time rule
    QDir(QDir::homePath()).rmdir("Videos");
}

TEST_F(AddFilesTest, CancelledDialogAddsNothing)
{
    window->AddFilesClick();
    EXPECT_EQ(shell.fileDialogs, 1);
    EXPECT_EQ(list()->count(), 0);
    EXPECT_TRUE(shell.boxes.isEmpty());
}

TEST_F(AddFilesTest, RefusedSingleFileSaysSoAtOnce)
{
    shell.nextFiles = {dir.filePath("missing.avi")};
    window->AddFilesClick();
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(shell.texts(), QStringList{kRefused});

    qputenv("ZELO_FAKE_ENGINE_PROBE", "42,RV40,cook,320,240"); // RealVideo is refused
    shell.boxes.clear();
    shell.nextFiles = {media("real.rm")};
    window->AddFilesClick();
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(shell.texts(), QStringList{kRefused});
    // The details name the file and why.
    EXPECT_EQ(shell.boxes[0].details,
              media("real.rm") + " : video format \"RV40\" is not supported");

    qputenv("ZELO_FAKE_ENGINE_PROBE", "42,unknown,none,0,0");
    shell.boxes.clear();
    window->AddFilesClick();
    EXPECT_EQ(shell.texts(), QStringList{kRefused});
}

TEST_F(AddFilesTest, SeveralFilesInOrderOneBoxAfterTheLast)
{
    shell.nextFiles = {media("a.avi"), dir.filePath("gone1.avi"), media("b.avi"),
                       dir.filePath("gone2.avi"), media("c.avi")};
    window->AddFilesClick();
    EXPECT_TRUE(window->adder()->adding());
    waitForAdd();
    EXPECT_FALSE(window->adder()->adding());
    ASSERT_EQ(list()->count(), 3);
    EXPECT_TRUE(list()->GetItem(0)->clip().path.endsWith("a.avi"));
    EXPECT_TRUE(list()->GetItem(1)->clip().path.endsWith("b.avi"));
    EXPECT_TRUE(list()->GetItem(2)->clip().path.endsWith("c.avi"));
    EXPECT_EQ(shell.texts(), QStringList{kRefused}); // once, after all five
    EXPECT_EQ(shell.boxes[0].details, dir.filePath("gone1.avi") + " : no such file\n" +
                                          dir.filePath("gone2.avi") + " : no such file");
    EXPECT_FALSE(QFile::exists(path_Snapshot + "snap0.pic"));
}

TEST_F(AddFilesTest, SecondClickWhileAddingIsIgnored)
{
    qputenv("ZELO_FAKE_ENGINE_PROBE_DELAY_MS", "100");
    shell.nextFiles = {media("a.avi"), media("b.avi"), media("c.avi")};
    window->AddFilesClick();
    ASSERT_TRUE(window->adder()->adding());
    window->AddFilesClick();
    EXPECT_EQ(shell.fileDialogs, 1);
    window->adder()->addFiles({media("dropped.avi")}); // a drop is refused the same way
    waitForAdd();
    EXPECT_EQ(list()->count(), 3);
}

TEST_F(AddFilesTest, DroppedFilesAreAddedLikeChosenOnes)
{
    QStringList files = {media("x.avi"), dir.filePath("nothing.avi")};
    // A second drop while the refusal notice is up is refused like any drop
    // during an add, and never waits for the worker that waits for the box.
    shell.whileInfoShows = [&] { emit list()->filesDropped({media("y.avi"), media("z.avi")}); };
    emit list()->filesDropped(files);
    waitForAdd();
    EXPECT_EQ(list()->count(), 1);
    EXPECT_EQ(shell.texts(), QStringList{kRefused});
}

TEST_F(AddFilesTest, ClosingDuringAnAddWaitsForTheCurrentFile)
{
    qputenv("ZELO_FAKE_ENGINE_PROBE_DELAY_MS", "50");
    QStringList files;
    for (int i = 0; i < 40; ++i)
        files << media(QStringLiteral("clip%1.avi").arg(i));
    shell.nextFiles = files;
    window->AddFilesClick();
    QTest::qWait(120);
    window->FormDestroy(); // what the program does after its loop ends
    EXPECT_FALSE(window->adder()->adding());
    const int probes = int(ReadFileBytes(dir.filePath("engine.log")).count("Mydll_GetFileinfo"));
    EXPECT_GT(probes, 0);
    EXPECT_LT(probes, 40); // the worker stopped after its current file
    EXPECT_TRUE(shell.boxes.isEmpty());
    window.reset(); // no use of the destroyed list afterwards
    QTest::qWait(100);
    EXPECT_EQ(int(ReadFileBytes(dir.filePath("engine.log")).count("Mydll_GetFileinfo")), probes);
}

} // namespace
