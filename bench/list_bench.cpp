// How the clip list holds up: adding many files through the real engine
// while the UI thread keeps answering, and laying out and scrolling a long
// list. Prints figures; asserts nothing.
//   list_bench PROGRAM_FOLDER SAMPLE_CLIP [FILES]
#include "app/application.h"
#include "app/mainwindow.h"
#include "bench/quietshell.h"
#include "clips/clipadder.h"
#include "clips/cliplist.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "platform/pubfunction.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: list_bench PROGRAM_FOLDER SAMPLE_CLIP [FILES]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    ZeloApplication app(argc, argv);
    QuietShell shell;
    InstallShell(&shell);
    InitGlobals(QString::fromLocal8Bit(argv[1]));
    const int files = argc > 3 ? std::atoi(argv[3]) : 200;

    TMainWindow window;
    if (!window.InitMainWindow()) {
        std::fprintf(stderr, "the program folder has no usable skin or engine\n");
        return 1;
    }
    app.settings().setOutputFolder(home.filePath("out/"));
    TListPanel *list = window.TP_ImageList;

    QStringList clips;
    for (int i = 0; i < files; ++i) {
        QString copy = home.filePath(QStringLiteral("clip%1.avi").arg(i));
        QFile::copy(QString::fromLocal8Bit(argv[2]), copy);
        clips << copy;
    }

    // The longest time the UI thread went without running its loop.
    QElapsedTimer clock, sinceLast;
    qint64 longestGap = 0;
    QTimer heartbeat;
    heartbeat.setInterval(0);
    QObject::connect(&heartbeat, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceLast.restart()); });
    clock.start();
    sinceLast.start();
    heartbeat.start();
    window.adder()->addFiles(clips);
    while (window.adder()->adding())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    heartbeat.stop();
    std::printf("add %d files: %.2f s, %d listed, longest UI stall %lld ms (goal <= 100)\n", files,
                clock.elapsed() / 1000.0, list->count(), longestGap);

    // A long list: copy the first entry until there are 1000.
    const Image_Item *model = list->GetItem(0);
    if (!model)
        return 1;
    const Clip first = model->clip();
    while (list->count() < 1000)
        window.clips()->add(first);
    window.show();
    QCoreApplication::processEvents();
    // The heaviest layout: the first entry goes and every other one moves up.
    for (int i = 0; i < list->count(); ++i)
        list->GetItem(i)->Deselect();
    list->GetItem(0)->Select();
    QElapsedTimer t;
    t.start();
    list->RemoveSelected();
    window.repaint();
    const double layoutMs = t.nsecsElapsed() / 1e6;
    // One scroll step, painted.
    t.restart();
    list->ScrollToThumb(list->thumbMinimum() + (list->thumbMaximum() - list->thumbMinimum()) / 2);
    window.repaint();
    const double scrollMs = t.nsecsElapsed() / 1e6;
    std::printf("%d entries: full layout %.2f ms, one scroll step %.2f ms (painted)\n",
                list->count(), layoutMs, scrollMs);
    window.FormDestroy();
    return 0;
}
