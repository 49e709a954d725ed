// Draws the default skin: every bitmap of the four windows, the splash and
// device pictures, and Skin.ini, into the folder given on the command line.
// With --icons it draws the application icon in the desktop's sizes instead.
#include "tools/skingen/canvas.h"
#include "tools/skingen/pictures.h"
#include "tools/skingen/skinfile.h"
#include "tools/skingen/windows.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    const bool icons = argc == 3 && qstrcmp(argv[1], "--icons") == 0;
    if (argc != 2 && !icons) {
        std::fprintf(stderr, "usage: skingen <skin folder>\n       skingen --icons <folder>\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Drawn in the program's own face, from the same files the program uses.
    for (const char *file :
         {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
        if (QFile::exists(QString::fromLatin1(file)))
            QFontDatabase::addApplicationFont(QString::fromLatin1(file));

    if (icons)
        return WriteAppIcons(QString::fromLocal8Bit(argv[2]), QStringLiteral("zelo-converter")) ? 0
                                                                                                : 1;
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "skingen: cannot make %s\n", argv[1]);
        return 1;
    }
    // The 2x pictures: the same drawing on canvases of twice the density.
    // Their records would be the 1x ones, so only the 1x pass writes Skin.ini.
    SkinFile ini;
    for (int scale : {2, 1}) {
        SetCanvasScale(scale);
        ini = SkinFile();
        WriteMainWindow(ini, folder);
        WriteProgressWindow(ini, folder);
        WriteProfileWindow(ini, folder);
        WriteAboutWindow(ini, folder);
        WriteColours(ini);
        WriteSplash(folder);
        WriteDevicePictures(folder);
    }
    if (!ini.write(folder + QStringLiteral("Skin.ini"))) {
        std::fprintf(stderr, "skingen: cannot write Skin.ini\n");
        return 1;
    }
    return 0;
}
