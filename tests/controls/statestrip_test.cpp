#include "controls/colourregion.h"
#include "controls/dynamicimagebutton.h"
#include "controls/picture.h"
#include "controls/statestrip.h"
#include "tests/support/skinfixtures.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QColor N(Qt::red), H(Qt::green), P(Qt::blue), D(Qt::yellow);

TEST(StateStrip, WidthMustHoldEverySliceAndExtraIsIgnored)
{
    const StateFlags hoverPressed{true, true, false};
    EXPECT_FALSE(CutStateStrip(ColourStrip(40, 20, {N, H}, 39), 40, 20, hoverPressed)); // 119
    auto exact = CutStateStrip(ColourStrip(40, 20, {N, H, P}), 40, 20, hoverPressed);   // 120
    ASSERT_TRUE(exact);
    auto wide = CutStateStrip(ColourStrip(40, 20, {N, H, P}, 80), 40, 20, hoverPressed); // 200
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->normal.size(), QSize(40, 20));
    EXPECT_EQ(Centre(wide->image(ButtonState::Pressed)), P);
    // No disabled slice: the disabled look is the normal one.
    EXPECT_EQ(Centre(wide->image(ButtonState::Disabled)), N);
    EXPECT_FALSE(wide->disabled.has_value());
}

TEST(StateStrip, AbsentStatesTakeNoSliceAndShowTheNormalLook)
{
    // Normal, hover and disabled: disabled sits at 2w, right after hover.
    auto cut = CutStateStrip(ColourStrip(10, 8, {N, H, D}), 10, 8, {true, false, true});
    ASSERT_TRUE(cut);
    EXPECT_EQ(Centre(cut->image(ButtonState::Hover)), H);
    EXPECT_EQ(Centre(cut->image(ButtonState::Pressed)), N);
    EXPECT_EQ(Centre(cut->image(ButtonState::Disabled)), D);

    auto single = CutStateStrip(ColourStrip(10, 8, {N}), 10, 8, {});
    ASSERT_TRUE(single);
    for (ButtonState s : {ButtonState::Hover, ButtonState::Pressed, ButtonState::Disabled})
        EXPECT_EQ(Centre(single->image(s)), N);
    EXPECT_FALSE(CutStateStrip(ColourStrip(10, 8, {N}, 5), 10, 8, {false, false, true}));
}

TEST(StateStrip, SlicesComeFromTheTopRowsAndNonsenseSizesFail)
{
    QImage tall = ColourStrip(10, 30, {N, H});
    QPainter(&tall).fillRect(0, 10, 20, 20, Qt::black);
    auto cut = CutStateStrip(tall, 10, 10, {true, false, false});
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->normal.size(), QSize(10, 10));
    EXPECT_EQ(QColor(cut->normal.pixel(5, 9)), N);
    EXPECT_FALSE(CutStateStrip(QImage(), 10, 10, {}));
    EXPECT_FALSE(CutStateStrip(tall, 0, 10, {}));
    EXPECT_FALSE(CutStateStrip(tall, 10, -1, {}));
}

// A 2x strip is cut at the button's 1x size into slices of twice the
// pixels; its outline is the one of its 1x geometry.
TEST(StateStrip, DenseStripsGiveDenseSlicesAndA1xOutline)
{
    QImage dense = ColourStrip(20, 16, {N, H, P});
    QPainter(&dense).fillRect(0, 0, 2, 2, QColor(OutlineColour)); // one 2x2 block is cut
    dense.setDevicePixelRatio(2);
    auto cut = CutStateStrip(dense, 10, 8, {true, true, false});
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->normal.size(), QSize(20, 16));
    EXPECT_EQ(cut->normal.devicePixelRatio(), 2);
    EXPECT_EQ(Centre(cut->image(ButtonState::Pressed)), P);
    EXPECT_FALSE(CutStateStrip(dense, 11, 8, {true, true, false}));
    EXPECT_EQ(OutlineRegion(cut->normal), QRegion(0, 0, 10, 8) - QRegion(0, 0, 1, 1));
    EXPECT_EQ(CutAnimationFrames(dense, 10, 8)->size(), 3);
}

TEST(AnimationStrip, WholeMultiplesOfTheButtonWidthOnly)
{
    auto five = CutAnimationFrames(ColourStrip(20, 10, {N, H, P, D, Qt::cyan}), 20, 10);
    ASSERT_TRUE(five);
    ASSERT_EQ(five->size(), 5);
    EXPECT_EQ(Centre(five->at(4)), QColor(Qt::cyan));
    EXPECT_FALSE(CutAnimationFrames(ColourStrip(20, 10, {N, H, P, D, N}, 10), 20, 10)); // 5.5
    EXPECT_FALSE(CutAnimationFrames(ColourStrip(20, 10, {N}), 0, 10));
}

TEST(AnimationStep, FramesThenHoverThenStopOrPause)
{
    // Three frames at 50 ms: each tick shows the next frame.
    for (int i = 0; i < 3; ++i) {
        AnimationTick t = StepAnimation(i, 3, 50, 0, false);
        EXPECT_EQ(t.frame, i);
        EXPECT_EQ(t.nextIndex, i + 1);
        EXPECT_TRUE(t.keepRunning);
        EXPECT_EQ(t.nextInterval, 50);
    }
    AnimationTick once = StepAnimation(3, 3, 50, 0, false);
    EXPECT_EQ(once.frame, -1);
    EXPECT_FALSE(once.keepRunning);
    AnimationTick again = StepAnimation(3, 3, 50, 3000, true);
    EXPECT_EQ(again.frame, -1);
    EXPECT_TRUE(again.keepRunning);
    EXPECT_EQ(again.nextInterval, 3000);
    EXPECT_EQ(again.nextIndex, 0);
    // Without frames the first tick already brings the hover look.
    EXPECT_EQ(StepAnimation(0, 0, 100, 3000, false).frame, -1);
}

TEST(ColourRegion, MagentaIsCutAndColourZeroMeansTheTopLeftPixel)
{
    QImage img(6, 4, QImage::Format_RGB32);
    img.fill(Qt::white);
    img.setPixel(0, 0, OutlineColour);
    img.setPixel(5, 3, OutlineColour);
    img.setPixel(2, 1, qRgb(1, 2, 3));
    const QRegion outline = OutlineRegion(img);
    EXPECT_FALSE(outline.contains(QPoint(0, 0)));
    EXPECT_FALSE(outline.contains(QPoint(5, 3)));
    EXPECT_TRUE(outline.contains(QPoint(1, 0)));
    EXPECT_TRUE(outline.contains(QPoint(2, 1)));
    EXPECT_EQ(RegionFromColour(img, qRgb(1, 2, 3)), QRegion(2, 1, 1, 1));
    EXPECT_EQ(RegionFromColour(img, 0), RegionFromColour(img, OutlineColour));
    EXPECT_TRUE(RegionFromColour(QImage(), OutlineColour).isEmpty());

    QImage plain(7, 5, QImage::Format_RGB32);
    plain.fill(Qt::gray);
    EXPECT_EQ(OutlineRegion(plain), QRegion(0, 0, 7, 5));
}

TEST(ColourRegion, BottomLeftColourBecomesSeeThrough)
{
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::green);
    img.setPixel(1, 1, qRgb(9, 9, 9));
    img.setPixel(0, 3, qRgb(9, 9, 9));
    QImage out = SeeThroughBottomLeft(img);
    EXPECT_EQ(qAlpha(out.pixel(1, 1)), 0);
    EXPECT_EQ(qAlpha(out.pixel(0, 3)), 0);
    EXPECT_EQ(out.pixel(2, 2), QColor(Qt::green).rgb());
}

TEST(PictureFile, FormatFollowsTheExtension)
{
    QTemporaryDir dir;
    QImage img(16, 12, QImage::Format_RGB32);
    img.fill(QColor(200, 40, 40));
    ASSERT_TRUE(img.save(dir.filePath("a.bmp"), "BMP"));
    ASSERT_TRUE(img.save(dir.filePath("a.png"), "PNG"));
    ASSERT_TRUE(img.save(dir.filePath("a.jpg"), "JPEG", 95));
    ASSERT_TRUE(img.save(dir.filePath("a.ico"), "ICO"));
    for (const char *name : {"a.bmp", "a.png", "a.jpg", "a.ico"}) {
        QImage read = LoadPictureFile(dir.filePath(name));
        EXPECT_EQ(read.size(), QSize(16, 12)) << name;
        EXPECT_LT(qAbs(QColor(read.pixel(8, 6)).red() - 200), 6) << name;
    }
    // A JPEG under another name is not read as one, and a broken one fails.
    QFile::copy(dir.filePath("a.jpg"), dir.filePath("jpeg.bmp"));
    EXPECT_TRUE(LoadPictureFile(dir.filePath("jpeg.bmp")).isNull());
    {
        QFile f(dir.filePath("broken.jpg"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\xFF\xD8\xFF not really");
    }
    EXPECT_TRUE(LoadPictureFile(dir.filePath("broken.jpg")).isNull());
    EXPECT_TRUE(LoadPictureFile(dir.filePath("missing.png")).isNull());
    EXPECT_TRUE(LoadPictureFile(dir.filePath("a.wmf")).isNull());

    // Above 1x the @2x picture, where the skin has one.
    EXPECT_EQ(HighDensityPath("/skin/main.bmp"), "/skin/main@2x.bmp");
    QImage dense(32, 24, QImage::Format_RGB32);
    dense.fill(Qt::blue);
    ASSERT_TRUE(dense.save(dir.filePath("a@2x.bmp"), "BMP"));
    for (auto [dpr, file, ratio] : {std::tuple{1.0, "a.bmp", 1.0},
                                    {1.5, "a.bmp", 2.0},
                                    {2.0, "a.bmp", 2.0},
                                    {2.0, "a.png", 1.0}}) {
        const QImage read = LoadSkinPicture(dir.filePath(file), dpr);
        EXPECT_EQ(read.devicePixelRatio(), ratio) << file << dpr;
        EXPECT_EQ(LogicalSize(read), QSize(16, 12)) << file << dpr;
    }
}

} // namespace
