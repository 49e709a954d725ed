#include "clips/clipadder.h"
#include "clips/cliplist.h"
#include "controls/image.h"
#include "controls/imagebutton.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "encoder/encoderlib.h"
#include "platform/pubfunction.h"
#include "tests/support/skinfixtures.h"
#include "tests/support/testpaths.h"

#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

// A list of 404 x 224 (room for three rows), a 16-pixel scrollbar with
// 16 x 16 scroll buttons and a 16 x 30 thumb.
class ListPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(500, 300);
        list = new TListPanel(&window);
        list->setClips(&clips);
        ASSERT_TRUE(skin(*list, true));
        list->move(0, 0);
        window.show();
        selections = std::make_unique<QSignalSpy>(list, &TListPanel::clipSelect);
    }

    static bool skin(TListPanel &l, bool buttons)
    {
        QImage ground(8, 8, QImage::Format_RGB32);
        ground.fill(QColor(20, 30, 40));
        QImage track(16, 40, QImage::Format_RGB32);
        track.fill(Qt::gray);
        bool ok = l.SetBackgroundImage(ground);
        ok &= l.SetThumbBitmap(ColourStrip(16, 30, {Qt::white, Qt::yellow, Qt::cyan}));
        ok &= l.SetTrackImage(track);
        QImage button = buttons ? ColourStrip(16, 16, {Qt::red, Qt::green, Qt::blue}) : QImage();
        ok &= l.SetUpButtonBitmap(button);
        ok &= l.SetDownButtonBitmap(button);
        l.resize(404, 224);
        return ok && l.FinishSkin();
    }

    Image_Item *add(int duration = 60)
    {
        clips.add(ProbedTestClip("/v/clip.avi", duration));
        return list->GetItem(list->count() - 1);
    }

    QList<bool> selected() const
    {
        QList<bool> s;
        for (int i = 0; i < list->count(); ++i)
            s << list->GetItem(i)->Selected;
        return s;
    }

    void press(int index, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mousePress(list->GetItem(index), button, modifiers, QPoint(10, 10));
        QTest::mouseRelease(list->GetItem(index), button, modifiers, QPoint(10, 10));
    }

    Image_Item *lastSelected() const
    {
        return selections->isEmpty() ? nullptr : selections->last().at(0).value<Image_Item *>();
    }

    ClipList clips;
    QWidget window;
    TListPanel *list = nullptr;
    std::unique_ptr<QSignalSpy> selections;
};

TEST_F(ListPanelTest, IncompleteSkinsFail)
{
    TListPanel none;
    EXPECT_FALSE(none.FinishSkin());
    TListPanel oneButton;
    QImage ground(4, 4, QImage::Format_RGB32);
    oneButton.SetBackgroundImage(ground);
    oneButton.SetThumbBitmap(ColourStrip(16, 30, {Qt::white, Qt::yellow, Qt::cyan}));
    oneButton.SetTrackImage(ground);
    oneButton.SetUpButtonBitmap(ColourStrip(16, 16, {Qt::red, Qt::green, Qt::blue}));
    EXPECT_FALSE(oneButton.FinishSkin());
    oneButton.SetDownButtonBitmap(ColourStrip(16, 16, {Qt::red, Qt::green, Qt::blue}));
    EXPECT_TRUE(oneButton.FinishSkin());

    TListPanel bare;
    EXPECT_TRUE(skin(bare, false)); // no buttons at all is fine
    EXPECT_EQ(bare.thumbMinimum(), 0);
    EXPECT_EQ(bare.thumbMaximum(), 224 - 30);
}

TEST_F(ListPanelTest, FinishedSkinPlacesTheScrollbar)
{
    EXPECT_EQ(list->thumbMinimum(), 16);
    EXPECT_EQ(list->thumbMaximum(), 224 - 30 - 16);
    EXPECT_EQ(list->thumb()->y(), 16);
    EXPECT_EQ(list->downButton()->y(), 224 - 16);
    EXPECT_EQ(list->listArea()->width(), 404 - 16);
    EXPECT_EQ(list->listArea()->palette().color(QPalette::Window), QColor(20, 30, 40));
}

TEST_F(ListPanelTest, FirstClipIsSelectedAndAnnouncedLaterOnesNot)
{
    Image_Item *first = add();
    ASSERT_EQ(selections->size(), 1);
    EXPECT_EQ(lastSelected(), first);
    EXPECT_TRUE(first->Selected);
    Image_Item *second = add();
    EXPECT_EQ(selections->size(), 1);
    EXPECT_FALSE(second->Selected);
    EXPECT_EQ(first->pos(), QPoint(2, 2));
    EXPECT_EQ(second->pos(), QPoint(2, 68));
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(list->GetItem(2), nullptr);
    EXPECT_EQ(list->GetItem(-1), nullptr);
    EXPECT_EQ(clips.add(ProbedClip{}), 0); // no thumbnail: no clip, no entry
    EXPECT_EQ(list->count(), 2);
}

TEST_F(ListPanelTest, SelectionByMouse)
{
    for (int i = 0; i < 5; ++i)
        add();
    selections->clear();

    press(2);
    EXPECT_EQ(selected(), (QList<bool>{false, false, true, false, false}));
    press(4, Qt::LeftButton, Qt::ShiftModifier); // range from the anchor
    EXPECT_EQ(selected(), (QList<bool>{false, false, true, true, true}));
    press(0, Qt::LeftButton, Qt::ShiftModifier); // the anchor stays at 2
    EXPECT_EQ(selected(), (QList<bool>{true, true, true, false, false}));
    press(1, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(selected(), (QList<bool>{true, false, true, false, false}));
    press(3, Qt::RightButton); // a selection exists: unchanged
    EXPECT_EQ(selected(), (QList<bool>{true, false, true, false, false}));
    list->contextMenu()->hide();
    press(4, Qt::MiddleButton);
    EXPECT_EQ(selected(), (QList<bool>{true, false, true, false, false}));
    EXPECT_EQ(list->anchor(), list->GetItem(4)->y());
    ASSERT_EQ(selections->size(), 6); // one message per press
    EXPECT_EQ(lastSelected(), list->GetItem(4));
}

TEST_F(ListPanelTest, RemoveCropAndClear)
{
    for (int i = 0; i < 4; ++i)
        add(10 + i);
    press(1);
    press(3, Qt::LeftButton, Qt::ControlModifier);
    selections->clear();

    list->CropToSelected();
    EXPECT_EQ(selections->size(), 0); // crop says nothing
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->GetItem(0)->clip().duration, 11);
    EXPECT_EQ(list->GetItem(1)->clip().duration, 13);
    EXPECT_EQ(clips.count(), 2);
    EXPECT_EQ(list->GetItem(1)->pos(), QPoint(2, 68));
    EXPECT_EQ(list->anchor(), -1);

    // Shift without an anchor adds to the selection and sets the anchor.
    press(0, Qt::LeftButton, Qt::ControlModifier); // deselect the first
    EXPECT_EQ(selected(), (QList<bool>{false, true}));
    list->RemoveSelected();
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->anchor(), -1);
    EXPECT_EQ(lastSelected(), nullptr);
    add(20);
    press(1, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(selected(), (QList<bool>{false, true}));
    EXPECT_EQ(list->anchor(), list->GetItem(1)->y());

    selections->clear();
    list->ClearItems();
    EXPECT_EQ(list->count(), 0);
    ASSERT_EQ(selections->size(), 1);
    EXPECT_EQ(lastSelected(), nullptr);

    // On an empty list every command still runs and speaks as it always does.
    list->RemoveSelected();
    list->ClearItems();
    list->CropToSelected();
    EXPECT_EQ(selections->size(), 3);
    EXPECT_EQ(list->GetPreviewItem(), nullptr);
}

TEST_F(ListPanelTest, CtrlRightOnTheOnlySelectedThenCropEmptiesTheList)
{
    add();
    add();
    press(0, Qt::RightButton, Qt::ControlModifier);
    list->contextMenu()->hide();
    EXPECT_EQ(selected(), (QList<bool>{false, false}));
    list->CropToSelected();
    EXPECT_EQ(list->count(), 0);
}

TEST_F(ListPanelTest, PreviewItemIsTheFirstSelected)
{
    add();
    add();
    add();
    press(1);
    press(2, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(list->GetPreviewItem(), list->GetItem(1));
    EXPECT_EQ(selected(), (QList<bool>{false, true, false}));
    press(1, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(list->GetPreviewItem(), list->GetItem(0)); // none selected: the first
    EXPECT_TRUE(list->GetItem(0)->Selected);
}

TEST_F(ListPanelTest, ContextMenuBuiltOnceAndIdleWhileAdding)
{
    add();
    EXPECT_EQ(list->contextMenu(), nullptr);
    press(0, Qt::RightButton);
    QMenu *menu = list->contextMenu();
    ASSERT_NE(menu, nullptr);
    QStringList captions, names;
    for (QAction *a : menu->actions()) {
        captions << (a->isSeparator() ? "-" : a->text());
        names << a->objectName();
        EXPECT_TRUE(a->isEnabled());
    }
    EXPECT_EQ(captions, (QStringList{"Preview clip", "-", "Remove clip(s)", "Crop clip(s)",
                                     "Clear clip(s)"}));
    EXPECT_EQ(names, (QStringList{"Preview", "", "Remove", "Crop", "Clear"}));
    menu->hide();

    // An add held in its first probe by the fake engine.
    ASSERT_TRUE(LoadEncoder(FakeEngineDir("full")));
    qputenv("ZELO_FAKE_ENGINE_PROBE_DELAY_MS", "300");
    ClipAdder adder(&clips, [] {});
    list->setAdder(&adder);
    adder.addFiles({"/no/such/a.avi", "/no/such/b.avi"});
    ASSERT_TRUE(adder.adding());
    press(0, Qt::RightButton);
    EXPECT_EQ(list->contextMenu(), menu);
    for (QAction *a : menu->actions())
        EXPECT_FALSE(a->isEnabled());
    menu->hide();
    adder.stopAndWait();
    qunsetenv("ZELO_FAKE_ENGINE_PROBE_DELAY_MS");
    UnloadEncoder();
    press(0, Qt::RightButton);
    menu->hide();

    QSignalSpy previews(list, &TListPanel::clipPreview);
    menu->actions()[0]->trigger();
    EXPECT_EQ(previews.size(), 1);
    menu->actions()[4]->trigger();
    EXPECT_EQ(list->count(), 0);

    add();
    QTest::mouseDClick(list->GetItem(0), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(previews.size(), 2);
}

TEST_F(ListPanelTest, ScrollsByWholeRows)
{
    for (int i = 0; i < 10; ++i)
        add();
    // 10 rows of 66 in 224 pixels: 7 rows hidden, so the tenth ends at 198.
    TImageButton *thumb = list->thumb();
    const int min = list->thumbMinimum(), max = list->thumbMaximum();
    EXPECT_EQ(list->listArea()->y(), 0);

    // Dragging the thumb all the way down scrolls all hidden rows.
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5 + 500), thumb->mapToGlobal(QPointF(5, 505)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(thumb, &move);
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(5, 505));
    EXPECT_EQ(thumb->y(), max);
    EXPECT_EQ(list->listArea()->y(), -7 * 66);
    EXPECT_EQ(list->listArea()->height(), 7 * 66 + 224); // ends at the list's bottom

    // A click high on the track brings the thumb near the top.
    QTest::mousePress(list->trackImage(), Qt::LeftButton, {}, QPoint(5, 20));
    EXPECT_EQ(thumb->y(), std::clamp(20 - 15, 0, max - min) + min);
    const float fraction = float(thumb->y() - min) / float(max - min);
    EXPECT_EQ(list->listArea()->y(), -int(7 * fraction) * 66);

    // The down button steps, then repeats every 500 ms after a 1000 ms wait.
    list->ScrollToThumb(min);
    thumb->move(thumb->x(), min);
    QTest::mousePress(list->downButton(), Qt::LeftButton, {}, QPoint(3, 3));
    const int step = (max - min) / (7 + 1);
    EXPECT_EQ(thumb->y(), min + step);
    ASSERT_NE(list->repeatTimer(), nullptr);
    EXPECT_EQ(list->repeatTimer()->interval(), 1000);
    EXPECT_TRUE(list->repeatTimer()->isActive());
    QMetaObject::invokeMethod(list->repeatTimer(), "timeout");
    EXPECT_EQ(list->repeatTimer()->interval(), 500);
    EXPECT_EQ(thumb->y(), min + 2 * step);
    QTest::mouseRelease(list->downButton(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_FALSE(list->repeatTimer()->isActive());
    QTest::mousePress(list->upButton(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(thumb->y(), min + step);
    QTest::mouseRelease(list->upButton(), Qt::LeftButton, {}, QPoint(3, 3));
}

TEST_F(ListPanelTest, ShortListsNeverMove)
{
    add();
    add(); // 132 of 224 pixels: no row hidden, the buttons do nothing
    TImageButton *thumb = list->thumb();
    QTest::mousePress(list->downButton(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(thumb->y(), list->thumbMinimum());
    EXPECT_EQ(list->repeatTimer(), nullptr);
    QTest::mousePress(list->trackImage(), Qt::LeftButton, {}, QPoint(5, 200));
    EXPECT_GT(thumb->y(), list->thumbMinimum());
    EXPECT_EQ(list->listArea()->y(), 0);

    // A smaller list re-clamps its thumb.
    list->resize(404, 120);
    EXPECT_LE(thumb->y(), list->thumbMaximum());
    EXPECT_EQ(list->thumbMaximum(), 120 - 30 - 16);
}

// Where an item stands within the list, in the list's own coordinates.
QRect placeIn(TListPanel *list, Image_Item *item)
{
    return QRect(item->mapTo(list, QPoint(0, 0)), item->size());
}

void wheel(QWidget *target, int delta)
{
    const QPointF at(10, 10);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

// The list of the default skin is not a whole number of rows high and has a
// floor over its bottom: whatever the count, scrolling to the end shows the
// last clip whole above the floor, by the thumb and by the wheel.
TEST_F(ListPanelTest, LastRowShowsWholeAtTheEnd)
{
    QImage floor(388, 6, QImage::Format_RGB32);
    floor.fill(Qt::black);
    ASSERT_TRUE(list->SetBottomImage(floor));
    ASSERT_TRUE(list->FinishSkin());
    ASSERT_EQ(list->viewHeight(), 224 - 6);
    int added = 0;
    for (int clips : {4, 5, 50}) {
        while (added < clips) {
            add();
            ++added;
        }
        Image_Item *last = list->GetItem(clips - 1);
        // The thumb dragged to the end.
        list->thumb()->move(list->thumb()->x(), list->thumbMaximum());
        list->ScrollToThumb(list->thumbMaximum());
        QRect r = placeIn(list, last);
        EXPECT_GE(r.top(), 0) << clips << " clips";
        EXPECT_LE(r.bottom() + 1, list->viewHeight()) << clips << " clips";

        // Back to the top by the wheel, on an item as a user would; then
        // down again a notch at a time.
        wheel(list->GetItem(clips - 2), 120 * clips);
        EXPECT_EQ(list->listArea()->y(), 0);
        EXPECT_EQ(list->thumb()->y(), list->thumbMinimum());
        int notches = 0;
        while (placeIn(list, last).bottom() + 1 > list->viewHeight() && notches <= clips) {
            const int before = list->listArea()->y();
            wheel(list->GetItem(0), -120);
            EXPECT_EQ(list->listArea()->y(), before - 66) << "one row per notch";
            ++notches;
        }
        EXPECT_EQ(notches, clips - 3) << clips << " clips";
        EXPECT_EQ(list->thumb()->y(), list->thumbMaximum()); // the thumb follows
        wheel(list, -120);                                   // nothing further
        EXPECT_LE(placeIn(list, last).bottom() + 1, list->viewHeight());
        EXPECT_GE(placeIn(list, last).top(), 0);
    }
    // Half notches add up to one row.
    wheel(list, 60);
    const int y = list->listArea()->y();
    wheel(list, 60);
    EXPECT_EQ(list->listArea()->y(), y + 66);
}

TEST_F(ListPanelTest, KeysRemoveSelectAllPreviewAndMove)
{
    for (int i = 0; i < 6; ++i)
        add();
    QSignalSpy previews(list, &TListPanel::clipPreview);
    list->setFocus();
    press(1);
    press(2, Qt::LeftButton, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->count(), 4);
    EXPECT_EQ(lastSelected(), nullptr); // announced as the button's remove is

    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(selected(), (QList<bool>{true, true, true, true}));

    press(0);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(selected(), (QList<bool>{false, false, true, false}));
    EXPECT_EQ(lastSelected(), list->GetItem(2));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down); // stays on the last
    EXPECT_EQ(selected(), (QList<bool>{false, false, false, true}));
    // The fourth row of a three-row list was brought into full view.
    QRect r = placeIn(list, list->GetItem(3));
    EXPECT_GE(r.top(), 0);
    EXPECT_LE(r.bottom() + 1, list->viewHeight());
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(selected(), (QList<bool>{true, false, false, false}));
    EXPECT_GE(placeIn(list, list->GetItem(0)).top(), 0);

    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(previews.size(), 2);

    // A click on a clip gives the list the keyboard.
    list->clearFocus();
    press(1);
    EXPECT_EQ(window.focusWidget(), list);
}

TEST_F(ListPanelTest, DroppedFilesAreHandedOn)
{
    QSignalSpy dropped(list, &TListPanel::filesDropped);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/v/a.avi"), QUrl("https://example.invalid/x.avi"),
                  QUrl::fromLocalFile("/v/b c.mpg")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(list, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(list, &drop);
    ASSERT_EQ(dropped.size(), 1);
    EXPECT_EQ(dropped[0][0].toStringList(), (QStringList{"/v/a.avi", "/v/b c.mpg"}));
}

} // namespace
