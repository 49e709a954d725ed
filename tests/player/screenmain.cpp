// Entry point of the player's display tests, built once per display:
// ZELO_SCREEN_XCB starts an Xvfb of its own (-displayfd), ZELO_SCREEN_WAYLAND
// a headless sway of its own (as "nobody" when run as root: sway refuses
// root), and otherwise they run on Qt's offscreen platform, which needs no
// server. Without the server every test skips itself.
#include "tests/player/screen.h"
#include "tests/support/testrun.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>
#include <csignal>
#include <cstdlib>
#include <grp.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
pid_t g_server = -1;

// Runs the server in a child that goes with the tests, even when they crash.
template <class Exec> bool spawn(Exec exec)
{
    g_server = fork();
    if (g_server == 0) {
        exec();
        _exit(127);
    }
    return g_server > 0;
}

#ifdef ZELO_SCREEN_XCB
const char *const kPlatform = "xcb";

bool startServer()
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    spawn([&] {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", "-br", static_cast<char *>(nullptr));
    });
    close(fds[1]);
    std::string number;
    char c;
    while (g_server > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty())
        return false;
    qputenv("DISPLAY", QByteArray(":") + QByteArray(number.c_str()));
    return true;
}
#elif defined(ZELO_SCREEN_WAYLAND)
const char *const kPlatform = "wayland";
char g_runtime[] = "/tmp/zelo-sway-XXXXXX";

bool startServer()
{
    if (QStandardPaths::findExecutable("sway").isEmpty() || !mkdtemp(g_runtime))
        return false;
    const QDir dir(g_runtime);
    // Floating at the top left, without borders: the panel is where the
    // window's own coordinates say, for grim.
    QFile config(dir.filePath("config"));
    if (!config.open(QIODevice::WriteOnly) ||
        config.write("output HEADLESS-1 resolution 1024x768\ndefault_border none\n"
                     "default_floating_border none\nfocus_on_window_activation focus\n"
                     "for_window [title=\".*\"] floating enable, move position 0 0\n") < 0)
        return false;
    config.close();
    const bool root = geteuid() == 0;
    if (root && chown(g_runtime, 65534, 65534) != 0)
        return false;
    spawn([&] {
        if (root && (setgroups(0, nullptr) != 0 || setresgid(65534, 65534, 65534) != 0 ||
                     setresuid(65534, 65534, 65534) != 0))
            _exit(126);
        // Set after the change of user, which clears it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        setenv("XDG_RUNTIME_DIR", g_runtime, 1);
        setenv("HOME", g_runtime, 1);
        setenv("WLR_BACKENDS", "headless", 1);
        setenv("WLR_LIBINPUT_NO_DEVICES", "1", 1);
        setenv("WLR_RENDERER", "pixman", 1);
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("DISPLAY");
        freopen(dir.filePath("sway.log").toLocal8Bit().constData(), "w", stderr);
        execlp("sway", "sway", "-c", dir.filePath("config").toLocal8Bit().constData(),
               static_cast<char *>(nullptr));
    });
    for (int i = 0; i < 200 && g_server > 0; ++i, usleep(50000))
        if (QFile::exists(dir.filePath("wayland-1"))) {
            qputenv("WAYLAND_DISPLAY", QFile::encodeName(dir.filePath("wayland-1")));
            return true;
        }
    return false;
}
#else
const char *const kPlatform = "offscreen";

bool startServer()
{
    return true;
}
#endif

void stopServer()
{
    if (g_server > 0) {
        kill(g_server, SIGTERM);
        waitpid(g_server, nullptr, 0);
    }
#ifdef ZELO_SCREEN_WAYLAND
    QDir(g_runtime).removeRecursively();
#endif
}
} // namespace

QString ScreenMissing;

QImage ScreenShot(QWidget *widget)
{
    const QRect at(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    QImage shot;
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == "offscreen") {
        shot = widget->grab().toImage();
    } else if (qEnvironmentVariable("QT_QPA_PLATFORM") == "wayland") {
        QProcess grim;
        grim.start("grim",
                   {"-g",
                    QString("%1,%2 %3x%4").arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height()),
                    "-t", "ppm", "-"});
        grim.waitForFinished(10000);
        shot.loadFromData(grim.readAllStandardOutput(), "PPM");
    } else {
        shot = widget->screen()->grabWindow(0, at.x(), at.y(), at.width(), at.height()).toImage();
    }
    return shot.convertToFormat(QImage::Format_RGB32);
}

void TypeKey(QWidget *focus, const char *name)
{
    focus->setFocus();
    // A headless compositor's seat has a keyboard only while wtype runs; the
    // window takes it up (events served meanwhile) before the key comes.
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == "wayland") {
        QProcess wtype;
        wtype.start("wtype", {"-s", "500", "-k", name});
        if (!QTest::qWaitFor([&] { return wtype.state() == QProcess::NotRunning; }, 10000))
            wtype.kill();
    } else
        QTest::keyClick(focus, QKeySequence::fromString(name)[0].key());
}

int main(int argc, char **argv)
{
    // Listing the tests needs no server.
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing |= std::string(argv[i]).starts_with("--gtest_list_tests");
    if (listing || !startServer()) {
        ScreenMissing = QString("no %1 display server could be started (the Makefile's packages "
                                "have it)")
                            .arg(kPlatform);
        qputenv("QT_QPA_PLATFORM", "offscreen");
    } else {
        qputenv("QT_QPA_PLATFORM", kPlatform);
    }
    const int status = RunTestsInPrivateHome(argc, argv);
    stopServer();
    return status;
}
