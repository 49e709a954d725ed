// The profile editor reached from the main window: "Add my profile...", the
// edit button, the list after a save, the device-kind buttons, and a program
// folder the user cannot write.
#include "app/profilechooser.h"
#include "app/profilewindow.h"
#include "clips/clipadder.h"
#include "clips/cliplist.h"
#include "controls/checkimagebutton.h"
#include "controls/dynamicimagebutton.h"
#include "controls/image.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "encoder/encoderlib.h"
#include "profiles/profilefile.h"
#include "profiles/profileline.h"
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
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QByteArray kGapped =
    "[3gp]\nProfileCount=3\nDefaultIndex=0\n"
    "Profile0=Alpha : Video: 176x144, 128 kbps, 15 fps, Audio: 32 kbps, 22.05 khps, "
    "1 Channel Mono\n"
    "Profile1=NoData\n"
    "Profile2=Gamma : Video: 128x96, 64 kbps, 12 fps, Audio: 16 kbps, 8 khps, 1 Channel Mono\n"
    "ResolutionCount=2\nResolution0=128x96\nResolution1=176x144\nResolutionIndex=1\n"
    "VideoFrameRateCount=2\nVideoFrameRate0=12\nVideoFrameRate1=15\nVideoFrameRateIndex=1\n"
    "AudioQualityCount=2\nAudioQuality0=16\nAudioQuality1=32\nAudioQualityIndex=1\n"
    "AudioFrameRateCount=2\nAudioFrameRate0=8\nAudioFrameRate1=22.05\nAudioFrameRateIndex=1\n"
    "DefaultName=Mine\n";

// Acts in the editor once the event loop runs (inside its modal loop when
// it opens). Tied to the editor, so a call left over when the editor never
// opened goes with it at the end of the test.
void WhenEditorShows(std::function<void(TProfileWindow *)> act, bool *shown = nullptr)
{
    QTimer::singleShot(0, ProfileWindow, [act, shown] {
        if (shown)
            *shown = ProfileWindow->isVisible();
        act(ProfileWindow);
    });
}

// Whether trigger opens the editor; closes it again if it does.
bool EditorOpensFor(const std::function<void()> &trigger)
{
    bool ran = false, opened = false;
    WhenEditorShows([&](TProfileWindow *e) {
        ran = true;
        opened = e->isVisible();
        e->close();
    });
    trigger();
    for (int i = 0; i < 100 && !ran; ++i)
        QTest::qWait(10);
    EXPECT_TRUE(ran);
    return opened;
}

class ProfileEditorTest : public ProgramWindows
{
protected:
    void SetUp() override
    {
        startProgram(FakeEngineDir("full"));
        QFile::remove(UserProfilePath());
    }
    void TearDown() override
    {
        QFile::remove(UserProfilePath());
        ProgramWindows::TearDown();
    }
    void useProfiles(const QByteArray &text)
    {
        ASSERT_TRUE(WriteFileBytes(prog + "Output.dll", text));
        window->chooser()->SelectDeviceKind(0);
    }
    QComboBox *list() const { return window->ComboBox_OutputSetting; }
    QStringList entries() const
    {
        QStringList all;
        for (int i = 0; i < list()->count(); ++i)
            all << list()->itemText(i);
        return all;
    }
    // The user picks the entry at position.
    void pick(int position)
    {
        list()->setCurrentIndex(position);
        emit list()->activated(position);
    }
    QString stored(int i) const
    {
        return ProfileFile(prog + "Output.dll").readProfileLine("3gp", i);
    }
};

TEST_F(ProfileEditorTest, AddMyProfileSavesAndSelectsTheNewProfile)
{
    useProfiles(kGapped);
    bool shown = false;
    WhenEditorShows(
        [](TProfileWindow *e) {
            e->Edit_Name->setText("  Fresh ");
            e->ComboBox_AudioFrameRate->setCurrentIndex(-1); // an empty text, no check
            QTest::mouseClick(e->TB_Ok, Qt::LeftButton);
        },
        &shown);
    pick(2);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(ProfileWindow->isVisible());
    EXPECT_EQ(stored(3), "Fresh : Video: 176x144, 200 kbps, 15 fps, Audio: 32 kbps,  khps, "
                         "2 Channels Stereo");
    EXPECT_FALSE(QFile::exists(UserProfilePath())); // the program folder took it
    EXPECT_EQ(ProfileFile(prog + "Output.dll").readProfileCount("3gp"), 4);
    ASSERT_EQ(list()->count(), 4);
    EXPECT_EQ(list()->currentIndex(), 2); // the new one, before "Add my profile..."
    EXPECT_TRUE(list()->currentText().startsWith("Fresh : "));
    EXPECT_TRUE(shell.boxes.isEmpty());
}

TEST_F(ProfileEditorTest, CancellingLeavesTheListAndSelectsTheLastProfile)
{
    useProfiles(kGapped);
    const QStringList before = entries();
    WhenEditorShows([](TProfileWindow *e) {
        e->Edit_Name->setText("Dropped");
        QTest::mouseClick(e->TB_Cancel, Qt::LeftButton);
    });
    pick(2);
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(list()->currentIndex(), 1);
    EXPECT_EQ(ReadFileBytes(prog + "Output.dll"), kGapped);

    // Only the profile file's own entry opens the editor.
    EXPECT_FALSE(EditorOpensFor([&] { pick(0); }));
    EXPECT_TRUE(EditorOpensFor([&] { pick(list()->count() - 1); }));
}

TEST_F(ProfileEditorTest, EditChangesTheEntryTheSelectedLineCameFrom)
{
    // Entry 1 is empty, so the second listed profile is entry 2: editing it
    // must not write entry 1.
    useProfiles(kGapped + "DefaultIndex=0\n");
    list()->setCurrentIndex(1);
    QString name;
    WhenEditorShows([&](TProfileWindow *e) {
        name = e->Edit_Name->text();
        EXPECT_TRUE(e->Edit_Name->isReadOnly());
        e->Edit_VideoBitRate->setText("99");
        QTest::mouseClick(e->TB_Ok, Qt::LeftButton);
    });
    QTest::mouseClick(window->TB_Edit, Qt::LeftButton);
    EXPECT_EQ(name, "Gamma");
    EXPECT_EQ(stored(1), "NoData");
    EXPECT_EQ(stored(2), "Gamma : Video: 128x96, 99 kbps, 12 fps, Audio: 16 kbps, 8 khps, "
                         "1 Channel Mono");
    EXPECT_EQ(ProfileFile(prog + "Output.dll").readProfileCount("3gp"), 3);
    // Reloaded, and back on DefaultIndex rather than the edited line.
    EXPECT_TRUE(entries().at(1).contains("99 kbps"));
    EXPECT_EQ(list()->currentIndex(), 0);

    // Cancel after changes writes nothing.
    const QByteArray before = ReadFileBytes(prog + "Output.dll");
    WhenEditorShows([](TProfileWindow *e) {
        e->Edit_VideoBitRate->setText("7");
        QTest::mouseClick(e->TB_Close, Qt::LeftButton);
    });
    QTest::mouseClick(window->TB_Edit, Qt::LeftButton);
    EXPECT_FALSE(ProfileWindow->b_Saved);
    EXPECT_EQ(ReadFileBytes(prog + "Output.dll"), before);

    // Edit on "Add my profile..." edits the slot a new profile would take,
    // never a listed one.
    list()->setCurrentIndex(list()->count() - 1);
    WhenEditorShows([](TProfileWindow *e) { QTest::mouseClick(e->TB_Ok, Qt::LeftButton); });
    QTest::mouseClick(window->TB_Edit, Qt::LeftButton);
    EXPECT_EQ(ProfileFile(prog + "Output.dll").readProfileCount("3gp"), 4);
    EXPECT_TRUE(stored(3).startsWith("Mine : "));
    EXPECT_TRUE(stored(2).startsWith("Gamma : "));

    // Nothing selected: nothing to edit, and no editor.
    list()->setCurrentIndex(-1);
    EXPECT_FALSE(EditorOpensFor([&] { QTest::mouseClick(window->TB_Edit, Qt::LeftButton); }));
}

TEST_F(ProfileEditorTest, AFailedSaveIsReportedAndTheEditorStaysOpen)
{
    useProfiles(kGapped);
    // The file's place taken by a folder: no write can succeed, root or not.
    ASSERT_TRUE(QFile::remove(prog + "Output.dll"));
    ASSERT_TRUE(QDir().mkpath(prog + "Output.dll"));
    bool stillOpen = false;
    WhenEditorShows([&](TProfileWindow *e) {
        QTest::mouseClick(e->TB_Ok, Qt::LeftButton);
        stillOpen = e->isVisible() && !e->b_Saved;
        QTest::mouseClick(e->TB_Cancel, Qt::LeftButton);
    });
    pick(list()->count() - 1);
    EXPECT_TRUE(stillOpen);
    ExpectErrorReported(shell,
                        "Unable to write to " + QFileInfo(prog + "Output.dll").absoluteFilePath());
}

TEST_F(ProfileEditorTest, DeviceKindButtonsSwitchTheKind)
{
    EXPECT_TRUE(window->TB_Kinds[0]->Checked()); // start-up selects kind 0
    const QImage phone = window->Img_VideoPic->Picture();
    const char *const sections[] = {"3gp", "psp", "ipod", "pda", "mp4"};
    const char *const formats[] = {"3gp", "psp", "mp4", "mp4", "mp4"};
    QList<QImage> pictures;
    for (int kind = 4; kind >= 0; --kind) {
        TCheckImageButton *button = window->TB_Kinds[kind];
        ASSERT_FALSE(button->isHidden());
        QTest::mouseClick(button, Qt::LeftButton);
        ProfileChooser *chooser = window->chooser();
        EXPECT_EQ(chooser->CurrentKind, kind);
        EXPECT_EQ(chooser->s_OutputExt, kind == 0 ? ".3gp" : ".MP4");
        EXPECT_EQ(chooser->s_OutputFormat, formats[kind]);
        for (int k = 0; k < DeviceKindCount; ++k)
            EXPECT_EQ(window->TB_Kinds[k]->Checked(), k == kind);
        QStringList expected = ProfileFile(prog + "Output.dll").readProfileLines(sections[kind]);
        expected << "Add my profile...";
        EXPECT_EQ(entries(), expected) << sections[kind];
        EXPECT_FALSE(window->Img_VideoPic->Picture().isNull());
        for (const QImage &other : pictures)
            EXPECT_NE(window->Img_VideoPic->Picture(), other) << sections[kind];
        pictures << window->Img_VideoPic->Picture();
    }
    EXPECT_EQ(window->Img_VideoPic->Picture(), phone);

    // The editor follows the kind: a new PSP profile lands in the psp section.
    QTest::mouseClick(window->TB_Kinds[1], Qt::LeftButton);
    const int pspCount = ProfileFile(prog + "Output.dll").readProfileCount("psp");
    WhenEditorShows([](TProfileWindow *e) { QTest::mouseClick(e->TB_Ok, Qt::LeftButton); });
    pick(list()->count() - 1);
    EXPECT_EQ(ProfileFile(prog + "Output.dll").readProfileCount("psp"), pspCount + 1);
    EXPECT_EQ(list()->count(), pspCount + 2);
}

// The real engine: one short clip converted for every kind through the
// window, read back by the engine's probe and by the container's own brand.
class KindConversionTest : public ProgramWindows
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(MediaFile("mpeg4_mp3.avi")).isFile()) << "fixture step missing";
        startProgram(BuildBinDir());
    }
};

TEST_F(KindConversionTest, EveryKindConvertsThroughTheWindow)
{
    window->adder()->addFiles({MediaFile("mpeg4_mp3.avi")});
    waitForAdd();
    ASSERT_EQ(window->TP_ImageList->count(), 1);
    window->clips()->SetTrim(window->TP_ImageList->GetItem(0)->clip().id, 0, 1);

    const char *const brands[] = {"3gp", "MSNV", "isom", "isom", "isom"};
    for (int kind = 0; kind < DeviceKindCount; ++kind) {
        settings().setOutputFolder(dir.filePath(QStringLiteral("out%1/").arg(kind)));
        QTest::mouseClick(window->TB_Kinds[kind], Qt::LeftButton);
        const OutputProfile chosen =
            ParseProfileLine(window->ComboBox_OutputSetting->currentText());
        progress->StartClick();
        ASSERT_TRUE(waitForBatch());
        EXPECT_TRUE(shell.boxes.isEmpty()) << shell.texts().join('\n').toStdString();

        const QString out = settings().path_Work() + "mpeg4_mp3" + window->chooser()->s_OutputExt;
        ASSERT_TRUE(QFileInfo(out).isFile()) << out.toStdString();
        const QByteArray path = QFile::encodeName(out);
        ClipInfo info{};
        ASSERT_EQ(DllGetFileInfo(path.constData(), &info), 0) << kind;
        EXPECT_STREQ(info.VideoFormat, "mpeg4");
        EXPECT_STREQ(info.AudioFormat, "aac");
        EXPECT_EQ(info.VideoWidth, chosen.Width) << kind;
        EXPECT_EQ(info.VideoHeight, chosen.Height) << kind;
        EXPECT_EQ(info.Duration, 1);
        const QByteArray head = ReadFileBytes(out).left(12);
        EXPECT_EQ(head.mid(4, 4), "ftyp") << kind;
        EXPECT_TRUE(head.mid(8).startsWith(brands[kind])) << kind << " " << head.mid(8).data();
    }
}

} // namespace
