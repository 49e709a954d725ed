#include "app/application.h"
#include "app/mainwindow.h"
#include "app/profilechooser.h"
#include "app/progresswindow.h"
#include "clips/clipadder.h"
#include "controls/dynamicimagebutton.h"
#include "controls/image.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "encoder/convertdef.h"
#include "platform/pubfunction.h"
#include "tests/support/programwindows.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// The real main and progress windows over the fake engine, which records
// every vector it is given and ends each clip as the test says.
class BatchTest : public ProgramWindows
{
protected:
    void SetUp() override
    {
        qputenv("ZELO_FAKE_ENGINE_PROBE", "40,mpeg4,mp3,320,240");
        qputenv("ZELO_FAKE_ENGINE_LOG", QFile::encodeName(log()));
        startProgram(FakeEngineDir("full"));
        out = settings().path_Work();
    }

    QString log() const { return dir.filePath("engine.log"); }

    void addClips(const QStringList &names)
    {
        for (const QString &name : names) {
            QString path = dir.filePath(name);
            WriteFileBytes(path, "media");
            window->adder()->addFiles({path});
        }
    }

    // The vectors the engine was given, one list of entries each.
    QList<QStringList> vectors() const
    {
        QList<QStringList> v;
        for (const QString &line : QString::fromUtf8(ReadFileBytes(log())).split('\n'))
            if (line.startsWith("_X "))
                v << line.split('|').mid(1);
        return v;
    }

    QString out;
};

TEST_F(BatchTest, ThreeClipsRunInOrderAndTheFolderOpens)
{
    addClips({"holiday.avi", "a.b.avi", "clip"});
    QDir().mkpath(out);
    WriteFileBytes(out + "holiday.3gp", "an older one");
    progress->StartClick();
    EXPECT_TRUE(progress->TB_Start->isHidden());
    EXPECT_FALSE(progress->TB_Stop->isHidden());
    waitForBatch();

    const QList<QStringList> v = vectors();
    ASSERT_EQ(v.size(), 3);
    for (const QStringList &entries : v)
        EXPECT_EQ(entries.size(), 38);
    EXPECT_EQ(v[0].mid(0, 8).join(' '),
              "Moviforge.exe -y -ss 00:00:00 -t 40 -i " + dir.filePath("holiday.avi"));
    EXPECT_EQ(v[0].mid(21, 16).join(' '), "-s 176x144 -r 15 -b 128 -acodec aac -ac 1 -ar 22050 "
                                          "-ab 32 -f 3gp");
    EXPECT_EQ(v[0][37], out + "holiday.3gp"); // taken: the engine numbers it
    EXPECT_EQ(v[1][37], out + "a.b.3gp");
    EXPECT_EQ(v[2][37], out + "clip.3gp");

    EXPECT_FALSE(progress->batch()->converting());
    EXPECT_FALSE(progress->TB_Start->isHidden());
    EXPECT_EQ(progress->Label_TP->text(), "100");
    EXPECT_EQ(progress->Label_CP->text(), "100");
    EXPECT_EQ(shell.opened, QStringList{out});
    EXPECT_TRUE(shell.boxes.isEmpty());
}

TEST_F(BatchTest, StatusLinesMoveTheBarsOnTheUiThread)
{
    addClips({"a.avi", "b.avi", "c.avi"});
    qputenv("ZELO_FAKE_ENGINE_HOLD", "1");
    qputenv("ZELO_FAKE_ENGINE_STATUS", "frame=   90 q=2.0 size=     120kB time=6.00 bitrate= 1k");
    progress->StartClick();
    QTest::qWait(20);
    EXPECT_EQ(progress->Label_CP->text(), "15"); // 6 of 40 seconds
    EXPECT_EQ(progress->Label_TP->text(), "5");
    EXPECT_EQ(progress->Label_CurrentTime->text(), "00:00:06");
    EXPECT_EQ(progress->Label_Length->text(), "00:00:40");
    EXPECT_EQ(progress->Label_SrcName->text(), "a.avi");
    EXPECT_EQ(progress->Label_DesName->text(), "a.3gp");

    // The first clip ends; the second clip's first line has no figures:
    // (1 x 100 + 0) / 3 = 33 for the batch, and the clip's start time.
    qputenv("ZELO_FAKE_ENGINE_STATUS", "no markers at all");
    MessageTarget *target = progress->batch()->messageTarget();
    target->post(target, WM_CONVERT_DONE, CONVERT_DONE_COMPLETE, 0);
    QTest::qWait(20);
    EXPECT_EQ(progress->Label_SrcName->text(), "b.avi");
    EXPECT_EQ(progress->Label_TP->text(), "33");
    EXPECT_EQ(progress->Label_CP->text(), "0");
    EXPECT_EQ(progress->Label_CurrentTime->text(), "00:00:00");
    progress->StopClick();
    waitForBatch();
}

TEST_F(BatchTest, StopEndsTheBatchKeepsAnotherWritersFileAndSaysSo)
{
    addClips({"a.avi", "b.avi"});
    qputenv("ZELO_FAKE_ENGINE_HOLD", "1");
    progress->StartClick();
    ASSERT_TRUE(progress->batch()->converting());
    WriteFileBytes(MyConvertDef.s_Output, "someone else's");

    progress->CloseClick(); // refused while converting
    EXPECT_EQ(shell.texts(), QStringList{"Converting clips now!\nPlease stop it first!"});
    progress->BrowseClick(); // ignored while converting
    EXPECT_TRUE(shell.folderPrompts.isEmpty());

    progress->StopClick();
    waitForBatch();
    EXPECT_EQ(ReadFileBytes(out + "a.3gp"), "someone else's");
    EXPECT_EQ(vectors().size(), 1); // the second clip never started
    EXPECT_EQ(shell.texts().last(), "Stop converting process by user!");
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_TRUE(progress->batch()->stopRequested());

    // A second batch in the same showing starts afresh and completes.
    qunsetenv("ZELO_FAKE_ENGINE_HOLD");
    progress->StartClick();
    EXPECT_FALSE(progress->batch()->stopRequested());
    waitForBatch();
    EXPECT_EQ(vectors().size(), 3);
    EXPECT_EQ(shell.opened, QStringList{out});
}

TEST_F(BatchTest, AClipThatCompletesAsStopIsPressedIsKept)
{
    addClips({"a.avi", "b.avi"});
    qputenv("ZELO_FAKE_ENGINE_HOLD", "1");
    progress->StartClick();
    WriteFileBytes(MyConvertDef.s_Output, "a whole clip");
    // The engine has finished; Stop is pressed before its message is read.
    MessageTarget *target = progress->batch()->messageTarget();
    target->post(target, WM_CONVERT_DONE, CONVERT_DONE_COMPLETE, 0);
    progress->StopClick();
    waitForBatch();
    EXPECT_EQ(ReadFileBytes(out + "a.3gp"), "a whole clip");
    EXPECT_EQ(shell.texts().last(), "Stop converting process by user!");
    EXPECT_EQ(vectors().size(), 1);
}

TEST_F(BatchTest, FailedClipsAreNamedNotPassedOffAsDone)
{
    addClips({"a.avi", "b.avi"});
    qputenv("ZELO_FAKE_ENGINE_RESULT", "2");
    qputenv("ZELO_FAKE_ENGINE_STATUS", "error: no video decoder for this clip");
    progress->StartClick();
    waitForBatch();
    EXPECT_EQ(vectors().size(), 2); // the batch goes on after a failure
    ASSERT_EQ(shell.boxes.size(), 1);
    EXPECT_EQ(shell.boxes[0].text, "These clips could not be converted:\n"
                                   "a.avi: no video decoder for this clip\n"
                                   "b.avi: no video decoder for this clip");
    EXPECT_TRUE(shell.opened.isEmpty()); // nothing to show
    EXPECT_EQ(progress->batch()->failures().size(), 2);

    // Clips converted with silence for their sound are named too.
    qunsetenv("ZELO_FAKE_ENGINE_RESULT");
    qputenv("ZELO_FAKE_ENGINE_STATUS", "warning: silent");
    progress->StartClick();
    waitForBatch();
    EXPECT_EQ(shell.boxes.last().text,
              "These clips were converted with a warning:\na.avi: silent\nb.avi: silent");
    qunsetenv("ZELO_FAKE_ENGINE_STATUS");
}

TEST_F(BatchTest, AnEngineThatRefusesToStartDoesNotHangTheBatch)
{
    addClips({"a.avi", "b.avi"});
    qputenv("ZELO_FAKE_ENGINE_REFUSE", "1");
    progress->StartClick();
    waitForBatch();
    qunsetenv("ZELO_FAKE_ENGINE_REFUSE");
    EXPECT_FALSE(progress->batch()->converting());
    EXPECT_EQ(vectors().size(), 2);
    EXPECT_EQ(shell.texts(), QStringList{"These clips could not be converted:\n"
                                         "a.avi: the engine refused to start\n"
                                         "b.avi: the engine refused to start"});
}

TEST_F(BatchTest, RefusalsBeforeTheStart)
{
    // No clips.
    progress->StartClick();
    EXPECT_EQ(shell.texts(),
              QStringList{"No clip to convert!\nPlease add clip to list, then convert it!"});
    EXPECT_FALSE(progress->batch()->converting());

    // "Add my profile..." is no profile.
    addClips({"a.avi"});
    QComboBox *list = window->ComboBox_OutputSetting;
    list->setCurrentIndex(list->count() - 1);
    shell.boxes.clear();
    window->ConvertClick();
    EXPECT_EQ(shell.texts(), QStringList{"Please select a Output Porfiles!"});
    progress->StartClick();
    EXPECT_EQ(shell.texts().size(), 2);
    EXPECT_FALSE(progress->batch()->converting());

    // Nothing selected: the empty text has no frame size; no word.
    list->setCurrentIndex(-1);
    shell.boxes.clear();
    progress->StartClick();
    EXPECT_TRUE(shell.boxes.isEmpty());
    EXPECT_FALSE(progress->batch()->converting());
    EXPECT_TRUE(vectors().isEmpty());
}

TEST_F(BatchTest, OutputFolderIsMadeOrFallsBack)
{
    addClips({"a.avi"});
    settings().setOutputFolder(dir.filePath("fresh")); // no separator yet, not there yet
    progress->ResetDisplay();
    EXPECT_EQ(progress->Edit_WorkingFolder->text(), dir.filePath("fresh/"));
    progress->StartClick();
    waitForBatch();
    EXPECT_TRUE(QFileInfo(dir.filePath("fresh")).isDir());
    EXPECT_EQ(vectors().last()[37], dir.filePath("fresh/a.3gp"));

    settings().setOutputFolder(dir.filePath("no/such/deep/"));
    progress->StartClick();
    waitForBatch();
    EXPECT_EQ(settings().path_Work(), DefaultOutputFolder());
    EXPECT_EQ(progress->Edit_WorkingFolder->text(), DefaultOutputFolder());
}

TEST_F(BatchTest, BrowseSetsTheFolderForTheNextBatch)
{
    const QString before = settings().path_Work();
    shell.nextFolder = dir.filePath("chosen");
    progress->BrowseClick();
    ASSERT_EQ(shell.folderPrompts.size(), 2);
    EXPECT_EQ(shell.folderPrompts.first(), "Please select \"Output Folder\" :");
    EXPECT_EQ(shell.folderPrompts[1], before); // opens where the output goes now
    EXPECT_EQ(settings().path_Work(), dir.filePath("chosen/"));
    EXPECT_EQ(progress->Edit_WorkingFolder->text(), dir.filePath("chosen/"));
    shell.nextFolder.clear(); // cancelled: nothing changes
    progress->BrowseClick();
    EXPECT_EQ(shell.folderPrompts[3], dir.filePath("chosen/"));
    EXPECT_EQ(settings().path_Work(), dir.filePath("chosen/"));
}

TEST_F(BatchTest, ConvertButtonShowsTheWindowModally)
{
    addClips({"a.avi"});
    bool sawWindow = false;
    QTimer::singleShot(0, [&] {
        sawWindow = progress->isVisible() && progress->isModal();
        EXPECT_EQ(progress->Label_CP->text(), "0");
        progress->StartClick();
        progress->CloseClick(); // refused while converting, in a box of this window's
        EXPECT_EQ(shell.boxes.value(0).owner, progress.get());
        QTimer::singleShot(50, [&] { progress->CloseClick(); });
    });
    window->ConvertClick(); // returns when the window has closed
    EXPECT_TRUE(sawWindow);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(vectors().size(), 1);
}

TEST_F(BatchTest, KeepRatioPadsTheCommandLine)
{
    qputenv("ZELO_FAKE_ENGINE_PROBE", "40,mpeg4,mp3,240,320"); // an upright clip
    addClips({"upright.mp4"});
    window->KeepRatioClick();
    EXPECT_TRUE(settings().b_KeepRatio());
    QComboBox *list = window->ComboBox_OutputSetting;
    list->setCurrentIndex(4); // Phone Large, 352x288
    progress->StartClick();
    waitForBatch();
    const QStringList v = vectors().last();
    // 240 x 320 into 352 x 288: (352 - trunc(288 x 0.75)) / 2 = 68 each side.
    EXPECT_EQ(v.mid(13, 8).join(' '), "-padtop 0 -padbottom 0 -padleft 68 -padright 68");
}

TEST_F(BatchTest, ChooserListsTheKindsProfilesAndPicture)
{
    QComboBox *list = window->ComboBox_OutputSetting;
    EXPECT_EQ(list->count(), 6); // five 3GP profiles and the editor entry
    EXPECT_EQ(list->itemText(5), "Add my profile...");
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_FALSE(window->Img_VideoPic->Picture().isNull()); // 3gp.jpg
    ProfileChooser *chooser = window->chooser();
    EXPECT_EQ(chooser->s_OutputExt, ".3gp");

    chooser->SelectDeviceKind(1);
    EXPECT_EQ(chooser->s_OutputExt, ".MP4");
    EXPECT_EQ(chooser->s_OutputFormat, "psp");
    list->setCurrentIndex(0);
    ConvertDef profile;
    ASSERT_TRUE(chooser->ApplySelectedProfile(profile));
    EXPECT_EQ(profile.s_Size, "320x240");
    EXPECT_EQ(profile.s_SampleRate, "48000");
    EXPECT_EQ(profile.s_Format, "psp");
    EXPECT_EQ(chooser->OutputWidth, 320);

    chooser->SelectDeviceKind(9); // no such kind: nothing listed, no picture
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(chooser->s_OutputFormat, "psp");
    EXPECT_TRUE(window->Img_VideoPic->Picture().isNull());

    // DefaultIndex beyond the list leaves nothing selected; at the count it
    // selects the editor entry.
    WriteFileBytes(prog + "Output.dll", "[3gp]\nProfileCount=1\nProfile0=P : Video: 176x144, 1 "
                                        "kbps, 2 fps, Audio: 3 kbps, 8 khps, 1 Channel Mono\n"
                                        "DefaultIndex=5\n[psp]\nDefaultIndex=0\n"
                                        "[mp4]\nProfileCount=1\nProfile0=x\nDefaultIndex=1\n");
    chooser->LoadProfileList(0);
    EXPECT_EQ(list->currentIndex(), -1);
    chooser->LoadProfileList(4);
    EXPECT_EQ(list->currentText(), "Add my profile...");
    chooser->LoadProfileList(1);
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(list->currentIndex(), 0);
}

} // namespace
