#include "controls/checkimagebutton.h"
#include "controls/colourregion.h"
#include "controls/dynamicimagebutton.h"
#include "controls/image.h"
#include "skin/components.h"
#include "skin/skin.h"
#include "tests/support/recordingshell.h"
#include "tests/support/skinfixtures.h"
#include "tests/support/testpaths.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QColor N(Qt::red), H(Qt::green), P(Qt::blue), D(Qt::yellow);

// A window of the kind the skin dresses: a designed combo box first, then a
// background, a plain, a check and a dynamic button.
class SkinTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = dir.path() + "/";
        window.setObjectName("TestWindow");
        window.resize(500, 400);
        combo = CreateComponent<QComboBox>(&window, &window, "ComboBox_Thing");
        combo->setGeometry(7, 8, 90, 21);
        background = CreateComponent<TImage>(&window, &window, "Img_Background");
        background->setEnabled(false);
        plain = CreateComponent<TImageButton>(&window, &window, "TB_Plain");
        check = CreateComponent<TCheckImageButton>(&window, &window, "TB_Check");
        dynamic = CreateComponent<TDynamicImageButton>(&window, &window, "TB_Dynamic");
        picture(ColourStrip(300, 200, {Qt::white}), "bg.bmp");
        picture(ColourStrip(40, 20, {N, H, P}), "plain.bmp");
        picture(ColourStrip(30, 30, {N, H, P, D}), "check.bmp");
        picture(ColourStrip(30, 30, {Qt::black, Qt::gray, Qt::white, Qt::cyan}), "checked.bmp");
        picture(ColourStrip(24, 24, {N, H, P}), "dyn.bmp");
        picture(ColourStrip(24, 24, {Qt::cyan, Qt::magenta, Qt::white, Qt::gray, Qt::black}),
                "dynanim.bmp");
        records = {
            {"Img_Background", "bg.bmp,,,0,0,300,200,1,0,,0,,1,1,"},
            {"TB_Plain", "plain.bmp,,,10,20,40,20,1,1,0,,Plain tip,1,1,0,"},
            {"TB_Check", "check.bmp,checked.bmp,,60,20,30,30,1,1,0,,Off # On,1,1,1,"},
            {"TB_Dynamic", "dyn.bmp,dynanim.bmp,,100,20,24,24,1,1,0,,Go,40,0,0,"},
        };
    }

    void picture(const QImage &image, const QString &name)
    {
        ASSERT_TRUE(SaveBmp(image, folder + name));
    }
    void writeIni(const QString &extra = {})
    {
        QByteArray ini = "[Other]\nTB_Plain=Wrong\n\n[TestWindow]\n";
        for (auto it = records.cbegin(); it != records.cend(); ++it)
            ini += (it.key() + "=" + it.value() + "\r\n").toUtf8();
        ini += extra.toUtf8();
        ASSERT_TRUE(WriteFileBytes(folder + "Skin.ini", ini));
    }
    bool load()
    {
        writeIni();
        return LoadSkin(&window, folder);
    }

    QTemporaryDir dir;
    QString folder;
    ScopedRecordingShell shell;
    QWidget window;
    QComboBox *combo;
    TImage *background;
    TImageButton *plain;
    TCheckImageButton *check;
    TDynamicImageButton *dynamic;
    QMap<QString, QString> records;
};

TEST_F(SkinTest, MissingSkinFileFailsWithoutAWordAndChangesNothing)
{
    EXPECT_FALSE(LoadSkin(&window, folder));
    EXPECT_TRUE(shell.boxes.isEmpty());
    EXPECT_EQ(window.size(), QSize(500, 400));
    EXPECT_TRUE(plain->isHidden());
}

TEST_F(SkinTest, EveryControlTakesItsRecord)
{
    ASSERT_TRUE(load());
    EXPECT_TRUE(shell.boxes.isEmpty());
    EXPECT_EQ(window.size(), QSize(300, 200)); // fields 13 and 14 size the window
    EXPECT_EQ(background->geometry(), QRect(0, 0, 300, 200));
    EXPECT_FALSE(background->isEnabled());
    EXPECT_EQ(combo->geometry(), QRect(7, 8, 90, 21)); // other kinds keep their design

    EXPECT_EQ(plain->geometry(), QRect(10, 20, 40, 20));
    EXPECT_FALSE(plain->isHidden());
    EXPECT_EQ(plain->toolTip(), "Plain tip");
    EXPECT_EQ(Centre(plain->stateImage(ButtonState::Pressed)), P);

    EXPECT_EQ(check->geometry(), QRect(60, 20, 30, 30));
    EXPECT_TRUE(check->hasCheckedLook());
    EXPECT_EQ(check->toolTip(), "Off");
    check->SetChecked(true);
    EXPECT_EQ(Centre(check->currentImage()), QColor(Qt::black));
    EXPECT_EQ(check->toolTip(), "On");

    // The dynamic button's strip always has hover and pressed slices; its
    // fields 13 and 14 are the animation's timing.
    EXPECT_EQ(Centre(dynamic->stateImage(ButtonState::Pressed)), P);
    EXPECT_EQ(dynamic->frameCount(), 5);
    EXPECT_EQ(dynamic->frameInterval(), 40);
    EXPECT_FALSE(dynamic->repeats());
    EXPECT_TRUE(window.mask().isEmpty());
}

TEST_F(SkinTest, BackgroundWithoutSizeFlagsLeavesTheWindowAlone)
{
    records["Img_Background"] = "bg.bmp , , , 0 , 0 , 300 , 200 , 1 , 0 , , 1 , , 0 , 0 ,";
    ASSERT_TRUE(load());
    EXPECT_EQ(window.size(), QSize(500, 400));
    EXPECT_TRUE(background->Transparent());
    records["Img_Background"] = "bg.bmp,,,0,0,300,200,1,0,,0,,0,1,";
    ASSERT_TRUE(load());
    EXPECT_EQ(window.size(), QSize(500, 200));
}

TEST_F(SkinTest, TheThirdControlFailingStopsTheWalkWithOneBox)
{
    records["TB_Check"] = "check.bmp,missing.bmp,,60,20,30,30,1,1,0,,x,1,1,1,";
    EXPECT_FALSE(load());
    ASSERT_EQ(shell.boxes.size(), 1);
    EXPECT_EQ(shell.boxes[0].kind, "error");
    EXPECT_EQ(shell.boxes[0].text,
              "Some Errors In Skin File.\nRe-install program may solve this problem!");
    EXPECT_EQ(window.size(), QSize(300, 200)); // the first two were dressed
    EXPECT_FALSE(plain->isHidden());
    EXPECT_TRUE(dynamic->isHidden()); // the one after was not
    EXPECT_FALSE(dynamic->hasImages());
}

TEST_F(SkinTest, KeywordsAreExactAndMissingKeysFail)
{
    for (const char *bad : {"invisible", "Wrong", "INVISIBLE", ""}) {
        SCOPED_TRACE(bad);
        shell.boxes.clear();
        records["TB_Plain"] = bad;
        EXPECT_FALSE(load());
        EXPECT_EQ(shell.boxes.size(), 1);
    }
    records.remove("TB_Plain");
    EXPECT_FALSE(load());

    plain->setGeometry(5, 5, 40, 20);
    records["TB_Plain"] = "Invisible";
    records["TB_Dynamic"] = "Invisible";
    shell.boxes.clear();
    ASSERT_TRUE(load());
    EXPECT_EQ(plain->geometry(), QRect(0, 0, 0, 0));
    EXPECT_TRUE(plain->isHidden());
    EXPECT_TRUE(dynamic->isHidden());
    EXPECT_TRUE(shell.boxes.isEmpty());
}

TEST_F(SkinTest, ClearAndInvisiblePictures)
{
    ASSERT_TRUE(load());
    records["Img_Background"] = "Clear";
    ASSERT_TRUE(load());
    EXPECT_TRUE(background->Picture().isNull());
    EXPECT_EQ(background->geometry(), QRect(0, 0, 300, 200));
    records["Img_Background"] = "Invisible";
    ASSERT_TRUE(load());
    EXPECT_EQ(background->geometry(), QRect(0, 0, 0, 0));
    EXPECT_TRUE(background->isHidden());
    // A file that is there but is no picture is a broken skin.
    ASSERT_TRUE(WriteFileBytes(folder + "bad.bmp", "not a bitmap"));
    records["Img_Background"] = "bad.bmp,,,0,0,300,200,1,0,,0,,0,0,";
    EXPECT_FALSE(load());
}

TEST_F(SkinTest, ANarrowStripFailsButTheButtonIsStillPlaced)
{
    records["TB_Plain"] = "plain.bmp,,,10,20,40,20,1,0,0,,Tip,1,1,1,"; // needs 160
    EXPECT_FALSE(load());
    EXPECT_EQ(shell.boxes.size(), 1);
    EXPECT_EQ(plain->pos(), QPoint(10, 20));
    EXPECT_FALSE(plain->isEnabled());
    EXPECT_EQ(plain->toolTip(), "Tip");
    EXPECT_FALSE(plain->hasImages());
}

TEST_F(SkinTest, StaticSecondFieldInAnyCase)
{
    records["TB_Check"] = "check.bmp, STATIC ,,60,20,30,30,0,1,0,,tip,1,1,1,";
    records["TB_Dynamic"] = "dyn.bmp,Static,,100,20,24,24,1,1,0,,Go,40,0,0,";
    ASSERT_TRUE(load());
    EXPECT_FALSE(check->hasCheckedLook());
    EXPECT_FALSE(check->isHidden()); // shown whatever field 8 says
    EXPECT_EQ(dynamic->frameCount(), 0);
    SendEnter(dynamic);
    EXPECT_EQ(Centre(dynamic->currentImage()), H);

    records["TB_Dynamic"] = "dyn.bmp,static";
    EXPECT_FALSE(load());
}

TEST_F(SkinTest, CheckButtonsAreDressedByTheirOwnApplier)
{
    // Good enough for a plain button, but a check button needs its second strip.
    records["TB_Check"] = "check.bmp,,,60,20,30,30,1,1,0,,x,1,1,1,";
    EXPECT_FALSE(load());
    EXPECT_EQ(check->pos(), QPoint(60, 20));
    // And a control the window did not list is not the skin's.
    auto *stray = new TImageButton(&window);
    stray->setObjectName("TB_Plain");
    records["TB_Check"] = "check.bmp,checked.bmp,,60,20,30,30,1,1,0,,x,1,1,1,";
    ASSERT_TRUE(load());
    EXPECT_FALSE(stray->hasImages());
}

TEST_F(SkinTest, AnimationStripMustBeAWholeNumberOfFrames)
{
    picture(ColourStrip(24, 24, {N, H, P, D, N}, 12), "dynanim.bmp");
    EXPECT_FALSE(load());
    EXPECT_EQ(shell.boxes.size(), 1);
    EXPECT_FALSE(dynamic->isHidden()); // the first strip was good
}

TEST_F(SkinTest, MaskCutsTheWindowToItsNonMagentaPixels)
{
    records["Img_Background"] = "bg.bmp,,,0,0,300,200,1,0,,0,,0,0,";
    QImage mask = ColourStrip(200, 100, {Qt::black});
    mask.setPixel(0, 0, OutlineColour);
    mask.setPixel(199, 99, OutlineColour);
    picture(mask, "mask.bmp");
    writeIni("MaskBmp=mask.bmp\r\n");
    ASSERT_TRUE(LoadSkin(&window, folder));
    const QRegion shape = window.mask();
    EXPECT_EQ(shape.boundingRect(), QRect(0, 0, 200, 100)); // smaller than the window
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(199, 99)));
    EXPECT_TRUE(shape.contains(QPoint(1, 0)));
    EXPECT_FALSE(shape.contains(QPoint(250, 50)));

    QWidget plainWindow;
    plainWindow.setObjectName("TestWindow");
    plainWindow.resize(500, 400);
    picture(ColourStrip(120, 80, {Qt::gray}), "mask.bmp");
    ASSERT_TRUE(LoadSkin(&plainWindow, folder));
    EXPECT_EQ(plainWindow.mask(), QRegion(0, 0, 120, 80));

    // A key naming no file, or no key at all: the window stays rectangular.
    QWidget rect;
    rect.setObjectName("TestWindow");
    writeIni("MaskBmp=gone.bmp\r\n");
    ASSERT_TRUE(LoadSkin(&rect, folder));
    writeIni();
    ASSERT_TRUE(LoadSkin(&rect, folder));
    EXPECT_TRUE(rect.mask().isEmpty());
}

} // namespace
