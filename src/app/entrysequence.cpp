#include "app/entrysequence.h"

#include "app/application.h"
#include "app/commandfiles.h"
#include "app/desktopshell.h"
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
#include <vector>

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
// Help and version go to the standard output; one that cannot be written
// is a failure.
int printAnswer(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    const bool written =
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size()) &&
        std::fflush(stdout) == 0;
    if (written)
        return 0;
    std::fputs("zelo-converter: cannot write to the standard output\n", stderr);
    return 1;
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
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << PathFromNative(argv[i]); // the bytes, even when they are no UTF-8
    // Answered before anything needs a display, another copy or a folder.
    if (const ProgramOption option = ProgramOptionOf(arguments); option != ProgramOption::None)
        return printAnswer(option == ProgramOption::Help ? ProgramHelpText()
                                                         : ProgramVersionText());
    InitGlobals(ProgramFolder());
    const QStringList files = CommandLineFiles(arguments, QDir::currentPath());

    // A second copy ends at once, silently, handing its files (if any) to
    // the first; the first is not otherwise disturbed.
    SingleInstance instance(TMainWindow::Caption);
    if (!instance.acquire()) {
        QCoreApplication handing(argc, argv);
        instance.handOver(files);
        return -1;
    }

    // Qt aborts when no platform plugin reaches its display; a display that
    // cannot be reached at all is said plainly instead, and one that can is
    // the one Qt is started on.
    DisplayHold display;
    const QString given = PlatformArgument(arguments);
    QString why;
    const QString platform = ReachablePlatform(
        CandidatePlatforms(given.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : given,
                           qgetenv("XDG_SESSION_TYPE"),
                           qgetenv("XDG_CURRENT_DESKTOP") + ':' + qgetenv("XDG_SESSION_DESKTOP"),
                           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")),
        display, kDisplayWaitMs, why);
    if (platform.isEmpty()) {
        std::fprintf(stderr, "zelo-converter: cannot connect to a display: %s\n",
                     why.toLocal8Bit().constData());
        return 1;
    }
    std::vector<QByteArray> qtArguments(argv, argv + argc);
    if (given.isEmpty())
        qtArguments.insert(qtArguments.begin() + 1, {"-platform", platform.toLocal8Bit()});
    std::vector<char *> qtArgv;
    for (QByteArray &a : qtArguments)
        qtArgv.push_back(a.data());
    qtArgv.push_back(nullptr);
    int qtArgc = int(qtArguments.size());
    ZeloApplication app(qtArgc, qtArgv.data());
    display.release(); // Qt holds its own connection now
    DesktopShell desktop;
    InstallShell(&desktop);
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
    InstallShell(nullptr);
    return 0;
}
