#include "controls/image.h"
#include "controls/imagebutton.h"
#include "platform/windowsystem.h"
#include "skin/windowframe.h"
#include "tests/support/skinfixtures.h"

#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(DragTarget, FollowsTheCursorFromThePressWithoutDrift)
{
    DragState drag{true, QPoint(500, 400), QPoint(100, 50), QPoint(500, 400)};
    EXPECT_EQ(DragTarget(drag, QPoint(530, 390), QPoint(100, 50)), QPoint(130, 40));
    // Computed from the press, not from where the window is now.
    EXPECT_EQ(DragTarget(drag, QPoint(531, 390), QPoint(130, 40)), QPoint(131, 40));
    EXPECT_EQ(DragTarget(drag, QPoint(470, 430), QPoint(0, 0)), QPoint(70, 80));
    // No travel, or back where the window stands: no move.
    EXPECT_FALSE(DragTarget(drag, QPoint(500, 400), QPoint(100, 50)));
    EXPECT_FALSE(DragTarget(drag, QPoint(530, 390), QPoint(130, 40)));
}

// A skinned window: a disabled background over the whole face, an enabled
// and a disabled button. The cursor is what the test says it is.
class FrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(300, 200);
        frame = new TWindowFrame(&window);
        frame->setCursorSource([this] { return cursor; });
        background = CreateSkinBackground(&window);
        background->resize(300, 200);
        enabled = button(10);
        disabled = button(60);
        disabled->SetButtonEnabled(false);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        start = window.pos();
    }
    TImageButton *button(int x)
    {
        auto *b = new TImageButton(&window);
        b->LoadStates(ColourStrip(40, 20, {Qt::red}), 40, 20, false, false, false, false);
        b->move(x, 10);
        return b;
    }
    void press(QPoint at, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(window.windowHandle(), b, {}, at);
    }
    void moveTo(QPoint at, QPoint screen)
    {
        cursor = screen;
        QTest::mouseMove(window.windowHandle(), at);
    }
    void release(QPoint at, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseRelease(window.windowHandle(), b, {}, at);
    }

    QWidget window;
    TWindowFrame *frame;
    TImage *background;
    TImageButton *enabled, *disabled;
    QPoint cursor{1000, 1000};
    QPoint start;
};

TEST_F(FrameTest, IsBorderlessAndPlacedInTheMiddleOfTheScreen)
{
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window.geometry().center(), window.screen()->availableGeometry().center());
}

TEST_F(FrameTest, DraggingTheFaceMovesTheWindowByTheCursorsTravel)
{
    press(QPoint(150, 150));
    EXPECT_TRUE(frame->drag().dragging);
    moveTo(QPoint(180, 140), QPoint(1030, 990));
    EXPECT_EQ(window.pos(), start + QPoint(30, -10));
    moveTo(QPoint(160, 160), QPoint(995, 1005));
    EXPECT_EQ(window.pos(), start + QPoint(-5, 5));
    release(QPoint(160, 160));
    EXPECT_FALSE(frame->drag().dragging);
    moveTo(QPoint(170, 170), QPoint(1100, 1100));
    EXPECT_EQ(window.pos(), start + QPoint(-5, 5));
}

TEST_F(FrameTest, PressesOnEnabledControlsOrWithOtherButtonsDoNotDrag)
{
    press(QPoint(20, 15)); // the enabled button
    EXPECT_FALSE(frame->drag().dragging);
    moveTo(QPoint(25, 15), QPoint(1050, 1050));
    release(QPoint(25, 15));
    EXPECT_EQ(window.pos(), start);

    press(QPoint(150, 150), Qt::RightButton);
    EXPECT_FALSE(frame->drag().dragging);
    release(QPoint(150, 150), Qt::RightButton);

    // A disabled button is part of the face.
    cursor = QPoint(1000, 1000);
    press(QPoint(70, 15));
    EXPECT_TRUE(frame->drag().dragging);
    moveTo(QPoint(70, 20), QPoint(1002, 1003));
    EXPECT_EQ(window.pos(), start + QPoint(2, 3));
    release(QPoint(70, 20));
}

TEST_F(FrameTest, AnEnabledBackgroundSwallowsThePresses)
{
    background->setEnabled(true);
    press(QPoint(150, 150));
    EXPECT_FALSE(frame->drag().dragging);
    release(QPoint(150, 150));
}

TEST_F(FrameTest, MovesNeedThisWindowsPressAndTheLeftButton)
{
    frame->DragMove(Qt::LeftButton);
    EXPECT_EQ(window.pos(), start);
    frame->BeginDrag(Qt::LeftButton);
    cursor = QPoint(1010, 1000);
    frame->DragMove(Qt::RightButton);
    EXPECT_EQ(window.pos(), start);
    frame->DragMove(Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(window.pos(), start + QPoint(10, 0));
    frame->EndDrag(Qt::RightButton); // only the left button ends it
    EXPECT_TRUE(frame->drag().dragging);
    frame->BeginDrag(Qt::MiddleButton);
    EXPECT_FALSE(frame->drag().dragging);
}

TEST(WindowSystem, OnlyUnderWaylandTheCompositorMovesAndShapesWindows)
{
    EXPECT_FALSE(WindowMovesItself("wayland") || MaskShapesWindow("wayland-egl") ||
                 WindowOpacityShows("wayland"));
    EXPECT_TRUE(WindowMovesItself("xcb") && MaskShapesWindow("xcb") && WindowOpacityShows("xcb"));
    EXPECT_FALSE(WindowOpacityShows("offscreen")); // it warns at every step
}

// Where only the compositor moves windows, a press on the face hands the
// drag to it, and the window never moves itself.
TEST_F(FrameTest, WhereTheCompositorMovesWindowsThePressAsksIt)
{
    int asked = 0;
    bool takes = true;
    frame->setCompositorMove([&] { return ++asked, takes; });
    frame->BeginDrag(Qt::RightButton);
    EXPECT_EQ(asked, 0);
    press(QPoint(150, 150));
    EXPECT_EQ(asked, 1);
    moveTo(QPoint(180, 140), QPoint(1030, 990));
    release(QPoint(180, 140));
    EXPECT_EQ(window.pos(), start);
    takes = false; // a compositor that refuses leaves the drag to the window
    cursor = QPoint(1000, 1000);
    frame->BeginDrag(Qt::LeftButton);
    frame->DragMove(Qt::LeftButton);
    cursor = QPoint(1010, 1000);
    frame->DragMove(Qt::LeftButton);
    EXPECT_EQ(window.pos(), start + QPoint(10, 0));
}

} // namespace
