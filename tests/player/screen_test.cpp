// The real player library in the real main window, on each display (X11,
// Wayland, offscreen): what the panel shows while a clip plays, pauses and
// seeks, the end of a clip, a damaged file, clips stored on their side, and
// every clip the engine's tests make.
#include "app/mainwindow.h"
#include "clips/clipadder.h"
#include "controls/checkimagebutton.h"
#include "controls/dynamicimagebutton.h"
#include "controls/fixprogress.h"
#include "controls/image.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "controls/previewpanel.h"
#include "encoder/playerlib.h"
#include "tests/engine/fixturecatalog.h"
#include "tests/player/screen.h"
#include "tests/support/programwindows.h"

#include <QDeadlineTimer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

namespace {

class ScreenPreview : public ProgramWindows
{
protected:
    void SetUp() override
    {
        if (!ScreenMissing.isEmpty())
            GTEST_SKIP() << ScreenMissing.toStdString();
        ASSERT_TRUE(QFileInfo(MediaFile("mpeg4_mp3.avi")).isFile()) << "fixture step missing";
        startProgram(BuildBinDir(), BuildBinDir());
        ASSERT_TRUE(Player::Loaded());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    Image_Item *add(const QString &file)
    {
        window->adder()->addFiles({file});
        waitFor([&] { return !window->adder()->workerRunning(); }, 30000);
        return window->TP_ImageList->GetItem(window->TP_ImageList->count() - 1);
    }

    static bool waitFor(const std::function<bool()> &done, int ms)
    {
        for (QDeadlineTimer end(ms); !done(); QTest::qWait(20))
            if (end.hasExpired())
                return false;
        return true;
    }

    QImage panel() const { return ScreenShot(window->Panel_Preview); }

    // Share of the panel's pixels that are not black.
    static double lit(const QImage &img)
    {
        qint64 n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += qGray(img.pixel(x, y)) > 24;
        return img.isNull() ? 0 : double(n) / (img.width() * img.height());
    }

    bool playing() const
    {
        return window->loadedClip() && !window->Img_VideoPic->isVisible() &&
               window->PollTimer->isActive();
    }
    bool idle() const { return !window->loadedClip() && window->Img_VideoPic->isVisible(); }

    void click(TImageButton *b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, 6)); }
    void play(Image_Item *clip)
    {
        QTest::mouseClick(clip, Qt::LeftButton);
        click(window->TB_Play);
    }
};

// 'r', 'g' or 'b': the strongest of a pixel's three.
char Hue(QRgb c)
{
    return qRed(c) >= qGreen(c) && qRed(c) >= qBlue(c) ? 'r' : qGreen(c) >= qBlue(c) ? 'g' : 'b';
}

TEST_F(ScreenPreview, ClipsStoredOnTheirSideShowUprightAsTheirMatrixSays)
{
    // Stored: left half blue with its top half green, right half red. The
    // expected corners (top-left, top-right, bottom-left, bottom-right) of
    // the portrait picture, as the converter turns it.
    for (const auto &[file, rotation, mirrored, corners] :
         {std::tuple{"turned90.mp4", 90, false, "bgrr"},
          {"turned270.mp4", 270, false, "rrgb"},
          {"turned90_mirrored.mp4", 90, true, "gbrr"}}) {
        SCOPED_TRACE(file);
        if (!window->TB_AS_Keep->Checked()) // black bars show the picture's shape
            click(window->TB_AS_Keep);
        ClipRecipe recipe{.file = file, .muxer = "mp4", .videoEncoder = "libx264"};
        recipe.pattern = "color=c=red";
        recipe.pictureFilter = "drawbox=x=0:y=0:w=80:h=120:color=blue:t=fill,"
                               "drawbox=x=0:y=0:w=80:h=60:color=green:t=fill";
        recipe.rotation = rotation;
        recipe.mirrored = mirrored;
        std::string error;
        ASSERT_TRUE(writeFixture(dir.path().toStdString(), recipe, error)) << error;
        play(add(dir.filePath(file)));
        ASSERT_TRUE(waitFor([&] { return playing() && lit(panel()) > 0.2; }, 10000));
        const QImage img = panel(); // a still picture
        QRect box;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) > 24)
                    box |= QRect(x, y, 1, 1);
        EXPECT_GT(box.height(), box.width()) << "not portrait";
        std::string shown;
        for (QPoint at : {QPoint(1, 1), QPoint(3, 1), QPoint(1, 3), QPoint(3, 3)})
            shown += Hue(
                img.pixel(box.x() + box.width() * at.x() / 4, box.y() + box.height() * at.y() / 4));
        EXPECT_EQ(shown, corners);
        click(window->TB_Stop);
    }
}

TEST_F(ScreenPreview, EveryClipTheEngineTakesPreviewsSafely)
{
    if (QGuiApplication::platformName() != "offscreen")
        GTEST_SKIP() << "once is enough";
    ASSERT_TRUE(Player::Init(window->messageTarget()));
    for (const ClipRecipe &recipe : fixtureCatalog()) {
        SCOPED_TRACE(recipe.file);
        ASSERT_NE(Player::Open(MediaFile(recipe.file.c_str())), 0u);
        QTest::qWait(250);
    }
    Player::Stop();
}

TEST_F(ScreenPreview, SwitchingClipsQuicklyNeverStopsTheNewOne)
{
    Image_Item *a = add(MediaFile("late_picture.mp4"));
    Image_Item *b = add(MediaFile("mpeg4_mp3.avi"));
    play(a);
    ASSERT_TRUE(waitFor([&] { return playing(); }, 10000));
    play(b);
    QTest::qWait(1500); // past the end of a
    EXPECT_EQ(window->loadedClip(), b);
    EXPECT_TRUE(playing()) << "the end of a ended b";
}

TEST_F(ScreenPreview, AReleaseLandsWhereTheThumbWasDroppedWhateverTheListSays)
{
    // 2.04 s, which the list shows as 3 s.
    ClipRecipe recipe{.file = "short.mp4", .muxer = "mp4", .videoEncoder = "libx264"};
    recipe.rate = {50, 1}, recipe.frames = 102;
    std::string error;
    ASSERT_TRUE(writeFixture(dir.path().toStdString(), recipe, error)) << error;
    Image_Item *clip = add(dir.filePath("short.mp4"));
    play(clip);
    double length = 0, seconds = 0, percent = 0;
    ASSERT_TRUE(waitFor(
        [&] { return Player::GetPosition(&length, &seconds, &percent) && length > 0; }, 10000));
    ASSERT_GT(std::abs(length - clip->clip().duration), 0.5) << "the list knows the length";
    click(window->TB_Pause);
    window->SliderPositionChange(40, false);
    EXPECT_TRUE(waitFor(
        [&] {
            return Player::GetPosition(&length, &seconds, &percent) && std::abs(percent - 40) < 4;
        },
        3000))
        << "landed at " << percent << " %";
}

TEST_F(ScreenPreview, ThePanelShowsTheClipPausesSeeksAndGoesIdleAtTheEnd)
{
    Image_Item *clip = add(MediaFile("mpeg4_mp3.avi"));
    ASSERT_NE(clip, nullptr);
    ASSERT_GT(clip->clip().duration, 1);
    TypeKey(window->TP_ImageList, "Return");
    ASSERT_TRUE(waitFor([&] { return playing(); }, 10000));
    ASSERT_TRUE(waitFor([&] { return lit(panel()) > 0.3; }, 5000)) << "no picture in the panel";
    EXPECT_TRUE(window->TP_Progress->thumb()->isEnabled());

    const QImage a = panel();
    EXPECT_TRUE(waitFor([&] { return panel() != a; }, 2000)) << "the picture does not move";

    click(window->TB_Pause);
    QTest::qWait(300);
    const QImage still = panel();
    QTest::qWait(400);
    EXPECT_EQ(panel(), still) << "the picture moves while paused";

    // A release on the slider seeks in the player's length; the library
    // reports the new position.
    double length = 0, seconds = -1, percent = 0;
    ASSERT_TRUE(Player::GetPosition(&length, &seconds, &percent) && length > 2);
    window->SliderPositionChange(100.0 * 2 / length, false);
    EXPECT_TRUE(waitFor(
        [&] {
            return Player::GetPosition(&length, &seconds, &percent) && std::abs(seconds - 2) < 0.3;
        },
        3000))
        << "position " << seconds;
    EXPECT_TRUE(waitFor([&] { return panel() != still; }, 3000)) << "the seek shows no new picture";

    // Keep-ratio both ways while playing, then the rest of the clip.
    click(window->TB_AS_Keep);
    click(window->TB_AS_Keep);
    click(window->TB_Play);
    ASSERT_TRUE(waitFor([&] { return idle(); }, 10000)) << "the end of the clip was not seen";
    EXPECT_FALSE(window->TP_Progress->thumb()->isEnabled());
    EXPECT_FALSE(window->PollTimer->isActive());
}

TEST_F(ScreenPreview, ADamagedOrVanishedFileEndsInTheStopPath)
{
    const QString copy = dir.filePath("clip.avi");
    ASSERT_TRUE(QFile::copy(MediaFile("mpeg4_mp3.avi"), copy));
    Image_Item *clip = add(copy);
    ASSERT_NE(clip, nullptr);
    // Damaged after it was added.
    ASSERT_TRUE(WriteFileBytes(copy, QByteArray(64 * 1024, '\x5a')));
    click(window->TB_Play);
    EXPECT_EQ(window->loadedClip(), clip);
    EXPECT_TRUE(waitFor([&] { return idle(); }, 10000));

    QFile::remove(copy);
    click(window->TB_Play);
    EXPECT_EQ(window->loadedClip(), clip); // nothing handed to the player
    QTest::qWait(200);
    EXPECT_TRUE(window->Img_VideoPic->isVisible());
    click(window->TB_Stop);
    EXPECT_TRUE(idle());
}

} // namespace
