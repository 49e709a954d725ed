#include "app/commandfiles.h"

#include "clips/clipadder.h"
#include "platform/nativepath.h"
#include "platform/pubfunction.h"

#include <QDir>
#include <QTimer>
#include <QUrl>

namespace {
// Qt's options that take the next argument as their value.
bool takesValue(const QString &option)
{
    static const QStringList withValue = {
        QStringLiteral("-platform"),
        QStringLiteral("-platformpluginpath"),
        QStringLiteral("-platformtheme"),
        QStringLiteral("-plugin"),
        QStringLiteral("-qwindowgeometry"),
        QStringLiteral("-qwindowicon"),
        QStringLiteral("-qwindowtitle"),
        QStringLiteral("-style"),
        QStringLiteral("-stylesheet"),
        QStringLiteral("-display"),
        QStringLiteral("-geometry"),
        QStringLiteral("-session"),
        QStringLiteral("-name"),
        QStringLiteral("-title"),
        QStringLiteral("-qmljsdebugger"),
    };
    QString name = option;
    if (name.startsWith(QLatin1String("--")))
        name.remove(0, 1);
    return withValue.contains(name) && !option.contains(QLatin1Char('='));
}
} // namespace

QStringList CommandLineFiles(const QStringList &arguments, const QString &workingDir)
{
    QStringList files;
    bool onlyFiles = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg.isEmpty())
            continue;
        if (!onlyFiles && arg == QLatin1String("--")) {
            onlyFiles = true;
            continue;
        }
        if (!onlyFiles && arg.startsWith(QLatin1Char('-'))) {
            if (takesValue(arg))
                ++i;
            continue;
        }
        QString path = arg;
        if (arg.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
            const QUrl url(arg);
            if (!url.isLocalFile())
                continue;
            path = PathFromUrl(url);
        } else if (arg.contains(QLatin1String("://"))) {
            continue; // a remote address: nothing the engine could open
        }
        files << QDir::cleanPath(QDir(workingDir).absoluteFilePath(path));
    }
    return files;
}

ProgramOption ProgramOptionOf(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == QLatin1String("--"))
            break;
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help"))
            return ProgramOption::Help;
        if (arg == QLatin1String("-v") || arg == QLatin1String("--version"))
            return ProgramOption::Version;
        if (takesValue(arg))
            ++i;
    }
    return ProgramOption::None;
}

QString PlatformArgument(const QStringList &arguments)
{
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--"))
            break;
        if (arguments[i] == QLatin1String("-platform") ||
            arguments[i] == QLatin1String("--platform"))
            return arguments[i + 1];
    }
    return {};
}

QString ProgramHelpText()
{
    return QStringLiteral(
        "Usage: zelo-converter [OPTIONS] [FILE]...\n"
        "Opens the Zelo 3GP Converter window with the files in its list; when the\n"
        "window is open already, the files go to it.\n"
        "\n"
        "Options:\n"
        "  -h, --help          this text\n"
        "  -v, --version       the program's version\n"
        "  --                  every argument after it is a file\n"
        "  -platform NAME      Qt's platform plugin (xcb, wayland, offscreen, ...),\n"
        "                      and Qt's other options\n"
        "\n"
        "Exit status: 0, also after SIGTERM, SIGINT or SIGHUP (the window closes in\n"
        "order); 1 when no display can be reached; 255 when the files were handed\n"
        "to the window already open.\n"
        "For converting from a terminal or a script, see zelo-convert(1).\n");
}

QString ProgramVersionText()
{
    return QStringLiteral("zelo-converter " ZELO_VERSION "\n");
}

void AddFilesWhenFree(ClipAdder *adder, const QStringList &files)
{
    if (files.isEmpty())
        return;
    if (adder->adding() || adder->workerRunning()) {
        QTimer::singleShot(100, adder, [adder, files] { AddFilesWhenFree(adder, files); });
        return;
    }
    adder->addFiles(files);
}
