// The position and trim slider: its arithmetic directly, then the widget
// with generated parts, driven by real mouse events.
#include "controls/fixprogress.h"
#include "controls/image.h"
#include "controls/imagebutton.h"
#include "controls/slidermath.h"

#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// 300 wide, 8-pixel markers, a 14-pixel thumb.
const SliderScale kScale{8, 300 - 14 - 8, 300 - 8, 300};

TEST(SliderMath, ThumbScaleClampsAndConverts)
{
    EXPECT_EQ(ClampThumbLeft(-5, kScale), 8);
    EXPECT_EQ(ClampThumbLeft(500, kScale), 278);
    // The minimum wins when the maximum lies below it.
    EXPECT_EQ(ClampThumbLeft(3, SliderScale{10, 4, 20, 20}), 10);
    EXPECT_DOUBLE_EQ(PercentAtThumbLeft(278, kScale), 100);
    EXPECT_DOUBLE_EQ(PercentAtThumbLeft(143, kScale), 50);
    EXPECT_DOUBLE_EQ(PercentAtThumbLeft(12, SliderScale{12, 12, 20, 20}), 0); // no travel
    EXPECT_EQ(ThumbLeftForPercent(50, kScale), 143);
    EXPECT_EQ(ThumbLeftForPercent(33.3, kScale), 97); // 89.91 + 8, truncated
    EXPECT_EQ(ThumbLeftForFaceClick(299, 14), 292);
}

TEST(SliderMath, MarkersRestAtTheEnds)
{
    const MarkerPlacement rest = PlaceMarkers(-1, -1, kScale, 8, 8, 100);
    EXPECT_FALSE(rest.enabled);
    EXPECT_EQ(rest.startLeft, 0);
    EXPECT_EQ(rest.stopLeft, 292);
    EXPECT_EQ(rest.rangeWidth, 0);
    const MarkerFractions f = FractionsForRange(rest.startLeft + 8, rest.stopLeft, kScale);
    EXPECT_FLOAT_EQ(f.start, 0);
    EXPECT_FLOAT_EQ(f.stop, 1);
}

TEST(SliderMath, StartMarkerIsBoundByTheStopMarkerBeforeTheCall)
{
    // span 284: a = 0.25 -> d = 79, b = 0.75 -> e = 221.
    MarkerPlacement m = PlaceMarkers(0.25, 0.75, kScale, 8, 8, 292);
    EXPECT_TRUE(m.enabled);
    EXPECT_EQ(m.startLeft, 71);
    EXPECT_EQ(m.stopLeft, 221);
    EXPECT_EQ(m.rangeLeft, 79);
    EXPECT_EQ(m.rangeWidth, 142);
    // The next clip starts beyond where the stop marker stood: the start
    // marker stays at that old stop, the stop marker goes on to its place.
    m = PlaceMarkers(0.9, 1.0, kScale, 8, 8, m.stopLeft);
    EXPECT_EQ(m.startLeft, 213);
    EXPECT_EQ(m.stopLeft, 292);
    // Fractions that are not numbers (a clip without length) cannot make
    // nonsense pixels.
    m = PlaceMarkers(NAN, INFINITY, kScale, 8, 8, 292);
    EXPECT_EQ(m.startLeft, 0);
    EXPECT_EQ(m.stopLeft, 8);
}

TEST(SliderMath, APressBesideAPoleTakesItsMarker)
{
    // Poles at 20..22 and 40..42 (or 26..28: the nearer wins), four pixels of slack.
    const int rows[][3] = {{21, 40, 1}, {16, 40, 1}, {15, 40, -1}, {26, 40, 1}, {27, 40, -1},
                           {36, 40, 0}, {46, 40, 0}, {47, 40, -1}, {24, 26, 1}, {25, 26, 0}};
    for (const auto &[x, stopLeft, marker] : rows)
        EXPECT_EQ(MarkerNearPress(x, 20, 23, stopLeft, stopLeft + 3, 4), marker) << x;
}

TEST(SliderMath, DraggedMarkersCannotPassEachOtherOrTheEnd)
{
    EXPECT_EQ(DragStartMarker(250, 8, 200), 192);
    EXPECT_EQ(DragStartMarker(-30, 8, 200), 0);
    EXPECT_EQ(DragStopMarker(10, 100, 8, 8, 300), 108);
    EXPECT_EQ(DragStopMarker(400, 100, 8, 8, 300), 292);
    // Without markers the range alone carries the trim.
    const MarkerPlacement r = PlaceRange(0.5, 1.0, SliderScale{0, 286, 300, 300});
    EXPECT_EQ(r.rangeLeft, 150);
    EXPECT_EQ(r.rangeWidth, 150);
    EXPECT_FLOAT_EQ(FractionsForRange(0, 0, SliderScale{5, 5, 5, 5}).stop, 0); // no scale
}

QImage part(int w, int h, QColor colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return img;
}

class SliderWidget : public ::testing::Test
{
protected:
    void SetUp() override { build(true); }

    void build(bool markers)
    {
        slider = std::make_unique<TFixProgress>();
        ASSERT_TRUE(slider->SetBackgroundBitmap(part(300, 20, Qt::darkGray)));
        ASSERT_TRUE(slider->SetRangeBitmap(part(16, 4, Qt::blue)));
        const QImage marker = part(24, 20, Qt::yellow);
        ASSERT_TRUE(slider->SetThumbBitmaps(part(42, 14, Qt::white), markers ? marker : QImage(),
                                            markers ? marker : QImage()));
        ASSERT_TRUE(slider->FinishSkin());
        slider->SetOnPositionChange([this](double p, bool held, TFixProgress *) {
            calls.push_back({p, held});
        });
        slider->show();
    }

    // Moves to a point given in the slider's coordinates, sent to w.
    void moveOn(QWidget *w, QPoint inSlider)
    {
        QTest::mouseMove(w, w->mapFrom(slider.get(), inSlider));
    }

    std::unique_ptr<TFixProgress> slider;
    std::vector<std::pair<double, bool>> calls;
};

TEST_F(SliderWidget, FinishSkinLaysOutTheScalesAndRestsTheMarkers)
{
    EXPECT_EQ(slider->size(), QSize(300, 20));
    EXPECT_EQ(slider->scale().thumbMin, 8);
    EXPECT_EQ(slider->scale().thumbMax, 278);
    EXPECT_EQ(slider->scale().scaleEnd, 292);
    EXPECT_EQ(slider->thumb()->pos(), QPoint(8, 3));
    EXPECT_EQ(slider->startMarker()->pos(), QPoint(0, 0));
    EXPECT_EQ(slider->stopMarker()->pos(), QPoint(292, 0));
    EXPECT_FALSE(slider->startMarker()->isEnabled());
    EXPECT_FLOAT_EQ(slider->GetMarkers().start, 0);
    EXPECT_FLOAT_EQ(slider->GetMarkers().stop, 1);

    // One marker strip is an incomplete skin; no thumb or face neither.
    TFixProgress other;
    EXPECT_FALSE(other.FinishSkin());
    EXPECT_FALSE(other.SetThumbBitmaps(part(42, 14, Qt::white), part(24, 20, Qt::red), QImage()));
    EXPECT_FALSE(other.SetBackgroundBitmap(QImage()));
}

TEST_F(SliderWidget, FaceClickAtTheRightEndSeeksToTheEndAndReleaseReports)
{
    slider->SetThumbEnabled(true);
    QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(291, 10));
    EXPECT_EQ(slider->thumb()->x(), 278);
    EXPECT_DOUBLE_EQ(slider->percent(), 100);
    // While the drag runs the player's reports are ignored, a rest is not.
    slider->SetPosition(50);
    EXPECT_EQ(slider->thumb()->x(), 278);
    QTest::mouseMove(slider.get(), QPoint(150, 10));
    EXPECT_EQ(slider->thumb()->x(), 278 + 150 - 291); // follows the cursor's travel
    QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(150, 10));
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], std::make_pair(100.0, true));
    EXPECT_TRUE(calls[1].second);
    EXPECT_DOUBLE_EQ(calls[1].first, 129 * 100 / 270.0);
    EXPECT_FALSE(calls[2].second);
    slider->SetPosition(-1);
    EXPECT_EQ(slider->thumb()->x(), 8);
    EXPECT_EQ(slider->percent(), 0);
}

TEST_F(SliderWidget, PressesAreIgnoredWhileTheThumbIsDisabledOrNotLeft)
{
    slider->SetThumbEnabled(false);
    QTest::mousePress(slider.get(), Qt::LeftButton, {}, QPoint(200, 10));
    QTest::mouseRelease(slider.get(), Qt::LeftButton, {}, QPoint(200, 10));
    slider->SetThumbEnabled(true);
    QTest::mousePress(slider.get(), Qt::RightButton, {}, QPoint(200, 10));
    QTest::mouseRelease(slider.get(), Qt::RightButton, {}, QPoint(200, 10));
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(slider->thumb()->x(), 8);
    slider->SetPosition(-1); // a rest works during no drag too
    slider->SetPosition(50);
    EXPECT_EQ(slider->thumb()->x(), 143);
}

TEST_F(SliderWidget, ThumbClickReportsHeldThenReleased)
{
    slider->SetThumbEnabled(true);
    TImageButton *thumb = slider->thumb();
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(7, 7));
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(7, 7));
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], std::make_pair(0.0, true));
    EXPECT_EQ(calls[1], std::make_pair(0.0, false));
}

TEST_F(SliderWidget, MarkersDragWithinEachOtherAndReportOnRelease)
{
    QSignalSpy trim(slider.get(), &TFixProgress::markerDropped);
    // At rest the markers cannot be dragged.
    TImageButton *in = slider->startMarker();
    QTest::mousePress(in, Qt::LeftButton, {}, QPoint(4, 10));
    moveOn(in, QPoint(100, 10));
    QTest::mouseRelease(in, Qt::LeftButton, {}, QPoint(4, 10));
    EXPECT_EQ(in->x(), 0);
    EXPECT_EQ(trim.count(), 0);

    slider->SetMarkers(0.25f, 0.5f);
    TImageButton *out = slider->stopMarker();
    const int stopAt = out->x();
    QTest::mousePress(in, Qt::LeftButton, {}, QPoint(4, 10));
    moveOn(in, QPoint(in->x() + 4 + 200, 10));
    EXPECT_EQ(in->x() + 8, stopAt); // right edge meets the stop marker
    EXPECT_EQ(slider->rangeImage()->width(), 0);
    QTest::mouseRelease(in, Qt::LeftButton, {}, QPoint(4, 10));
    ASSERT_EQ(trim.count(), 1);
    EXPECT_TRUE(trim[0][1].toBool());
    EXPECT_FLOAT_EQ(slider->GetMarkers().start, slider->GetMarkers().stop);

    QTest::mousePress(out, Qt::LeftButton, {}, QPoint(4, 10));
    moveOn(out, QPoint(out->x() + 4 + 500, 10));
    QTest::mouseRelease(out, Qt::LeftButton, {}, QPoint(4, 10));
    EXPECT_EQ(out->x(), 292);
    ASSERT_EQ(trim.count(), 2);
    EXPECT_FALSE(trim[1][1].toBool());
    EXPECT_FLOAT_EQ(slider->GetMarkers().stop, 1);
}

TEST_F(SliderWidget, WithoutMarkerStripsTheRangeCarriesTheTrim)
{
    build(false);
    EXPECT_EQ(slider->startMarker(), nullptr);
    EXPECT_EQ(slider->scale().thumbMax, 286);
    slider->SetMarkers(0.5f, 1.0f);
    EXPECT_EQ(slider->rangeImage()->x(), 150);
    EXPECT_EQ(slider->rangeImage()->width(), 150);
    EXPECT_FLOAT_EQ(slider->GetMarkers().start, 0.5f);
    EXPECT_FLOAT_EQ(slider->GetMarkers().stop, 1.0f);
}

} // namespace
