#include "app/entrysequence.h"

#include "app/application.h"
#include "app/commandfiles.h"
#include "app/mainwindow.h"
#include "app/pubfunction.h"
#include "app/splash.h"
#include "encoder/clipadder.h"
#include "platform/nativepath.h"
#include "platform/quitsignals.h"
#include "platform/singleinstance.h"
#include "profiles/profilewindow.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QMessageBox>
#include <QTimer>
#include <exception>
#include <memory>

namespace {
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

    ZeloApplication app(argc, argv);
    try {
        ZeloApplication::setApplicationName(QStringLiteral("Zelo Video Converter"));
        ZeloApplication::setApplicationDisplayName(QStringLiteral("Zelo Video Converter"));
        RegisterSkinFonts();
        HandleQuitSignals([] { RequestTermination(); });

        auto splash = std::make_unique<TStartUp>(StartupImagePath());
        splash->ShowSplash();
        auto main = std::make_unique<TMainWindow>();
        auto profile = std::make_unique<TProfileWindow>();
        auto progress = std::make_unique<TProgressWindow>(main.get());
        if (!main->InitMainWindow())
            app.requestTermination();
        splash->HideSplash();
        splash.reset();
        if (!app.terminationRequested()) {
            main->show();
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
