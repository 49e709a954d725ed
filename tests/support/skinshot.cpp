// Shows a window dressed by a skin on a real display and saves what the
// screen shows, outline and all:
//   skinshot PROGRAM_FOLDER OUT.png [SECTION] [ACTION]...
// ACTION is add:FILE (a clip into the main window's list), names:SRC|DES (the
// progress window's file names), hover:KEY, press:KEY,
// disable:KEY or check:KEY (events sent to the
// button), or pointer:X,Y, which moves the real pointer to that point of the
// window so the display itself reports the entry.
// SECTION "MainWindow" (the default) is the program's own main window; any
// other section is shown as a bare window with its background and buttons,
// to look at a skin's dialogs. Prints the window's place on the screen.
#include "app/application.h"
#include "app/mainwindow.h"
#include "app/profilewindow.h"
#include "app/progresswindow.h"
#include "clips/clipadder.h"
#include "controls/checkimagebutton.h"
#include "controls/dynamicimagebutton.h"
#include "controls/image.h"
#include "platform/inifile.h"
#include "platform/pubfunction.h"
#include "skin/components.h"
#include "skin/skin.h"
#include "skin/windowframe.h"
#include "tests/support/recordingshell.h"
#include "tests/support/skinfixtures.h"

#include <QCursor>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {
std::unique_ptr<QWidget> bareWindow(const QString &section)
{
    auto window = std::make_unique<QWidget>();
    window->setObjectName(section);
    new TWindowFrame(window.get());
    CreateSkinBackground(window.get());
    QFile ini(path_Skin + "Skin.ini");
    ini.open(QIODevice::ReadOnly);
    bool inSection = false;
    for (const QByteArray &raw : ini.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith('['))
            inSection = line == "[" + section + "]";
        const QString key = line.section('=', 0, 0);
        if (inSection && key.startsWith("TB_"))
            CreateComponent<TDynamicImageButton>(window.get(), window.get(), key);
    }
    return window;
}

void act(QWidget *window, const QString &what)
{
    const QString verb = what.section(':', 0, 0), key = what.section(':', 1);
    if (verb == "add") { // add:FILE puts a clip in the main window's list
        if (auto *main = dynamic_cast<TMainWindow *>(window))
            main->adder()->addFiles({key});
        return;
    }
    if (verb == "names") { // names:SOURCE|DESTINATION in the progress window
        if (auto *progress = dynamic_cast<TProgressWindow *>(window)) {
            progress->ShowClip(key.section('|', 0, 0), key.section('|', 1), 0, 0);
            progress->Label_CP->setText("100");
        }
        return;
    }
    if (verb == "pointer") {
        QCursor::setPos(window->mapToGlobal(
            QPoint(key.section(',', 0, 0).toInt(), key.section(',', 1).toInt())));
        return;
    }
    auto *button = window->findChild<TImageButton *>(key);
    if (!button)
        return;
    if (verb == "hover") {
        SendEnter(button);
        if (auto *dyn = qobject_cast<TDynamicImageButton *>(button))
            dyn->animationTimer()->stop(); // the still hover look, not a frame
        SendEnter(button);
    } else if (verb == "press") {
        QTest::mousePress(button, Qt::LeftButton, {}, QPoint(3, 3));
    } else if (verb == "disable") {
        button->SetButtonEnabled(false);
    } else if (verb == "check") {
        if (auto *check = qobject_cast<TCheckImageButton *>(button))
            check->SetChecked(true);
    }
}
} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: skinshot PROGRAM_FOLDER OUT.png [SECTION] [verb:KEY]...\n");
        return 2;
    }
    InitGlobals(QString::fromLocal8Bit(argv[1]));
    ZeloApplication app(argc, argv);
    for (const char *f : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf",
                          "/usr/share/wine/fonts/ms_sans_serif.ttf"})
        QFontDatabase::addApplicationFont(QString::fromLatin1(f));
    ScopedRecordingShell shell;
    const QString section = argc > 3 ? QString::fromLocal8Bit(argv[3]) : "MainWindow";
    std::unique_ptr<QWidget> window;
    std::unique_ptr<TMainWindow> host;
    if (section == "ProgressWindow") { // the real window, over a main window
        host = std::make_unique<TMainWindow>();
        auto progress = std::make_unique<TProgressWindow>();
        if (!host->InitMainWindow()) {
            std::fprintf(stderr, "skinshot: the windows could not be skinned\n");
            return 1;
        }
        progress->ResetDisplay();
        window = std::move(progress);
    } else if (section == "ProfileWindow") { // the real editor on a new 3GP profile
        host = std::make_unique<TMainWindow>();
        auto profile = std::make_unique<TProfileWindow>();
        if (!host->InitMainWindow()) {
            std::fprintf(stderr, "skinshot: the windows could not be skinned\n");
            return 1;
        }
        profile->LoadNewProfileDefaults(0);
        window = std::move(profile);
    } else if (section == "MainWindow") {
        auto main = std::make_unique<TMainWindow>();
        if (!main->InitMainWindow()) {
            std::fprintf(stderr, "skinshot: the main window could not be skinned\n");
            return 1;
        }
        window = std::move(main);
    } else {
        window = bareWindow(section);
        if (!LoadSkin(window.get(), path_Skin)) {
            std::fprintf(stderr, "skinshot: the skin failed\n");
            return 1;
        }
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get(), 10000))
        return 1;
    for (int i = 4; i < argc; ++i)
        act(window.get(), QString::fromLocal8Bit(argv[i]));
    QTest::qWait(300);
    const QImage screen = window->screen()->grabWindow(0).toImage();
    if (!screen.save(QString::fromLocal8Bit(argv[2])))
        return 1;
    const QRect g = window->geometry();
    std::printf("%d %d %d %d\n", g.x(), g.y(), g.width(), g.height());
    std::fflush(stdout);
    if (auto *main = dynamic_cast<TMainWindow *>(window.get()))
        main->FormDestroy();
    if (host)
        host->FormDestroy();
    return 0;
}
