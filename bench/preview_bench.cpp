// The preview under the clock, on a real X display: from the Play click to
// the first picture in the panel, from a held slider's move to the new
// (key-frame) picture, from the release to the exact picture (at mid-way
// between key frames, and at the worst place: just before a key frame, given
// as CLIP@PERCENT), and the process's CPU share while a clip plays. Prints
// figures; asserts nothing. bench/preview-bench.sh runs it beside mpv.
//   preview_bench PROGRAM_FOLDER PLAY_SECONDS CLIP[@PERCENT]...
#include "app/application.h"
#include "app/mainwindow.h"
#include "bench/quietshell.h"
#include "clips/clipadder.h"
#include "controls/image.h"
#include "controls/listpanel.h"
#include "controls/previewpanel.h"
#include "platform/pubfunction.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

namespace {
QImage panelShot(TMainWindow &window)
{
    const QPoint at = window.Panel_Preview->mapToGlobal(QPoint(0, 0));
    return window.screen()
        ->grabWindow(0, at.x(), at.y(), window.Panel_Preview->width(),
                     window.Panel_Preview->height())
        .toImage();
}

// A picture: most of the panel is no longer black.
bool showsPicture(const QImage &img)
{
    int lit = 0, seen = 0;
    for (int y = 0; y < img.height(); y += 4)
        for (int x = 0; x < img.width(); x += 4, ++seen)
            lit += qGray(img.pixel(x, y)) > 24;
    return seen && lit * 10 > seen * 3;
}

// Milliseconds until done() holds, or -1 after limit ms.
double waitMs(const std::function<bool()> &done, int limit = 10000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > limit)
            return -1;
        // Polls without spinning: the player needs the CPU more than we do.
        QCoreApplication::processEvents();
        QThread::usleep(2000);
    }
    return t.nsecsElapsed() / 1e6;
}

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double cpuSeconds()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return use.ru_utime.tv_sec + use.ru_stime.tv_sec +
           (use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}
} // namespace

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr,
                     "usage: preview_bench PROGRAM_FOLDER PLAY_SECONDS CLIP[@PERCENT]...\n");
        return 2;
    }
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    ZeloApplication app(argc, argv);
    QuietShell shell;
    InstallShell(&shell);
    InitGlobals(QString::fromLocal8Bit(argv[1]));
    const int playSeconds = std::atoi(argv[2]);

    TMainWindow window;
    if (!window.InitMainWindow()) {
        std::fprintf(stderr, "the program folder has no usable skin or engine\n");
        return 1;
    }
    app.settings().setOutputFolder(home.filePath("out/"));
    window.show();
    pause(500);

    for (int i = 3; i < argc; ++i) {
        const QStringList arg = QString::fromLocal8Bit(argv[i]).split(QLatin1Char('@'));
        const QString clip = arg[0];
        const double worst = arg.size() > 1 ? arg[1].toDouble() : -1;
        const QByteArray name = QFileInfo(clip).fileName().toUtf8();
        window.TP_ImageList->ClearItems();
        window.adder()->addFiles({clip});
        waitMs([&] { return !window.adder()->adding(); });

        std::vector<double> opens, scrubs, seeks, worstSeeks;
        for (int run = 0; run < 5; ++run) {
            window.StopPreview();
            pause(300);
            QElapsedTimer t;
            t.start();
            window.StartPreview();
            // The still picture shown while idle does not count.
            if (waitMs([&] {
                    return !window.Img_VideoPic->isVisible() && showsPicture(panelShot(window));
                }) < 0)
                break;
            opens.push_back(t.nsecsElapsed() / 1e6);
            pause(400);
            window.SliderPositionChange(0, true); // pauses, as a drag does
            // The hand moves the held thumb there (held), then lets go.
            const auto move = [&](double percent, bool held, std::vector<double> &times) {
                pause(400);
                const QImage still = panelShot(window);
                QElapsedTimer clock;
                clock.start();
                window.SliderPositionChange(percent, held);
                if (waitMs([&] { return panelShot(window) != still; }) >= 0)
                    times.push_back(clock.nsecsElapsed() / 1e6);
            };
            const double at = run % 2 ? 30 : 70;
            move(at, true, scrubs);
            move(at, false, seeks);
            if (worst >= 0)
                move(worst, false, worstSeeks);
        }
        std::printf("%s first-picture-ms %.1f scrub-picture-ms %.1f seek-picture-ms %.1f "
                    "worst-seek-picture-ms %.1f\n",
                    name.constData(), median(opens), median(scrubs), median(seeks),
                    median(worstSeeks));

        if (playSeconds > 0) {
            // Opening included, as for mpv on the command line.
            window.StopPreview();
            pause(300);
            const double cpu0 = cpuSeconds();
            QElapsedTimer t;
            t.start();
            window.StartPreview();
            pause(playSeconds * 1000);
            std::printf("%s play-cpu-share %.3f\n", name.constData(),
                        (cpuSeconds() - cpu0) / (t.elapsed() / 1000.0));
        }
        std::fflush(stdout);
    }
    window.StopPreview();
    window.FormDestroy();
    return 0;
}
