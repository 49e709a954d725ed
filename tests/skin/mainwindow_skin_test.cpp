#include "app/application.h"
#include "app/mainwindow.h"
#include "controls/checkimagebutton.h"
#include "controls/colourregion.h"
#include "controls/dynamicimagebutton.h"
#include "controls/image.h"
#include "controls/listmath.h"
#include "controls/listpanel.h"
#include "controls/picture.h"
#include "controls/previewpanel.h"
#include "platform/pubfunction.h"
#include "skin/components.h"
#include "skin/windowframe.h"
#include "tests/support/recordingshell.h"
#include "tests/support/testpaths.h"

#include <QComboBox>
#include <QDir>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class MainWindowSkin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        prog = dir.filePath("prog/");
        ASSERT_TRUE(QDir().mkpath(prog));
        ASSERT_TRUE(QFile::copy(FakeEngineDir("full") + "/libEncoder.so", prog + "libEncoder.so"));
        InitGlobals(prog);
        ZeloApplication::instance()->resetTermination();
    }
    QStringList componentNames(const TMainWindow &w) const
    {
        QStringList names;
        for (QObject *c : Components(&w))
            names << c->objectName();
        return names;
    }

    QTemporaryDir dir;
    QString prog;
    ScopedRecordingShell shell;
};

TEST_F(MainWindowSkin, DesignedComponentsThenSkinnedControlsInOrder)
{
    TMainWindow window;
    EXPECT_EQ(componentNames(window), (QStringList{"Panel_Preview", "ComboBox_OutputSetting",
                                                   "TP_ImageList",  "Img_Background",
                                                   "TB_Play",       "TB_Stop",
                                                   "TB_Pause",      "TB_Next",
                                                   "TB_Previous",   "TP_Progress",
                                                   "TB_Close",      "TB_AS_Keep",
                                                   "TB_Min",        "TB_Help",
                                                   "TB_AddFile",    "TB_DelFile",
                                                   "TB_Edit",       "TB_Convert",
                                                   "Img_VideoPic",  "TB_3GP",
                                                   "TB_PSP",        "TB_iPod",
                                                   "TB_PDA",        "TB_MP4"}));
    EXPECT_EQ(window.objectName(), "MainWindow");
    EXPECT_EQ(window.size(), QSize(792, 566));
    EXPECT_EQ(window.Panel_Preview->geometry(), QRect(421, 68, 300, 224));
    EXPECT_EQ(window.ComboBox_OutputSetting->geometry(), QRect(24, 358, 497, 21));
    EXPECT_EQ(window.Img_VideoPic->parentWidget(), window.Panel_Preview);
    EXPECT_FALSE(window.Img_Background->isEnabled());
    EXPECT_TRUE(window.TB_Play->isHidden()); // invisible until skinned
    EXPECT_FALSE(window.TB_AS_Keep->Checked());
    window.FormDestroy();
}

TEST_F(MainWindowSkin, DefaultSkinDressesEveryControlAndCutsTheOutline)
{
    ASSERT_TRUE(InstallDefaultSkin(prog));
    TMainWindow window;
    window.settings().setKeepRatio(true); // the saved setting, as loading leaves it
    ASSERT_TRUE(window.InitMainWindow());
    EXPECT_TRUE(shell.boxes.isEmpty());
    EXPECT_TRUE(window.TB_AS_Keep->Checked());
    EXPECT_TRUE(window.TB_AS_Keep->hasCheckedLook());
    const QRect face(QPoint(0, 0), window.size());
    for (QObject *c : Components(&window)) {
        auto *button = qobject_cast<TImageButton *>(c);
        if (!button)
            continue;
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_TRUE(button->hasImages());
        EXPECT_FALSE(button->isHidden());
        EXPECT_TRUE(face.contains(button->geometry()));
        EXPECT_FALSE(button->toolTip().isEmpty());
    }
    EXPECT_GT(window.TB_Convert->frameCount(), 1);
    const QRegion outline = window.mask();
    EXPECT_FALSE(outline.contains(QPoint(0, 0)));
    EXPECT_FALSE(outline.contains(QPoint(window.width() - 1, window.height() - 1)));
    EXPECT_TRUE(outline.contains(QPoint(window.width() / 2, 0)));
    // The designed components stay where they were designed.
    EXPECT_EQ(window.Panel_Preview->geometry(), QRect(421, 68, 300, 224));
    EXPECT_FALSE(window.Img_VideoPic->Picture().isNull());
    // The list holds whole rows above its floor.
    EXPECT_EQ(window.TP_ImageList->viewHeight() % listmath::RowStep, 0);
    // The profile list and the boxes wear the skin's colours.
    const QColor button = window.ComboBox_OutputSetting->palette().color(QPalette::Button);
    EXPECT_EQ(button, QColor(0x26, 0x2E, 0x3C));
    QMessageBox box;
    box.ensurePolished();
    EXPECT_EQ(box.palette().color(QPalette::Window), QColor(0x18, 0x1E, 0x28));
    window.FormDestroy();
    EXPECT_EQ(window.TB_Play, nullptr);
    for (const char *kind : {"QMessageBox", "QFileDialog", "QMenu"})
        QApplication::setPalette(QApplication::palette(), kind);
}

// Every picture of the default skin has a 2x twin of exactly twice its size,
// cut where the 1x picture is cut.
TEST_F(MainWindowSkin, DefaultSkinHasEveryPictureAtTwiceTheSize)
{
    const QDir skin(BuildBinDir() + "/Skin");
    const QStringList names = skin.entryList({"*.bmp", "*.jpg"}, QDir::Files);
    EXPECT_EQ(names.filter("@2x").size() * 2, names.size());
    for (const QString &name : names.filter(QRegularExpression("^[^@]*$"))) {
        const QImage single = LoadPictureFile(skin.filePath(name));
        QImage dense = LoadPictureFile(HighDensityPath(skin.filePath(name)));
        ASSERT_EQ(dense.size(), single.size() * 2) << name.toStdString();
        dense.setDevicePixelRatio(2);
        EXPECT_EQ(OutlineRegion(dense), OutlineRegion(single)) << name.toStdString();
    }
}

TEST_F(MainWindowSkin, WithoutASkinTheStartEndsSilently)
{
    TMainWindow window;
    EXPECT_FALSE(window.InitMainWindow());
    EXPECT_TRUE(shell.boxes.isEmpty());
    EXPECT_TRUE(window.mask().isEmpty());
    EXPECT_EQ(window.size(), QSize(792, 566));
    window.FormDestroy();
}

TEST_F(MainWindowSkin, ABrokenRecordShowsTheBoxOnce)
{
    ASSERT_TRUE(InstallDefaultSkin(prog));
    QFile ini(path_Skin + "Skin.ini");
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write("\r\n[MainWindow]\r\n"); // a second section is never read
    ini.close();
    QByteArray text = ReadFileBytes(path_Skin + "Skin.ini");
    text.replace("TB_Pause=main_pause.bmp", "TB_Pause=missing.bmp");
    ASSERT_TRUE(WriteFileBytes(path_Skin + "Skin.ini", text));
    TMainWindow window;
    EXPECT_FALSE(window.InitMainWindow());
    ASSERT_EQ(shell.boxes.size(), 1);
    EXPECT_EQ(shell.boxes[0].text,
              "Some Errors In Skin File.\nRe-install program may solve this problem!");
    EXPECT_TRUE(window.TB_Stop->hasImages());
    EXPECT_FALSE(window.TB_Next->hasImages());
    EXPECT_TRUE(window.mask().isEmpty());
    window.FormDestroy();
}

TEST_F(MainWindowSkin, ThePreviewPanelIsNotPartOfTheFace)
{
    ASSERT_TRUE(InstallDefaultSkin(prog));
    TMainWindow window;
    ASSERT_TRUE(window.InitMainWindow());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    TWindowFrame *frame = window.frame();
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, QPoint(500, 150));
    EXPECT_FALSE(frame->drag().dragging);
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, QPoint(500, 150));
    QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, QPoint(300, 20)); // title bar
    EXPECT_TRUE(frame->drag().dragging);
    QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, QPoint(300, 20));
    window.FormDestroy();
}

} // namespace
