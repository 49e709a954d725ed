// The main window and the profile editor with the default skin on a real X
// display: the outline's corners are cut away and every button shows its
// normal look where its record puts it.
#include "controls/picture.h"
#include "platform/inifile.h"
#include "skin/skinrecord.h"
#include "tests/support/privatedisplay.h"
#include "tests/support/testpaths.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Share of the slice's non-magenta pixels that the screen shows unchanged.
double shownShare(const QImage &screen, QPoint at, const QImage &slice)
{
    int same = 0, counted = 0;
    for (int y = 0; y < slice.height(); ++y)
        for (int x = 0; x < slice.width(); ++x) {
            const QRgb want = slice.pixel(x, y) | 0xFF000000u;
            if (want == 0xFFFF00FFu)
                continue;
            ++counted;
            same += (screen.pixel(at.x() + x, at.y() + y) | 0xFF000000u) == want;
        }
    return counted ? double(same) / counted : 0;
}

// Shows the section's window through skinshot on a display of its own, then
// checks the outline's corners and that every button in keys shows its
// normal look where its record puts it. At scale 2 that look is the 2x
// picture's, which is no pixel double of the 1x one.
void ExpectOutlineAndButtons(const QString &section, const QStringList &keys, int scale = 1)
{
    PrivateDisplay display;
    ASSERT_TRUE(display.start()) << "Xvfb did not start";

    QTemporaryDir dir;
    const QString prog = dir.filePath("prog/");
    ASSERT_TRUE(InstallDefaultSkin(prog));
    ASSERT_TRUE(QFile::copy(FakeEngineDir("full") + "/libEncoder.so", prog + "libEncoder.so"));
    ASSERT_TRUE(QFile::copy(BuildBinDir() + "/Output.dll", prog + "Output.dll"));
    const QString home = dir.filePath("home");
    QDir().mkpath(home);
    QFile::setPermissions(home, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcess shot;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display.name());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("HOME", home);
    env.insert("XDG_CONFIG_HOME", home);
    env.insert("XDG_RUNTIME_DIR", home);
    env.insert("QT_SCALE_FACTOR", QString::number(scale));
    shot.setProcessEnvironment(env);
    const QString png = dir.filePath("shot.png");
    shot.start(ZELO_TEST_SKINSHOT, {prog, png, section});
    ASSERT_TRUE(shot.waitForFinished(60000));
    ASSERT_EQ(shot.exitCode(), 0) << shot.readAllStandardError().toStdString();
    const QStringList place = QString::fromLatin1(shot.readAllStandardOutput()).split(' ');
    ASSERT_EQ(place.size(), 4);
    const QRect window(place[0].toInt() * scale, place[1].toInt() * scale, place[2].toInt() * scale,
                       place[3].toInt() * scale);
    const QImage screen = QImage(png).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(screen.isNull());
    ASSERT_TRUE(screen.rect().contains(window));

    // Outside the rounded outline the screen's own black shows; inside, the face.
    const QRgb root = screen.pixel(0, 0);
    for (QPoint corner :
         {window.topLeft(), window.topRight(), window.bottomLeft(), window.bottomRight()})
        EXPECT_EQ(screen.pixel(corner), root) << corner.x() << "," << corner.y();
    EXPECT_NE(screen.pixel(window.center().x(), window.top() + 1), root);
    EXPECT_NE(screen.pixel(window.left() + 1, window.center().y()), root);

    const QString folder = prog + "Skin/";
    const IniFile ini(folder + "Skin.ini");
    for (const QString &key : keys) {
        SCOPED_TRACE(key.toStdString());
        const QString record = ini.readString(section, key, "Wrong");
        const QString file = folder + SkinField(record, 1);
        const QImage strip = LoadPictureFile(scale == 1 ? file : HighDensityPath(file));
        ASSERT_FALSE(strip.isNull());
        const QImage normal =
            strip.copy(0, 0, SkinNumber(record, 6) * scale, SkinNumber(record, 7) * scale);
        const QPoint at =
            window.topLeft() + QPoint(SkinNumber(record, 4), SkinNumber(record, 5)) * scale;
        EXPECT_GT(shownShare(screen, at, normal), 0.98);
        const QImage single = LoadPictureFile(file).copy(QRect(QPoint(), normal.size() / scale));
        if (scale > 1) // the screen shows more than a pixel double
            EXPECT_LT(shownShare(screen, at, single.scaled(normal.size())), 0.99);
    }
}

TEST(SkinOnScreen, MainWindowHasItsOutlineAndItsButtons)
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty())
        GTEST_SKIP() << "Xvfb is not installed: the on-screen skin check needs it";
    // TB_3GP is on at start and shows its checked look; the other kinds are off.
    ExpectOutlineAndButtons("MainWindow",
                            {"TB_Play", "TB_Stop", "TB_Pause", "TB_Next", "TB_Previous", "TB_Close",
                             "TB_AS_Keep", "TB_Min", "TB_Help", "TB_AddFile", "TB_DelFile",
                             "TB_Edit", "TB_Convert", "TB_PSP", "TB_iPod", "TB_PDA", "TB_MP4"});
}

TEST(SkinOnScreen, ProfileEditorHasItsOutlineAndItsButtons)
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty())
        GTEST_SKIP() << "Xvfb is not installed: the on-screen skin check needs it";
    ExpectOutlineAndButtons("ProfileWindow", {"TB_Ok", "TB_Cancel", "TB_Close"});
    ExpectOutlineAndButtons("ProfileWindow", {"TB_Ok", "TB_Cancel", "TB_Close"}, 2);
}

} // namespace
