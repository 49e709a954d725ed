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
