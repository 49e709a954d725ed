#include "controls/checkimagebutton.h"
#include "controls/colourregion.h"
#include "controls/dynamicimagebutton.h"
#include "tests/support/skinfixtures.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QColor N(Qt::red), H(Qt::green), P(Qt::blue), D(Qt::yellow);
const QColor CN(Qt::darkRed), CH(Qt::darkGreen), CP(Qt::darkBlue), CD(Qt::darkYellow);

QColor shown(const TImageButton &b)
{
    return Centre(b.currentImage());
}

class ImageButtonTest : public ::testing::Test
{
protected:
    QWidget parent;
    TImageButton button{&parent};
};

TEST_F(ImageButtonTest, StaysInvisibleUntilItHasItsLooks)
{
    EXPECT_TRUE(button.isHidden());
    EXPECT_FALSE(
        button.LoadStates(ColourStrip(40, 20, {N, H}, 39), 40, 20, false, true, true, false));
    EXPECT_TRUE(button.isHidden());
    EXPECT_FALSE(button.hasImages());
    ASSERT_TRUE(
        button.LoadStates(ColourStrip(40, 20, {N, H, P}), 40, 20, false, true, true, false));
    EXPECT_FALSE(button.isHidden());
    EXPECT_EQ(button.size(), QSize(40, 20));
    EXPECT_EQ(shown(button), N);
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
}

TEST_F(ImageButtonTest, ReleaseInsideClicksAndReleaseOutsideDoesNot)
{
    ASSERT_TRUE(
        button.LoadStates(ColourStrip(40, 20, {N, H, P}), 40, 20, false, true, true, false));
    QSignalSpy clicks(&button, &TImageButton::clicked);
    SendEnter(&button);
    EXPECT_EQ(shown(button), H);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(shown(button), P);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(39, 19));
    EXPECT_EQ(shown(button), H);
    EXPECT_EQ(clicks.count(), 1);

    for (QPoint outside : {QPoint(40, 5), QPoint(-1, 5), QPoint(5, -1), QPoint(5, 20)}) {
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&button, Qt::LeftButton, {}, outside);
        EXPECT_EQ(shown(button), N);
        EXPECT_FALSE(button.isMouseOver());
    }
    EXPECT_EQ(clicks.count(), 1);
    // Other buttons neither press nor click.
    QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ImageButtonTest, WithoutHoverSliceEnteringShowsTheNormalLook)
{
    ASSERT_TRUE(button.LoadStates(ColourStrip(40, 20, {N, P}), 40, 20, false, false, true, false));
    SendEnter(&button);
    EXPECT_EQ(shown(button), N);
    EXPECT_TRUE(button.isMouseOver());
}

TEST_F(ImageButtonTest, DisablingShowsTheDisabledLookAndEnablingTheNormalOne)
{
    ASSERT_TRUE(
        button.LoadStates(ColourStrip(40, 20, {N, H, P, D}), 40, 20, false, true, true, true));
    SendEnter(&button);
    button.SetButtonEnabled(false);
    EXPECT_EQ(shown(button), D);
    SendLeave(&button);
    EXPECT_EQ(shown(button), D);
    SendEnter(&button);
    EXPECT_EQ(shown(button), H); // the hover look shows on a disabled button too
    button.SetButtonEnabled(true);
    EXPECT_EQ(shown(button), N); // even with the mouse over it

    TImageButton plain(&parent);
    ASSERT_TRUE(plain.LoadStates(ColourStrip(40, 20, {N, H}), 40, 20, false, true, false, false));
    plain.SetButtonEnabled(false);
    EXPECT_EQ(shown(plain), N);
    EXPECT_FALSE(plain.isEnabled());
}

TEST_F(ImageButtonTest, OutlineCutsMagentaAndALaterLoadWithoutOutlineRestoresTheRectangle)
{
    QImage strip = ColourStrip(10, 10, {N, H});
    strip.setPixel(0, 0, OutlineColour);
    strip.setPixel(9, 9, OutlineColour);
    strip.setPixel(10, 0, OutlineColour); // in the hover slice: does not count
    ASSERT_TRUE(button.LoadStates(strip, 10, 10, true, true, false, false));
    const QRegion mask = button.mask();
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(9, 9)));
    EXPECT_TRUE(mask.contains(QPoint(1, 0)));
    EXPECT_EQ(mask.boundingRect(), QRect(0, 0, 10, 10));
    ASSERT_TRUE(button.LoadStates(strip, 10, 10, false, true, false, false));
    EXPECT_TRUE(button.mask().isEmpty());
}

TEST(CheckImageButton, HintsSplitAtTheFirstHash)
{
    EXPECT_EQ(SplitHints(" Keep ratio # Stretch "),
              std::make_pair(QString("Keep ratio"), QString("Stretch")));
    EXPECT_EQ(SplitHints("a#b#c"), std::make_pair(QString("a"), QString("b#c")));
    EXPECT_EQ(SplitHints(" Only "), std::make_pair(QString(), QString("Only")));
    EXPECT_EQ(SplitHints("#"), std::make_pair(QString(), QString()));
}

TEST(CheckImageButton, CheckedLookWithFewerStatesFallsBackToCheckedNormal)
{
    QWidget parent;
    TCheckImageButton button(&parent);
    EXPECT_FALSE(button.LoadCheckedStates(ColourStrip(20, 10, {CN}), false, false, false));
    ASSERT_TRUE(
        button.LoadStates(ColourStrip(20, 10, {N, H, P, D}), 20, 10, false, true, true, true));
    EXPECT_FALSE(button.LoadCheckedStates(ColourStrip(20, 10, {CN}, 19), true, false, false));
    ASSERT_TRUE(button.LoadCheckedStates(ColourStrip(20, 10, {CN}), false, false, false));
    button.SetHints("Off#On");

    button.SetChecked(true);
    EXPECT_TRUE(button.Checked());
    EXPECT_EQ(shown(button), CN);
    EXPECT_EQ(button.toolTip(), "On");
    SendEnter(&button);
    EXPECT_EQ(shown(button), CN);
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(shown(button), CN);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(2, 2));
    button.SetButtonEnabled(false);
    EXPECT_EQ(shown(button), CN);

    button.SetChecked(false);
    EXPECT_EQ(shown(button), D); // still disabled
    EXPECT_EQ(button.toolTip(), "Off");
    button.SetButtonEnabled(true);
    button.SetChecked(false);
    EXPECT_EQ(shown(button), H); // the mouse is still over it
}

TEST(CheckImageButton, FullCheckedSetAndNoCheckedLook)
{
    QWidget parent;
    TCheckImageButton button(&parent);
    ASSERT_TRUE(button.LoadStates(ColourStrip(20, 10, {N, H}), 20, 10, false, true, false, false));
    ASSERT_TRUE(button.LoadCheckedStates(ColourStrip(20, 10, {CN, CH, CP, CD}), true, true, true));
    button.SetChecked(true);
    SendEnter(&button);
    EXPECT_EQ(shown(button), CH);
    button.SetButtonEnabled(false);
    EXPECT_EQ(shown(button), CD);

    // A skin that gives no checked look: checking keeps the one look it has.
    TCheckImageButton still(&parent);
    ASSERT_TRUE(still.LoadStates(ColourStrip(20, 10, {N, H}), 20, 10, false, true, false, false));
    still.setToolTip("Ratio");
    still.SetChecked(true);
    EXPECT_EQ(shown(still), N);
    EXPECT_EQ(still.toolTip(), "Ratio");
}

class DynamicButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(
            button.LoadStates(ColourStrip(20, 10, {N, H, P, D}), 20, 10, false, true, true, true));
        frames = {Qt::cyan, Qt::magenta, Qt::white, Qt::gray, Qt::black};
    }
    void tick() { QMetaObject::invokeMethod(button.animationTimer(), "timeout"); }
    QWidget parent;
    TDynamicImageButton button{&parent};
    QList<QColor> frames;
};

TEST_F(DynamicButtonTest, AnimationStripMustBeAWholeNumberOfFrames)
{
    EXPECT_FALSE(button.LoadAnimation(ColourStrip(20, 10, frames, 10), 40, 0));
    EXPECT_EQ(button.frameCount(), 0);
    ASSERT_TRUE(button.LoadAnimation(ColourStrip(20, 10, frames), 40, 0));
    EXPECT_EQ(button.frameCount(), 5);
    EXPECT_FALSE(button.repeats());
}

TEST_F(DynamicButtonTest, PlaysOncePerEntryWithoutPause)
{
    ASSERT_TRUE(button.LoadAnimation(ColourStrip(20, 10, frames), 40, 0));
    QTimer *timer = button.animationTimer();
    SendEnter(&button);
    EXPECT_EQ(shown(button), N); // the normal look stays for one interval
    ASSERT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 40);
    for (const QColor &c : frames) {
        tick();
        EXPECT_EQ(shown(button), c);
    }
    tick();
    EXPECT_EQ(shown(button), H);
    EXPECT_FALSE(timer->isActive());
    QTest::mouseClick(&button, Qt::RightButton, {}, QPoint(3, 3));
    EXPECT_FALSE(timer->isActive());
    // A click leaves the hover look; the animation waits for a new entry.
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(shown(button), H);
    EXPECT_FALSE(timer->isActive());
    SendLeave(&button);
    SendEnter(&button);
    EXPECT_TRUE(timer->isActive());
    tick();
    EXPECT_EQ(shown(button), frames[0]);
}

TEST_F(DynamicButtonTest, RepeatsAfterThePauseWhileTheMouseStays)
{
    ASSERT_TRUE(button.LoadAnimation(ColourStrip(20, 10, frames), 100, 3000));
    QTimer *timer = button.animationTimer();
    SendEnter(&button);
    for (int i = 0; i < 5; ++i)
        tick();
    tick();
    EXPECT_EQ(shown(button), H);
    ASSERT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 3000);
    tick();
    EXPECT_EQ(shown(button), frames[0]);
    EXPECT_EQ(timer->interval(), 100);
}

TEST_F(DynamicButtonTest, LeavingOrPressingStopsAtOnce)
{
    ASSERT_TRUE(button.LoadAnimation(ColourStrip(20, 10, frames), 100, 3000));
    QTimer *timer = button.animationTimer();
    SendEnter(&button);
    tick();
    tick();
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(shown(button), P);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(3, 3));
    SendLeave(&button);
    SendEnter(&button);
    tick();
    SendLeave(&button);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(shown(button), N);
    // Disabling does not stop a running animation; the next entry does.
    SendEnter(&button);
    button.SetButtonEnabled(false);
    EXPECT_TRUE(timer->isActive());
    SendLeave(&button);
    EXPECT_EQ(shown(button), D);
    SendEnter(&button);
    EXPECT_FALSE(timer->isActive());
}

TEST_F(DynamicButtonTest, WithoutAnimationItBehavesLikeAPlainButton)
{
    EXPECT_FALSE(button.LoadAnimation(QImage(), 0, 0));
    SendEnter(&button);
    EXPECT_EQ(shown(button), H);
    // An animation dropped later brings the hover look back as well.
    TDynamicImageButton other(&parent);
    ASSERT_TRUE(other.LoadStates(ColourStrip(20, 10, {N, H, P}), 20, 10, false, true, true, false));
    ASSERT_TRUE(other.LoadAnimation(ColourStrip(20, 10, frames), 50, 0));
    SendEnter(&other);
    EXPECT_EQ(shown(other), N);
    SendLeave(&other);
    other.LoadAnimation(QImage(), 0, 0);
    SendEnter(&other);
    EXPECT_EQ(shown(other), H);
}

} // namespace
