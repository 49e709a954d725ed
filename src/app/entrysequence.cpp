#include "app/entrysequence.h"

#include "app/application.h"
#include "app/mainwindow.h"
#include "app/pubfunction.h"
#include "platform/quitsignals.h"
#include "platform/singleinstance.h"
#include "profiles/profilewindow.h"

#include <QFile>
#include <QFontDatabase>
#include <QMessageBox>
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

    // A second copy ends at once, silently; the first is not disturbed.
    SingleInstance instance(TMainWindow::Caption);
    if (!instance.acquire())
        return -1;

    ZeloApplication app(argc, argv);
    try {
        ZeloApplication::setApplicationName(QStringLiteral("Zelo Video Converter"));
        ZeloApplication::setApplicationDisplayName(QStringLiteral("Zelo Video Converter"));
        RegisterSkinFonts();
        HandleQuitSignals([] { RequestTermination(); });

        // The splash fades in here once it exists.
        auto main = std::make_unique<TMainWindow>();
        auto profile = std::make_unique<TProfileWindow>();
        auto progress = std::make_unique<TProgressWindow>(main.get());
        main->setWindowTitle(TMainWindow::Caption);
        if (!main->InitMainWindow())
            app.requestTermination();
        // The splash fades out here.
        if (!app.terminationRequested())
            main->show();
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
