// Hands an address or path to the desktop exactly as the program does, for
// tests that watch what the desktop receives:  openlink ADDRESS...
#include "app/desktopshell.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    DesktopShell shell;
    for (int i = 1; i < argc; ++i)
        shell.open(QString::fromLocal8Bit(argv[i]));
    return 0;
}
