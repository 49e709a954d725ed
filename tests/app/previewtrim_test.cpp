// End to end with the real engine: the user drags the trim markers of a
// clip, converts, and the output holds exactly the chosen range.
#include "app/mainwindow.h"
#include "app/progresswindow.h"
#include "clips/clipadder.h"
#include "controls/fixprogress.h"
#include "controls/imagebutton.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "platform/pubfunction.h"
#include "tests/support/programwindows.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TrimByMarkers : public ProgramWindows
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo(MediaFile("mpeg4_mp3.avi")).isFile()) << "fixture step missing";
        startProgram(BuildBinDir());
        window->show();
    }

    // Drags marker by dx pixels with the left button.
    void drag(TImageButton *marker, int dx)
    {
        const QPoint grip(marker->width() / 2, marker->height() / 2);
        QTest::mousePress(marker, Qt::LeftButton, {}, grip);
        QTest::mouseMove(marker, grip + QPoint(dx, 0));
        QTest::mouseRelease(marker, Qt::LeftButton, {}, grip + QPoint(dx, 0));
    }

    static double durationOf(const QString &file)
    {
        QProcess probe;
        probe.start(QStandardPaths::findExecutable("ffprobe"),
                    {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", file});
        if (!probe.waitForFinished(30000))
            return -1;
        return probe.readAllStandardOutput().trimmed().toDouble();
    }
};

TEST_F(TrimByMarkers, TheConvertedClipHoldsTheRangeTheMarkersSet)
{
    if (QStandardPaths::findExecutable("ffprobe").isEmpty())
        GTEST_SKIP() << "ffprobe (package ffmpeg) reads the output's duration";
    window->adder()->addFiles({MediaFile("mpeg4_mp3.avi")});
    Image_Item *clip = window->TP_ImageList->GetItem(0);
    ASSERT_NE(clip, nullptr);
    ASSERT_GE(clip->clip().duration, 3);
    ASSERT_EQ(window->sliderClip(), clip);

    TFixProgress *slider = window->TP_Progress;
    const int span = slider->scale().scaleEnd - slider->scale().thumbMin;
    // The start into the middle of second 1, the stop into that of second 2.
    const int length = clip->clip().duration;
    drag(slider->startMarker(), span * 3 / (2 * length));
    drag(slider->stopMarker(), span * 5 / (2 * length) - span);
    EXPECT_EQ(clip->clip().startTime, 1);
    EXPECT_EQ(clip->clip().stopTime, 2);

    progress->StartClick();
    ASSERT_TRUE(waitForBatch());
    EXPECT_TRUE(shell.boxes.isEmpty()) << shell.texts().join('\n').toStdString();
    const double seconds = durationOf(settings().path_Work() + "mpeg4_mp3.3gp");
    EXPECT_NEAR(seconds, 1.0, 0.1);
}

} // namespace
