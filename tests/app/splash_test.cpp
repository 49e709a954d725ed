#include "app/splash.h"
#include "controls/image.h"
#include "tests/support/testpaths.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SplashTest : public ::testing::Test
{
protected:
    struct Step
    {
        int opacity;
        int ms;
        bool input;
        bool operator==(const Step &) const = default;
    };

    void SetUp() override
    {
        splash = std::make_unique<TStartUp>(path);
        splash->setFades(true);
        splash->setPause([this](int ms, bool input) {
            steps.push_back({qRound(splash->windowOpacity() * 255), ms, input});
        });
    }

    QTemporaryDir dir;
    QString path = dir.filePath("startup.jpg");
    std::unique_ptr<TStartUp> splash;
    std::vector<Step> steps;
};

// No picture, then one that does not decode: no window, no waiting.
TEST_F(SplashTest, NoPictureOrOneThatDoesNotDecodeIsPassedOver)
{
    for (bool written : {false, true}) {
        ASSERT_TRUE(!written || WriteFileBytes(path, "\xFF\xD8 not really a picture"));
        splash->ShowSplash();
        EXPECT_FALSE(splash->b_Shown) << written;
        EXPECT_FALSE(splash->isVisible()) << written;
        splash->HideSplash();
        EXPECT_TRUE(steps.empty()) << written;
    }
}

TEST_F(SplashTest, FadesInAndOutAtThePicturesOwnSize)
{
    QImage picture(300, 120, QImage::Format_RGB32);
    picture.fill(QColor(20, 60, 200));
    ASSERT_TRUE(picture.save(path, "JPG"));

    splash->ShowSplash();
    EXPECT_TRUE(splash->b_Shown);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(300, 120));
    EXPECT_EQ(splash->Image->geometry(), QRect(0, 0, 300, 120));
    EXPECT_EQ(splash->windowOpacity(), 1.0);
    EXPECT_TRUE(splash->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);

    std::vector<Step> fadeIn;
    for (int a = 10; a <= 250; a += 10)
        fadeIn.push_back({a, 20, true});
    EXPECT_EQ(steps, fadeIn);

    steps.clear();
    splash->HideSplash();
    std::vector<Step> fadeOut;
    for (int a = 250; a >= 0; a -= 5)
        fadeOut.push_back({a, 10, false});
    EXPECT_EQ(steps, fadeOut);
    EXPECT_FALSE(splash->isVisible());
}

// Offscreen, as under Wayland, opacity does not show: no fade and no
// warnings, but the window stays up for the fade's time all the same.
TEST_F(SplashTest, WithoutOpacityItStaysUpForTheFadesTime)
{
    ASSERT_TRUE(QImage(200, 100, QImage::Format_RGB32).save(path, "JPG"));
    splash = std::make_unique<TStartUp>(path); // the platform's own choice
    int waited = 0;
    splash->setPause([&](int ms, bool) {
        EXPECT_TRUE(splash->isVisible());
        EXPECT_EQ(splash->windowOpacity(), 1.0);
        waited += ms;
    });
    splash->ShowSplash();
    EXPECT_TRUE(splash->isVisible());
    splash->HideSplash();
    EXPECT_FALSE(splash->isVisible());
    EXPECT_EQ(waited, 25 * 20 + 51 * 10);
}

} // namespace
