#include "clips/cliplist.h"
#include "controls/clipselection.h"
#include "controls/imageitem.h"
#include "controls/listmath.h"
#include "controls/pathelision.h"
#include "tests/support/skinfixtures.h"
#include <QSignalSpy>
#include <memory>

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

using namespace listmath;

TEST(ListMath, ScrollingByWholeRows)
{
    EXPECT_FLOAT_EQ(ScrollFraction(15, 15, 115), 0.0f);
    EXPECT_FLOAT_EQ(ScrollFraction(65, 15, 115), 0.5f);
    EXPECT_FLOAT_EQ(ScrollFraction(115, 15, 115), 1.0f);
    EXPECT_FLOAT_EQ(ScrollFraction(40, 40, 40), 0.0f); // no travel

    // Enough rows hide for the last one to end within the view: 10 rows end
    // at 660, so 6 must go (5 would leave it ending at 330 in 300).
    EXPECT_EQ(HiddenRows(10 * RowStep, 300), 6);
    EXPECT_EQ(HiddenRows(4 * RowStep, 224), 1); // the fourth clip of a 224 list
    EXPECT_EQ(HiddenRows(4 * RowStep, 264), 0); // ends exactly at the bottom
    EXPECT_EQ(HiddenRows(2 * RowStep, 300), 0);
    EXPECT_EQ(HiddenRows(0, 300), 0);
    EXPECT_EQ(ScrolledRows(5, 0.5f), 2);
    EXPECT_EQ(ScrolledRows(5, 1.0f), 5);
    EXPECT_EQ(ScrolledRows(0, 1.0f), 0); // nothing hidden: the list never moves

    EXPECT_EQ(ClampThumb(-5, 10, 90), 10);
    EXPECT_EQ(ClampThumb(200, 10, 90), 90);
    EXPECT_EQ(ClampThumb(50, 10, 90), 50);
    EXPECT_EQ(ClampThumb(50, 90, 10), 90); // crossed bounds: the minimum

    EXPECT_EQ(TrackClickTop(100, 20, 15, 115), 90 + 15);
    EXPECT_EQ(TrackClickTop(3, 20, 15, 115), 15);
    EXPECT_EQ(TrackClickTop(500, 20, 15, 115), 115);
    EXPECT_EQ(TrackClickTop(50, 20, 15, 10), 15); // no travel
}

TEST(ListMath, ScrollButtonStep)
{
    // Content at least a row shorter than the list: the buttons do nothing.
    EXPECT_EQ(ButtonStep(66, 300, 15, 115), 0);
    EXPECT_EQ(ButtonStep(300 - 66, 300, 15, 115), 0);   // a whole row shorter
    EXPECT_EQ(ButtonStep(300 - 65, 300, 15, 115), 100); // one position
    EXPECT_EQ(ButtonStep(20 * 66, 300, 15, 115), 100 / (16 + 1));
}

// The wheel and the keys put the thumb where exactly the wanted rows are
// scrolled away, whatever the travel and the number of hidden rows.
TEST(ListMath, ThumbTopForEveryRow)
{
    for (int hidden : {1, 2, 3, 7, 46, 997}) {
        for (auto [min, max] :
             {std::pair{16, 178}, std::pair{0, 1}, std::pair{16, 17}, std::pair{0, 5000}}) {
            int previous = min - 1;
            for (int rows = 0; rows <= hidden; ++rows) {
                const int top = ThumbTopForRows(rows, hidden, min, max);
                const int shown = ScrolledRows(hidden, ScrollFraction(top, min, max));
                ASSERT_GE(top, min);
                ASSERT_LE(top, max);
                ASSERT_GE(top, previous) << hidden << " rows, travel " << max - min;
                previous = top;
                // A short travel cannot reach every row; the last always shows.
                if (max - min >= hidden || rows == 0 || rows == hidden) {
                    ASSERT_EQ(shown, rows) << hidden << " hidden, travel " << max - min;
                }
            }
        }
    }
    EXPECT_EQ(ThumbTopForRows(-3, 5, 16, 178), 16);
    EXPECT_EQ(ThumbTopForRows(9, 5, 16, 178), 178);
    EXPECT_EQ(ThumbTopForRows(2, 0, 16, 178), 16);
}

SelectionState threeAt(QList<bool> selected, int anchor)
{
    return SelectionState{{2, 68, 134, 200}, selected, anchor};
}

TEST(ClipSelection, PlainLeftRightAndMiddlePresses)
{
    SelectionState s = threeAt({true, false, true, false}, -1);
    PressItem(s, 1, Qt::LeftButton, {});
    EXPECT_EQ(s.selected, (QList<bool>{false, true, false, false}));
    EXPECT_EQ(s.anchor, 68);

    s = threeAt({true, false, false, false}, -1);
    PressItem(s, 2, Qt::RightButton, {}); // a selection exists: unchanged
    EXPECT_EQ(s.selected, (QList<bool>{true, false, false, false}));
    EXPECT_EQ(s.anchor, 134);

    s = threeAt({false, false, false, false}, -1);
    PressItem(s, 2, Qt::RightButton, {});
    EXPECT_EQ(s.selected, (QList<bool>{false, false, true, false}));

    s = threeAt({true, false, false, false}, -1);
    PressItem(s, 3, Qt::MiddleButton, {});
    EXPECT_EQ(s.selected, (QList<bool>{true, false, false, false}));
    EXPECT_EQ(s.anchor, 200);
}

TEST(ClipSelection, ShiftWithAndWithoutAnchor)
{
    SelectionState s = threeAt({true, false, false, false}, -1);
    PressItem(s, 2, Qt::LeftButton, Qt::ShiftModifier); // no anchor: adds, sets anchor
    EXPECT_EQ(s.selected, (QList<bool>{true, false, true, false}));
    EXPECT_EQ(s.anchor, 134);

    PressItem(s, 3, Qt::LeftButton, Qt::ShiftModifier); // range replaces the selection
    EXPECT_EQ(s.selected, (QList<bool>{false, false, true, true}));
    EXPECT_EQ(s.anchor, 134);

    PressItem(s, 0, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier); // upward
    EXPECT_EQ(s.selected, (QList<bool>{true, true, true, false}));
    EXPECT_EQ(s.anchor, 134);
}

TEST(ClipSelection, CtrlToggles)
{
    SelectionState s = threeAt({false, true, false, false}, -1);
    PressItem(s, 1, Qt::RightButton, Qt::ControlModifier);
    EXPECT_EQ(s.selected, (QList<bool>{false, false, false, false}));
    EXPECT_EQ(s.anchor, 68);
    PressItem(s, 3, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(s.selected, (QList<bool>{false, false, false, true}));
}

class ItemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        id = clips.add(ProbedTestClip("/v/clip.avi", 3599, Qt::blue));
        item = std::make_unique<Image_Item>(&clips, id);
    }
    QColor at(int x, int y) const { return item->picture().pixelColor(x, y); }

    ClipList clips;
    int id = 0;
    std::unique_ptr<Image_Item> item;
};

TEST_F(ItemTest, DrawsTheClipOnce)
{
    EXPECT_EQ(item->clip().path, "/v/clip.avi");
    EXPECT_EQ(item->clip().startTime, 0);
    EXPECT_EQ(item->clip().stopTime, 3599);
    EXPECT_FALSE(item->isVisible());
    EXPECT_EQ(item->picture().size(), QSize(388, 64));
    EXPECT_EQ(at(2, 2), QColor(Qt::blue));   // thumbnail's corner
    EXPECT_EQ(at(81, 61), QColor(Qt::blue)); // and its far corner
    EXPECT_EQ(at(84, 30), Image_Item::Grey); // ground beside it
}

TEST_F(ItemTest, FramesHaveTheirColours)
{
    item->Select();
    EXPECT_TRUE(item->Selected);
    for (auto [x, y] : {std::pair{0, 0}, {1, 30}, {387, 63}, {200, 62}})
        EXPECT_EQ(at(x, y), Image_Item::Green) << x << "," << y;
    item->Highlight();
    EXPECT_TRUE(item->Selected);
    EXPECT_EQ(at(386, 10), Image_Item::Red);
    item->Deselect();
    EXPECT_FALSE(item->Selected);
    EXPECT_EQ(at(0, 0), Image_Item::Grey);
    EXPECT_EQ(at(2, 2), QColor(Qt::blue)); // frames stay outside the thumbnail
}

TEST_F(ItemTest, TrimKeepsItsOrderAndRefusesTheOutside)
{
    QSignalSpy told(&clips, &ClipList::trimChanged);
    const QImage before = item->picture();
    EXPECT_TRUE(clips.SetTrim(id, 100, 3599));
    EXPECT_EQ(item->clip().startTime, 100);
    EXPECT_NE(item->picture(), before);      // the time line was redrawn
    EXPECT_TRUE(clips.SetTrim(id, 100, 50)); // stop before start: stop = start
    EXPECT_EQ(item->clip().stopTime, 100);
    EXPECT_TRUE(clips.SetTrim(id, 500, 100)); // start past stop: start = stop
    EXPECT_EQ(item->clip().startTime, 100);
    EXPECT_FALSE(clips.SetTrim(id, -1, 100));
    EXPECT_FALSE(clips.SetTrim(id, 0, 3600));
    EXPECT_EQ(item->clip().startTime, 100);
    EXPECT_EQ(item->clip().stopTime, 100);
    // A refusal is told too: the views go back to the stored trim.
    EXPECT_EQ(told.count(), 5);
    // Only the time line changes: the rest of the picture stays.
    EXPECT_EQ(item->picture().copy(0, 0, 388, 46), before.copy(0, 0, 388, 46));

    // A marker stands for the whole second it was dropped in.
    EXPECT_TRUE(clips.dropMarker(id, false, 0.5));
    EXPECT_EQ(item->clip().stopTime, 1799);
    // A clip without length is not trimmed; a removed one is gone.
    const int still = clips.add(ProbedTestClip("/v/still.avi", 0));
    EXPECT_FALSE(clips.SetTrim(still, 0, 0));
    clips.remove({id});
    EXPECT_FALSE(clips.SetTrim(id, 0, 1));
    EXPECT_TRUE(item->clip().path.isEmpty());
}

} // namespace

TEST(PathElision, FoldersGiveWayAndTheNameStaysWhole)
{
    QFont face(QStringLiteral("Tahoma"));
    face.setPointSize(8);
    const QFontMetrics fm(face);
    const QString name = QStringLiteral("Summer holiday at the lake 2024.avi");
    const QString path = QStringLiteral("/home/alex/Videos/camera/2024/july/week two/") + name;
    EXPECT_EQ(ElidePathKeepingName("/v/clip.avi", fm, 300), "/v/clip.avi");

    const int width = fm.horizontalAdvance(name) + 60;
    const QString shown = ElidePathKeepingName(path, fm, width);
    EXPECT_LE(fm.horizontalAdvance(shown), width);
    EXPECT_TRUE(shown.endsWith("/" + name)) << shown.toStdString();
    EXPECT_TRUE(shown.startsWith("/h")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026)));

    // Without room for a folder's first letter the folders go; only a name
    // wider than the room is cut, keeping its start and its type.
    const QString dropped = QString(QChar(0x2026)) + "/" + name;
    const std::pair<int, QString> rooms[] = {{fm.horizontalAdvance(dropped), dropped},
                                             {fm.horizontalAdvance(name), name},
                                             {fm.horizontalAdvance(name) / 2, "Summ"}};
    for (const auto &[room, start] : rooms) {
        const QString cut = ElidePathKeepingName(path, fm, room);
        EXPECT_LE(fm.horizontalAdvance(cut), room) << cut.toStdString();
        EXPECT_TRUE(cut.startsWith(start) && cut.endsWith(".avi")) << cut.toStdString();
    }
    const QString tail =
        ElidePathKeepingName("camera_clip_0001.mpeg", fm, fm.horizontalAdvance("cam\u2026.mpeg"));
    EXPECT_TRUE(tail.startsWith("c") && tail.endsWith(".mpeg")) << tail.toStdString();
}

TEST_F(ItemTest, LongPathKeepsTheFileNameAndTheTooltipHasItWhole)
{
    const QString path = "/home/alex/Videos/camera/2024/july/a very long folder name "
                         "that goes on and on/beach.avi";
    item = std::make_unique<Image_Item>(&clips, clips.add(ProbedTestClip(path, 60)));
    EXPECT_EQ(item->toolTip(), path);
    // The name line ends inside the frame: its last columns show the ground.
    for (int x = 384; x < 386; ++x)
        for (int y = 4; y < 16; ++y)
            EXPECT_EQ(at(x, y), Image_Item::Grey) << x << "," << y;
}
