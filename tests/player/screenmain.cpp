// Entry point of the player's display tests, built once per display:
// ZELO_SCREEN_XCB starts an Xvfb of its own (-displayfd), ZELO_SCREEN_WAYLAND
// a headless sway of its own (as "nobody" when run as root: sway refuses
// root), and otherwise they run on Qt's offscreen platform, which needs no
// server. Without the server every test skips itself.
#include "tests/player/screen.h"
#include "tests/support/testrun.h"

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <grp.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
pid_t g_server = -1;

// Starts Xvfb and returns its display number, or -1.
[[maybe_unused]] int startServer()
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    g_server = fork();
    if (g_server == 0) {
        // The server goes with the tests, even when they crash.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(pipeFds[0]);
        const std::string fd = std::to_string(pipeFds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", "-br", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    if (g_server < 0) {
        close(pipeFds[0]);
        return -1;
    }
    std::string number;
    char c;
    while (read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(pipeFds[0]);
    return number.empty() ? -1 : std::atoi(number.c_str());
}

// Starts sway in runtime, windows floating at the top left without borders
// (where grim finds them by their own coordinates); false without sway.
[[maybe_unused]] bool startSway(const QDir &runtime)
{
    QFile config(runtime.filePath("config"));
    if (!config.open(QIODevice::WriteOnly) ||
        config.write("default_border none\ndefault_floating_border none\n"
                     "for_window [title=\".*\"] floating enable, move position 0 0\n") < 0 ||
        (geteuid() == 0 && chown(QFile::encodeName(runtime.path()), 65534, 65534) != 0))
        return false;
    config.close();
    g_server = fork();
    if (g_server == 0) {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setresgid(65534, 65534, 65534) != 0 ||
                               setresuid(65534, 65534, 65534) != 0))
            _exit(126);
        prctl(PR_SET_PDEATHSIG, SIGTERM); // after the change of user, which clears it
        for (const char *name : {"XDG_RUNTIME_DIR", "HOME"})
            setenv(name, QFile::encodeName(runtime.path()).constData(), 1);
        setenv("WLR_BACKENDS", "headless", 1);
        setenv("WLR_LIBINPUT_NO_DEVICES", "1", 1);
        setenv("WLR_RENDERER", "pixman", 1);
        unsetenv("WAYLAND_DISPLAY");
        if (!std::freopen("/dev/null", "w", stderr))
            _exit(125);
        execlp("sway", "sway", "-c", QFile::encodeName(config.fileName()).constData(),
               static_cast<char *>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 200 && g_server > 0 && waitpid(g_server, nullptr, WNOHANG) == 0; ++i) {
        if (QFile::exists(runtime.filePath("wayland-1")))
            return qputenv("WAYLAND_DISPLAY", QFile::encodeName(runtime.filePath("wayland-1")));
        usleep(50000);
    }
    return false;
}

void stopServer()
{
    if (g_server > 0) {
        kill(g_server, SIGTERM);
        waitpid(g_server, nullptr, 0);
    }
}

bool onWayland()
{
    return qgetenv("QT_QPA_PLATFORM") == "wayland";
}
} // namespace

QString ScreenMissing;

QImage ScreenShot(QWidget *widget)
{
    const QRect at(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    QImage shot = widget->grab().toImage();
    if (onWayland()) {
        QProcess grim;
        grim.start("grim",
                   {"-g",
                    QString("%1,%2 %3x%4").arg(at.x()).arg(at.y()).arg(at.width()).arg(at.height()),
                    "-t", "ppm", "-"});
        grim.waitForFinished(10000);
        shot.loadFromData(grim.readAllStandardOutput(), "PPM");
    } else if (qgetenv("QT_QPA_PLATFORM") == "xcb") {
        shot = widget->screen()->grabWindow(0, at.x(), at.y(), at.width(), at.height()).toImage();
    }
    return shot.convertToFormat(QImage::Format_RGB32);
}

void TypeKey(QWidget *focus, const char *name)
{
    focus->setFocus();
    if (!onWayland())
        return QTest::keyClick(focus, QKeySequence::fromString(name)[0].key());
    // A headless compositor's seat has a keyboard only while wtype runs; the
    // window takes it up (events served meanwhile) before the key comes.
    QProcess wtype;
    wtype.start("wtype", {"-s", "500", "-k", name});
    if (!QTest::qWaitFor([&] { return wtype.state() == QProcess::NotRunning; }, 10000))
        wtype.kill();
}

int main(int argc, char **argv)
{
    // Listing the tests needs no server.
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing |= std::string(argv[i]).starts_with("--gtest_list_tests");
    QByteArray platform = "offscreen";
#if defined(ZELO_SCREEN_XCB)
    const int display = listing ? -1 : startServer();
    if (display >= 0) {
        platform = "xcb";
        qputenv("DISPLAY", QByteArray(":") + QByteArray::number(display));
    }
    ScreenMissing = "Xvfb is not installed: the on-screen player tests need it";
#elif defined(ZELO_SCREEN_WAYLAND)
    char runtime[] = "/tmp/zelo-sway-XXXXXX";
    if (!listing && mkdtemp(runtime) && startSway(QDir(runtime)))
        platform = "wayland";
    ScreenMissing = "sway did not start (packages sway, grim, wtype, qt6-wayland): the Wayland "
                    "player tests need it";
#endif
    if (platform != "offscreen")
        ScreenMissing.clear();
    qputenv("QT_QPA_PLATFORM", platform);
    const int status = RunTestsInPrivateHome(argc, argv);
    stopServer();
#if defined(ZELO_SCREEN_WAYLAND)
    QDir(runtime).removeRecursively();
#endif
    return status;
}
