// The real player library in the real main window, on each display (X11,
// Wayland, offscreen): what the panel shows while a clip plays, pauses and
// seeks, the end of a clip, and a damaged file.
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
#include "tests/player/screen.h"
#include "tests/support/programwindows.h"

#include <QElapsedTimer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

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
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > ms)
                return false;
            QTest::qWait(20);
        }
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
};

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

    // A release on the slider seeks; the library reports the new position.
    window->SliderPositionChange(100.0 * 2 / clip->clip().duration, false);
    double first = 0, seconds = -1, percent = 0;
    EXPECT_TRUE(waitFor(
        [&] {
            return Player::GetPosition(&first, &seconds, &percent) && std::abs(seconds - 2) < 0.3;
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
