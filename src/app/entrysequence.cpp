#include "app/entrysequence.h"

#include "app/application.h"
#include "app/commandfiles.h"
#include "app/displayhold.h"
#include "app/mainwindow.h"
#include "app/profilewindow.h"
#include "app/splash.h"
#include "clips/clipadder.h"
#include "controls/accessiblefactory.h"
#include "platform/nativepath.h"
#include "platform/pubfunction.h"
#include "platform/quitsignals.h"
#include "platform/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <memory>

namespace {
// How long a display that refuses connections (an X server resetting, a
// session still coming up) is given before the start is abandoned.
constexpr int kDisplayWaitMs = 5000;

// The skin's texts are drawn in Tahoma and MS Sans Serif; Debian's
// fonts-wine ships metric-compatible faces under those names.
void RegisterSkinFonts()
{
    for (const char *file :
         {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf",
          "/usr/share/wine/fonts/ms_sans_serif.ttf"}) {
        QString path = QString::fromLatin1(file);
        if (QFile::exists(path))
            QFontDatabase::addApplicationFont(path);
    }
}
} // namespace

QIcon ProgramIcon(const QString &dataFolder)
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral("%1icons/%2x%2/apps/zelo-converter.png")
                                 .arg(WithTrailingSeparator(dataFolder))
                                 .arg(size);
        if (QFile::exists(file))
            icon.addFile(file, QSize(size, size));
    }
    if (icon.isNull())
        icon = QIcon::fromTheme(QStringLiteral("zelo-converter"));
    return icon;
}

int RunEntrySequence(int argc, char **argv)
{
    InitGlobals(ProgramFolder());
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << PathFromNative(argv[i]); // the bytes, even when they are no UTF-8
    const QStringList files = CommandLineFiles(arguments, QDir::currentPath());

    // A second copy ends at once, silently, handing its files (if any) to
    // the first; the first is not otherwise disturbed.
    SingleInstance instance(TMainWindow::Caption);
    if (!instance.acquire()) {
        QCoreApplication handing(argc, argv);
        instance.handOver(files);
        return -1;
    }

    // Qt aborts when its first connection to the display fails; a display
    // that cannot be reached at all is said plainly instead.
    DisplayHold display;
    if (!display.acquire(kDisplayWaitMs)) {
        std::fprintf(stderr, "zelo-converter: cannot connect to the display \"%s\"\n",
                     qgetenv("DISPLAY").constData());
        return 1;
    }
    ZeloApplication app(argc, argv);
    display.release(); // Qt holds its own connection now
    InstallAccessibleFactory();
    try {
        // The first title stays internal: a display name would be added to
        // every window's title, the splash's included, until the main
        // window sets the one the user sees.
        ZeloApplication::setApplicationName(QStringLiteral("Zelo Video Converter"));
        ZeloApplication::setWindowIcon(ProgramIcon(path_Data));
        RegisterSkinFonts();
        HandleQuitSignals([] { RequestTermination(); });

        auto splash = std::make_unique<TStartUp>(StartupImagePath());
        splash->ShowSplash();
        auto main = std::make_unique<TMainWindow>();
        auto profile = std::make_unique<TProfileWindow>();
        auto progress = std::make_unique<TProgressWindow>();
        if (!main->InitMainWindow())
            app.requestTermination();
        splash->HideSplash();
        splash.reset();
        if (!app.terminationRequested()) {
            main->show();
            // The keys work from the start, also where no window manager
            // hands the new window the focus.
            main->activateWindow();
            // Files from the command line, and later from copies started with
            // files, go in as if dropped on the list.
            ClipAdder *adder = main->adder();
            instance.listen([adder](const QStringList &more) { AddFilesWhenFree(adder, more); });
            QTimer::singleShot(0, adder, [adder, files] { AddFilesWhenFree(adder, files); });
        }
        app.run();
        main->FormDestroy();
        progress.reset();
        profile.reset();
        main.reset();
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, ZeloApplication::applicationDisplayName(),
                              QString::fromUtf8(e.what()));
    }
    return 0;
}
