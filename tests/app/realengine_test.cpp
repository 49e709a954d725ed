// The program with its real engine on generated media: what a user gets
// when adding files and converting them.
#include "app/application.h"
#include "app/mainwindow.h"
#include "app/progresswindow.h"
#include "clips/clipadder.h"
#include "clips/cliplist.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "encoder/encoderlib.h"
#include "platform/pubfunction.h"
#include "tests/support/programwindows.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kRefused = "Unsupported or Damaged video file(s) can not add to list!";

class RealEngineTest : public ProgramWindows
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(MediaFile("mpeg4_mp3.avi")).isFile()) << "fixture step missing";
        startProgram(BuildBinDir());
    }

    void add(const QStringList &files)
    {
        window->adder()->addFiles(files);
        waitForAdd();
    }

    TListPanel *list() const { return window->TP_ImageList; }
};

TEST_F(RealEngineTest, AGoodFileBecomesAnEntryWithItsThumbnail)
{
    add({MediaFile("mpeg4_mp3.avi")});
    ASSERT_EQ(list()->count(), 1);
    Image_Item *item = list()->GetItem(0);
    EXPECT_EQ(item->clip().path, MediaFile("mpeg4_mp3.avi"));
    EXPECT_GT(item->clip().duration, 0);
    EXPECT_EQ(item->clip().videoFormat, "mpeg4");
    EXPECT_EQ(item->clip().audioFormat, "mp3");
    EXPECT_GT(item->clip().width, 0);
    // The thumbnail is not the entry's grey ground.
    EXPECT_NE(item->picture().pixelColor(40, 30), Image_Item::Grey);
    EXPECT_TRUE(shell.boxes.isEmpty());
    EXPECT_TRUE(QDir(path_Snapshot).entryList(QDir::Files).isEmpty());
}

TEST_F(RealEngineTest, RefusedFilesAreReportedOnceAfterTheLast)
{
    add({MediaFile("h264_aac.mp4"), MediaFile("rv10_ra144.rm"), MediaFile("wmv2_wma.wmv"),
         MediaFile("garbage.avi"), MediaFile("flv1_mp3.flv")});
    ASSERT_EQ(list()->count(), 3);
    EXPECT_EQ(list()->GetItem(0)->clip().videoFormat, "h264");
    EXPECT_EQ(list()->GetItem(1)->clip().videoFormat, "wmv2");
    EXPECT_EQ(list()->GetItem(2)->clip().videoFormat, "flv1");
    EXPECT_EQ(shell.texts(), QStringList{kRefused});

    for (const char *bad : {"rv20_ac3.rm", "truncated.mp4", "text.avi", "empty.avi"}) {
        shell.boxes.clear();
        add({MediaFile(bad)});
        EXPECT_EQ(shell.boxes.size(), 1) << bad;
    }
    EXPECT_EQ(list()->count(), 3);
    EXPECT_TRUE(QDir(path_Snapshot).entryList(QDir::Files).isEmpty());
}

TEST_F(RealEngineTest, ABatchConvertsEveryClipReadableAfterwards)
{
    add({MediaFile("mpeg4_mp3.avi"), MediaFile("phone_upright.mp4")});
    ASSERT_EQ(list()->count(), 2);
    window->clips()->SetTrim(list()->GetItem(0)->clip().id, 1, 2);
    window->KeepRatioClick(); // the upright clip gets bands
    progress->StartClick();
    ASSERT_TRUE(waitForBatch());
    EXPECT_TRUE(shell.boxes.isEmpty()) << shell.texts().join('\n').toStdString();
    ASSERT_EQ(shell.opened, QStringList{settings().path_Work()});
    EXPECT_EQ(progress->Label_TP->text(), "100");

    // Read back by the engine's own probe, as the next add would.
    for (const char *name : {"mpeg4_mp3.3gp", "phone_upright.3gp"}) {
        const QByteArray path = QFile::encodeName(settings().path_Work() + name);
        ClipInfo info{};
        ASSERT_EQ(DllGetFileInfo(path.constData(), &info), 0) << name;
        EXPECT_STREQ(info.VideoFormat, "mpeg4");
        EXPECT_STREQ(info.AudioFormat, "aac");
        EXPECT_EQ(info.VideoWidth, 176);
        EXPECT_EQ(info.VideoHeight, 144);
        if (QByteArray(name).startsWith("mpeg4")) {
            EXPECT_EQ(info.Duration, 1); // trimmed to one second
        }
    }
    EXPECT_TRUE(QDir(settings().path_Work()).entryList(QDir::Files | QDir::Hidden).size() == 2)
        << QDir(settings().path_Work())
               .entryList(QDir::Files | QDir::Hidden)
               .join(' ')
               .toStdString();
}

} // namespace
