// The profile editor on its own, offscreen, over a profile file the test
// writes: the fields it shows and how it is dressed. What its buttons write
// is tried from the main window (tests/app/profileeditor_test.cpp).
#include "app/profilewindow.h"
#include "controls/dynamicimagebutton.h"
#include "platform/pubfunction.h"
#include "profiles/profilestore.h"
#include "skin/skin.h"
#include "skin/windowframe.h"
#include "tests/support/recordingshell.h"
#include "tests/support/testpaths.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QByteArray kProfiles =
    "[3gp]\r\n"
    "ProfileCount=3\r\n"
    "Profile0=Alpha : Video: 176x144, 128 kbps, 15 fps, Audio: 32 kbps, 22.05 khps, "
    "1 Channel Mono\r\n"
    "Profile1=NoData\r\n"
    "Profile2=Gone : Video: 800x600, 3000 kbps, 25 fps, Audio: 64 kbps, 44.1 khps, "
    "2 Channels Stereo\r\n"
    "ResolutionCount=2\r\nResolution0=128x96\r\nResolution1=176x144\r\nResolutionIndex=0\r\n"
    "VideoFrameRateCount=2\r\nVideoFrameRate0=15\r\nVideoFrameRate1=25\r\n"
    "VideoFrameRateIndex=1\r\n"
    "AudioQualityCount=2\r\nAudioQuality0=32\r\nAudioQuality1=64\r\nAudioQualityIndex=0\r\n"
    "AudioFrameRateCount=2\r\nAudioFrameRate0=22.05\r\nAudioFrameRate1=44.1\r\n"
    "AudioFrameRateIndex=0\r\n"
    "DefaultName=My Phone\r\nDefaultBitRate=5000\r\n";

class ProfileWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobals(dir.filePath("prog/"));
        QDir().mkpath(path_Config);
        QFile::remove(UserProfilePath());
        ASSERT_TRUE(WriteFileBytes(file(), kProfiles));
        ASSERT_TRUE(InstallDefaultSkin(path_Config));
        editor = std::make_unique<TProfileWindow>();
        ASSERT_TRUE(LoadSkin(editor.get(), path_Skin));
    }
    void TearDown() override { editor.reset(); }

    QString file() const { return path_Config + "Output.dll"; }
    // Types over the whole field, as a user replacing its value would.
    void type(const QString &text)
    {
        editor->Edit_VideoBitRate->selectAll();
        QTest::keyClicks(editor->Edit_VideoBitRate, text);
    }

    QTemporaryDir dir;
    ScopedRecordingShell shell;
    std::unique_ptr<TProfileWindow> editor;
};

TEST_F(ProfileWindowTest, BitRateFieldAndArrowsStayInStep)
{
    editor->LoadNewProfileDefaults(0);
    QLineEdit *field = editor->Edit_VideoBitRate;
    // DefaultBitRate 5000 is shown clamped.
    EXPECT_EQ(field->text(), "2500");
    EXPECT_EQ(editor->arrowPosition(), 2500);
    QTest::mouseClick(editor->UpDown_Up, Qt::LeftButton);
    EXPECT_EQ(field->text(), "2500"); // stops at the top
    QTest::mouseClick(editor->UpDown_Down, Qt::LeftButton);
    EXPECT_EQ(field->text(), "2499");

    type("3000");
    EXPECT_EQ(field->text(), "2500");
    type("0");
    EXPECT_EQ(field->text(), "1");
    EXPECT_EQ(editor->arrowPosition(), 1);
    QTest::mouseClick(editor->UpDown_Down, Qt::LeftButton);
    EXPECT_EQ(field->text(), "1"); // stops at the bottom
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), "1");
    field->setText("020");
    EXPECT_EQ(field->text(), "20");
    QTest::keyClicks(field, "x");
    EXPECT_EQ(field->text(), "20");
    QTest::mouseClick(editor->UpDown_Up, Qt::LeftButton);
    EXPECT_EQ(field->text(), "21");
    EXPECT_EQ(editor->arrowPosition(), 21);
}

TEST_F(ProfileWindowTest, NewProfileDefaultsFromTheFileAndWithoutIt)
{
    editor->LoadNewProfileDefaults(0);
    EXPECT_EQ(editor->s_Section, "3gp");
    EXPECT_EQ(editor->ProfileIndex, 3);
    EXPECT_EQ(editor->Edit_Name->text(), "My Phone");
    EXPECT_FALSE(editor->Edit_Name->isReadOnly());
    EXPECT_EQ(editor->ComboBox_VideoResolution->currentText(), "128x96");
    EXPECT_EQ(editor->ComboBox_VideoFramerate->currentText(), "25");
    EXPECT_EQ(editor->ComboBox_AudioChannel->currentText(), "2 Channels Stereo");
    EXPECT_FALSE(editor->b_Saved);

    // A kind outside the table keeps the section.
    editor->LoadNewProfileDefaults(9);
    EXPECT_EQ(editor->s_Section, "3gp");

    QFile::remove(file());
    editor->LoadNewProfileDefaults(1);
    EXPECT_EQ(editor->s_Section, "psp");
    EXPECT_EQ(editor->ComboBox_VideoResolution->count(), 0);
    EXPECT_EQ(editor->ComboBox_AudioFrameRate->count(), 0);
    EXPECT_EQ(editor->Edit_Name->text(), "DefaultName");
    EXPECT_EQ(editor->Edit_VideoBitRate->text(), "200");
    EXPECT_EQ(editor->arrowPosition(), 200);
    EXPECT_EQ(editor->ProfileIndex, 0);
}

TEST_F(ProfileWindowTest, LoadingStoredLines)
{
    editor->LoadNewProfileDefaults(0);
    editor->LoadProfileForEdit(0);
    EXPECT_EQ(editor->ProfileIndex, 0);
    EXPECT_TRUE(editor->Edit_Name->isReadOnly());
    EXPECT_EQ(editor->Edit_Name->text(), "Alpha");
    EXPECT_EQ(editor->ComboBox_VideoResolution->currentText(), "176x144");
    EXPECT_EQ(editor->Edit_VideoBitRate->text(), "128");
    EXPECT_EQ(editor->ComboBox_VideoFramerate->currentText(), "15");
    EXPECT_EQ(editor->ComboBox_AudioChannel->currentText(), "1 Channel Mono");

    // A frame size, frame rate and sample rate no longer offered leave the
    // preselected options; the bit rate is clamped; stereo is read back.
    editor->LoadNewProfileDefaults(0);
    editor->LoadProfileForEdit(2);
    EXPECT_EQ(editor->Edit_Name->text(), "Gone");
    EXPECT_EQ(editor->ComboBox_VideoResolution->currentText(), "128x96");
    EXPECT_EQ(editor->ComboBox_VideoFramerate->currentText(), "25");
    EXPECT_EQ(editor->ComboBox_AudioBitRate->currentText(), "64");
    EXPECT_EQ(editor->ComboBox_AudioFrameRate->currentText(), "44.1");
    EXPECT_EQ(editor->Edit_VideoBitRate->text(), "2500");
    EXPECT_EQ(editor->ComboBox_AudioChannel->currentText(), "2 Channels Stereo");

    // Typing stops at 15 characters; a longer stored name is kept whole.
    editor->LoadNewProfileDefaults(0);
    QTest::keyClicks(editor->Edit_Name, " and a long tail");
    EXPECT_EQ(editor->Edit_Name->text(), "My Phone and a ");
    editor->Edit_Name->setText("A name of twenty chars");
    EXPECT_EQ(editor->Edit_Name->text(), "A name of twenty chars");

    // An empty slot keeps the defaults, with the name locked.
    editor->LoadNewProfileDefaults(0);
    editor->LoadProfileForEdit(1);
    EXPECT_EQ(editor->Edit_Name->text(), "My Phone");
    EXPECT_TRUE(editor->Edit_Name->isReadOnly());
    EXPECT_EQ(editor->ProfileIndex, 1);
}

TEST_F(ProfileWindowTest, SkinnedAndDraggable)
{
    EXPECT_TRUE(shell.boxes.isEmpty());
    EXPECT_EQ(editor->size(), QSize(480, 366));
    for (TDynamicImageButton *b : {editor->TB_Ok, editor->TB_Cancel, editor->TB_Close}) {
        EXPECT_FALSE(b->isHidden()) << b->objectName().toStdString();
        EXPECT_GT(b->width(), 0);
        // Inside the window, off the group boxes and the name field.
        EXPECT_TRUE(editor->rect().contains(b->geometry()));
        for (QWidget *field :
             {static_cast<QWidget *>(editor->GroupBox1), static_cast<QWidget *>(editor->GroupBox2),
              static_cast<QWidget *>(editor->Edit_Name)})
            EXPECT_FALSE(b->geometry().intersects(field->geometry()));
    }
    EXPECT_FALSE(editor->mask().isEmpty()); // the outline is cut

    QPoint cursor(200, 200);
    editor->frame()->setCursorSource([&] { return cursor; });
    editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    const QPoint start = editor->pos();
    QTest::mousePress(editor->windowHandle(), Qt::LeftButton, {}, QPoint(20, 350));
    cursor += QPoint(30, -12);
    QTest::mouseMove(editor->windowHandle(), QPoint(50, 338));
    QTest::mouseRelease(editor->windowHandle(), Qt::LeftButton, {}, QPoint(50, 338));
    EXPECT_EQ(editor->pos(), start + QPoint(30, -12));
}

} // namespace
