// The main window's preview over the recording fake player library: which
// library calls each action makes, in which order, and what the events,
// polls, markers and mark buttons do to the slider and the clip's entry.
#include "app/mainwindow.h"
#include "app/messages.h"
#include "clips/clipadder.h"
#include "clips/cliplist.h"
#include "controls/checkimagebutton.h"
#include "controls/dynamicimagebutton.h"
#include "controls/fixprogress.h"
#include "controls/image.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "controls/previewpanel.h"
#include "encoder/playerlib.h"
#include "platform/pubfunction.h"
#include "tests/support/programwindows.h"

#include <QLibrary>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class PreviewTest : public ProgramWindows
{
protected:
    void SetUp() override
    {
        qputenv("ZELO_FAKE_ENGINE_PROBE", "40,mpeg4,mp3,320,240");
        qputenv("ZELO_FAKE_PLAYER_LOG", QFile::encodeName(log()));
        startProgram(FakeEngineDir("full"), FakeEngineDir("player_full"));
        window->show();
    }

    QString log() const { return dir.filePath("player.log"); }

    // The library calls since the last look; the poll timer's reads only
    // when asked for, as it may tick at any time while a clip plays.
    QStringList calls(bool withPolls = false)
    {
        QStringList all = QString::fromUtf8(ReadFileBytes(log())).split('\n', Qt::SkipEmptyParts);
        QStringList fresh = all.mid(m_seen);
        m_seen = all.size();
        if (!withPolls)
            fresh.removeAll("PlayerGetPosition");
        return fresh;
    }

    Image_Item *addClip(const QString &name)
    {
        const QString path = dir.filePath(name);
        WriteFileBytes(path, "media");
        window->adder()->addFiles({path});
        return list()->GetItem(list()->count() - 1);
    }

    void click(TImageButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, 4));
        settle();
    }
    // Lets the messages the fake posted arrive, and those their handlers
    // posted in turn.
    void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::sendPostedEvents();
    }

    void post(unsigned msg, uintptr_t wParam, intptr_t lParam)
    {
        window->messageTarget()->post(window->messageTarget(), msg, wParam, lParam);
        settle();
    }

    bool idle() const
    {
        return !window->loadedClip() && !window->PollTimer->isActive() &&
               window->Img_VideoPic->isVisible() && !slider()->thumb()->isEnabled();
    }

    template <typename Fn> Fn fakeExport(const char *name)
    {
        return reinterpret_cast<Fn>(QLibrary(prog + "libplayfile.so").resolve(name));
    }
    // The generation of the clip the fake opened last (0 before any).
    unsigned generation() { return fakeExport<unsigned (*)()>("FakePlayerGeneration")(); }
    void fire(int code)
    {
        fakeExport<void (*)(int)>("FakePlayerFire")(code);
        settle();
    }
    void event(int code, intptr_t value, unsigned generationOf)
    {
        post(WM_PLAYER_EVENT, PLAYER_EVENT_WPARAM(code, generationOf), value);
    }

    TListPanel *list() const { return window->TP_ImageList; }
    TFixProgress *slider() const { return window->TP_Progress; }

    int m_seen = 0;
};

TEST_F(PreviewTest, PlayPauseResumeStopAndReopenCallTheLibraryInOrder)
{
    Image_Item *clip = addClip("a.avi");
    calls();
    click(window->TB_Play);
    EXPECT_EQ(calls(),
              QStringList({"PlayerPlay 1 nothing", "PlayerInit",
                           "PlayerOpen " + clip->clip().path + " 0", "PlayerSetCallback",
                           QString("PlayerSetWindow none 0 %1").arg(int(settings().b_KeepRatio())),
                           "PlayerPlay 1 resumed"}));
    EXPECT_EQ(window->loadedClip(), clip);
    EXPECT_TRUE(window->PollTimer->isActive());
    EXPECT_FALSE(window->Img_VideoPic->isVisible());
    EXPECT_TRUE(slider()->thumb()->isEnabled());

    click(window->TB_Pause);
    EXPECT_EQ(calls(), QStringList({"PlayerPause"}));
    click(window->TB_Play); // resumes without reopening
    EXPECT_EQ(calls(), QStringList({"PlayerPlay 1 resumed"}));

    click(window->TB_Stop); // the player stays for the next clip
    EXPECT_EQ(calls(), QStringList({"PlayerStop"}));
    EXPECT_TRUE(idle());
    click(window->TB_Play);
    EXPECT_TRUE(calls().contains("PlayerOpen " + clip->clip().path + " 0"));
}

TEST_F(PreviewTest, NothingPlaysWithoutAClipWhileAddingOrWithoutAUsableLibrary)
{
    calls();
    click(window->TB_Play);
    EXPECT_EQ(calls(), QStringList({"PlayerPlay 1 nothing"}));
    addClip("a.avi");
    calls();
    const QString held = dir.filePath("a.avi");
    window->adder()->addFiles({held, held}); // held until its first entry is served
    ASSERT_TRUE(window->adder()->adding());
    click(window->TB_Play);
    ASSERT_TRUE(waitForAdd());
    EXPECT_TRUE(calls().isEmpty());

    // A library without one export is not used at all.
    ASSERT_FALSE(Player::Load(FakeEngineDir("player_no_seek")));
    EXPECT_FALSE(Player::Loaded());
    calls();
    click(window->TB_Play);
    EXPECT_TRUE(calls().isEmpty());
    EXPECT_TRUE(window->Img_VideoPic->isVisible());
    EXPECT_FALSE(window->PollTimer->isActive());
}

TEST_F(PreviewTest, AVanishedFileOrAFailedInitOpensNothing)
{
    Image_Item *gone = addClip("gone.avi");
    QFile::remove(gone->clip().path);
    calls();
    click(window->TB_Play);
    EXPECT_EQ(calls(), QStringList({"PlayerPlay 1 nothing", "PlayerStop"}));
    EXPECT_EQ(window->loadedClip(), gone);

    WriteFileBytes(gone->clip().path, "media");
    qputenv("ZELO_FAKE_PLAYER_INIT", "0");
    click(window->TB_Play);
    EXPECT_EQ(calls().mid(1), QStringList({"PlayerInit", "PlayerStop"}));
    EXPECT_TRUE(window->Img_VideoPic->isVisible());
}

TEST_F(PreviewTest, PlayWithSeveralSelectedPlaysTheFirstAndKeepsTheSliderOnTheLastPressed)
{
    addClip("a.avi");
    Image_Item *b = addClip("b.avi");
    Image_Item *c = addClip("c.avi");
    Image_Item *d = addClip("d.avi");
    QTest::mouseClick(b, Qt::LeftButton);
    QTest::mouseClick(c, Qt::LeftButton, Qt::ControlModifier);
    QTest::mouseClick(d, Qt::LeftButton, Qt::ControlModifier);
    ASSERT_TRUE(b->Selected && c->Selected && d->Selected);
    EXPECT_EQ(window->sliderClip(), d);
    calls();
    click(window->TB_Play);
    EXPECT_EQ(window->loadedClip(), b);
    EXPECT_FALSE(c->Selected);
    EXPECT_FALSE(d->Selected);
    EXPECT_EQ(window->sliderClip(), d);
}

TEST_F(PreviewTest, EventCodesAndCallbackCodes)
{
    addClip("a.avi");
    const auto playing = [&] {
        click(window->TB_Stop);
        click(window->TB_Play);
        return !idle();
    };
    // Code, value, and whether it stops the clip.
    const intptr_t rows[][3] = {{0, 0, 1}, {1, -1, 1}, {2, -5, 1},
                                {2, 3, 0}, {5, 0, 1},  {255, 0, 1}};
    for (const auto &[code, value, stops] : rows) {
        SCOPED_TRACE(code);
        ASSERT_TRUE(playing());
        // The same message about the clip played before changes nothing.
        event(int(code), value, generation() - 1);
        EXPECT_FALSE(idle());
        event(int(code), value, generation());
        EXPECT_EQ(idle(), stops != 0);
    }
    ASSERT_TRUE(playing());
    event(PLAYER_EVENT_ENDED, 0, generation());
    EXPECT_FALSE(window->PollTimer->isActive());
    EXPECT_NE(window->loadedClip(), nullptr);
    event(PLAYER_EVENT_PLAYING, 0, generation());
    EXPECT_TRUE(window->PollTimer->isActive());
    post(WM_PLAYER_IGNORED, 0, 0);
    EXPECT_FALSE(idle());

    for (int code : {2, 1, 3}) {
        SCOPED_TRACE(code);
        ASSERT_TRUE(playing());
        fire(code);
        EXPECT_EQ(idle(), code != 2);
    }
    // Clip A's end, arriving after B was opened, leaves B playing.
    ASSERT_TRUE(playing());
    post(WM_PLAYER_CALLBACK, PLAYER_CALLBACK_END_OF_FILE, generation() - 1);
    EXPECT_FALSE(idle());

    // An opened clip that cannot be positioned leaves the thumb disabled.
    qputenv("ZELO_FAKE_PLAYER_SEEKABLE", "0");
    playing();
    EXPECT_FALSE(slider()->thumb()->isEnabled());
}

TEST_F(PreviewTest, FiveFailedPollsInARowStopThePolling)
{
    addClip("a.avi");
    click(window->TB_Play);
    qputenv("ZELO_FAKE_PLAYER_POSITION", "20,50");
    window->PollTick();
    EXPECT_DOUBLE_EQ(slider()->percent(), 50);
    qunsetenv("ZELO_FAKE_PLAYER_POSITION");
    for (int i = 0; i < 4; ++i)
        window->PollTick();
    EXPECT_TRUE(window->PollTimer->isActive());
    EXPECT_DOUBLE_EQ(slider()->percent(), 50); // a failed read leaves the slider
    window->PollTick();
    EXPECT_FALSE(window->PollTimer->isActive());
    // Only a good read resets the count: a restarted timer stops at once.
    window->PollTimer->start();
    window->PollTick();
    EXPECT_FALSE(window->PollTimer->isActive());
}

TEST_F(PreviewTest, MarkButtonsStoreThePlayingSecondAndMoveTheMarkers)
{
    Image_Item *clip = addClip("a.avi");
    ASSERT_EQ(window->sliderClip(), clip);
    ASSERT_TRUE(window->clips()->SetTrim(clip->clipId(), 0, 10));
    qputenv("ZELO_FAKE_PLAYER_POSITION", "25.9,64");
    click(window->TB_Previous); // beyond the stop: the start meets it
    EXPECT_EQ(clip->clip().startTime, 10);
    EXPECT_EQ(clip->clip().stopTime, 10);
    click(window->TB_Next);
    EXPECT_EQ(clip->clip().stopTime, 25);
    EXPECT_NEAR(slider()->GetMarkers().start, 0.25, 0.01);
    EXPECT_NEAR(slider()->GetMarkers().stop, 0.625, 0.01);

    // Without a slider clip the buttons do nothing, not even read.
    window->ClipSelect(nullptr);
    calls();
    click(window->TB_Previous);
    EXPECT_TRUE(calls(true).isEmpty());
    EXPECT_EQ(clip->clip().startTime, 10);
}

TEST_F(PreviewTest, DraggingTheThumbPausesAndSeeksOnlyWithAClip)
{
    calls();
    window->SliderPositionChange(50, true);
    EXPECT_EQ(calls(), QStringList({"PlayerPause"})); // no clip: no seek
    addClip("a.avi");
    click(window->TB_Play);
    calls();
    TImageButton *thumb = slider()->thumb();
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(4, 4));
    // Held: to a key frame, quick; released: exact.
    EXPECT_EQ(calls(), QStringList({"PlayerPause", "PlayerScrub 0", "PlayerSeek 0"}));
    window->SliderPositionChange(25, false);
    EXPECT_EQ(calls(), QStringList({"PlayerSeek 10"}));
    // Once the player knows its length (30 s against the list's 40), a
    // release seeks in it, where the thumb is drawn from.
    qputenv("ZELO_FAKE_PLAYER_POSITION", "3,10,30");
    window->SliderPositionChange(40, false);
    EXPECT_EQ(calls(), QStringList({"PlayerSeek 12"}));
    // A key steps a second of that length too.
    window->PollTick();
    QTest::keyClick(slider(), Qt::Key_Right);
    EXPECT_EQ(calls(), QStringList({"PlayerSeek 4"}));
    qunsetenv("ZELO_FAKE_PLAYER_POSITION");
}

TEST_F(PreviewTest, ReleasedMarkersStoreTheTrimAndShowWhatWasStored)
{
    Image_Item *clip = addClip("a.avi");
    TImageButton *in = slider()->startMarker();
    ASSERT_TRUE(in->isEnabled());
    // Drag the start marker a third of the way in.
    const int span = slider()->scale().scaleEnd - slider()->scale().thumbMin;
    QTest::mousePress(in, Qt::LeftButton, {}, QPoint(2, 5));
    QTest::mouseMove(in, QPoint(2 + span / 3, 5));
    QTest::mouseRelease(in, Qt::LeftButton, {}, QPoint(2 + span / 3, 5));
    EXPECT_EQ(clip->clip().startTime, 13);
    // The marker shows the stored whole second, not where it was dropped.
    EXPECT_FLOAT_EQ(slider()->GetMarkers().start, float(int(13.0 / 40 * span + 0.5)) / float(span));

    // A press two pixels left of the stop marker's pole takes the marker too.
    TImageButton *out = slider()->stopMarker();
    const QPoint beside(out->x() - 2, out->y() + out->height() / 2);
    QTest::mousePress(slider(), Qt::LeftButton, {}, beside);
    QTest::mouseMove(slider(), beside - QPoint(span / 4, 0));
    QTest::mouseRelease(slider(), Qt::LeftButton, {}, beside - QPoint(span / 4, 0));
    EXPECT_EQ(clip->clip().stopTime, 30);

    // A clip without length shows resting markers and cannot be trimmed.
    qputenv("ZELO_FAKE_ENGINE_PROBE", "0,mpeg4,mp3,320,240");
    Image_Item *still = addClip("still.avi");
    QTest::mouseClick(still, Qt::LeftButton);
    ASSERT_EQ(window->sliderClip(), still);
    EXPECT_FALSE(in->isEnabled());
    window->clips()->dropMarker(still->clipId(), false, 0.5);
    EXPECT_EQ(still->clip().stopTime, 0);
    EXPECT_FLOAT_EQ(slider()->GetMarkers().stop, 1);
}

TEST_F(PreviewTest, SelectingAnotherClipOrEmptyingTheListStopsThePreview)
{
    Image_Item *a = addClip("a.avi");
    Image_Item *b = addClip("b.avi");
    click(window->TB_Play);
    QTest::mouseClick(a, Qt::LeftButton); // the playing entry keeps playing
    EXPECT_FALSE(idle());
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_TRUE(idle());
    EXPECT_EQ(window->sliderClip(), b);

    click(window->TB_Play);
    list()->ClearItems();
    EXPECT_TRUE(idle());
    EXPECT_EQ(window->sliderClip(), nullptr);
    EXPECT_FALSE(slider()->startMarker()->isEnabled());

    // A double-click plays.
    Image_Item *c = addClip("c.avi");
    QTest::mouseDClick(c, Qt::LeftButton);
    settle();
    EXPECT_EQ(window->loadedClip(), c);
}

TEST_F(PreviewTest, KeepRatioGoesToThePlayerEvenWhenIdle)
{
    // The default skin puts the slider right under the preview, as wide.
    const QRect panel = window->Panel_Preview->geometry();
    EXPECT_EQ(slider()->x(), panel.x());
    EXPECT_EQ(slider()->width(), panel.width());
    EXPECT_GT(slider()->y(), panel.bottom());
    EXPECT_LT(slider()->y(), panel.bottom() + 12);

    calls();
    const bool before = settings().b_KeepRatio();
    click(window->TB_AS_Keep);
    EXPECT_EQ(settings().b_KeepRatio(), !before);
    EXPECT_EQ(calls(), QStringList({QString("PlayerSetWindow none 0 %1").arg(int(!before))}));
}

} // namespace
