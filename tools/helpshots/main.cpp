// Pictures of the program's real windows for the user guide, made at build
// time with the default skin on the offscreen platform, so the guide always
// shows the windows as they are:
//   helpshots PROGRAM_FOLDER OUT_FOLDER [CLIP]
// CLIP, when given, is added to the main window's list first.
#include "app/aboutwindow.h"
#include "app/application.h"
#include "app/helpmenu.h"
#include "app/mainwindow.h"
#include "app/profilewindow.h"
#include "app/progresswindow.h"
#include "app/splash.h"
#include "clips/cliplist.h"
#include "controls/dynamicimagebutton.h"
#include "controls/image.h"
#include "controls/picture.h"
#include "encoder/probe.h"
#include "platform/pubfunction.h"
#include "platform/shell.h"
#include "skin/skin.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QMenu>
#include <QPainter>
#include <QRegion>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <memory>

namespace {
// The window as the desktop shows it: what its outline cuts away is left
// see-through.
QImage shot(QWidget *window)
{
    QImage image = window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QRegion mask = window->mask();
    if (mask.isEmpty())
        return image;
    QImage cut(image.size(), QImage::Format_ARGB32);
    cut.fill(Qt::transparent);
    QPainter p(&cut);
    p.setClipRegion(mask);
    p.drawImage(0, 0, image);
    return cut;
}

bool save(const QImage &image, const QString &path)
{
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "helpshots: cannot write %s\n", qPrintable(path));
    return false;
}

// No box may wait for a click during a build: whatever one would say is kept
// and fails the step.
class NoteTakingShell : public Shell
{
public:
    NoteTakingShell() { InstallShell(this); }
    ~NoteTakingShell() override { InstallShell(nullptr); }
    void info(const QString &text, const QString &) override { texts << text; }
    void error(const QString &text) override { texts << text; }
    bool confirm(const QString &text) override
    {
        texts << text;
        return true;
    }
    QStringList chooseFiles(const QList<FileFilter> &, const QString &) override { return {}; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    void open(const QString &) override {}

    QStringList texts;
};

void settle(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
}
} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: helpshots PROGRAM_FOLDER OUT_FOLDER [CLIP]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The windows load and save settings: keep the builder's own untouched.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + QStringLiteral("/.config")));
    InitGlobals(QString::fromLocal8Bit(argv[1]));
    path_Snapshot = WithTrailingSeparator(home.path());
    ZeloApplication app(argc, argv);
    NoteTakingShell shell;
    for (const char *f : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf",
                          "/usr/share/wine/fonts/ms_sans_serif.ttf"})
        QFontDatabase::addApplicationFont(QString::fromLatin1(f));
    const QString out = WithTrailingSeparator(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(out);

    auto main = std::make_unique<TMainWindow>();
    auto profile = std::make_unique<TProfileWindow>();
    auto progress = std::make_unique<TProgressWindow>();
    if (!main->InitMainWindow()) {
        std::fprintf(stderr, "helpshots: the windows could not be skinned\n");
        return 1;
    }
    // The pictures show a reader's folders, never the build's scratch ones:
    // nothing is written to these paths, they are only shown.
    const QString exampleHome = QStringLiteral("/home/alex/");
    ZeloApplication::instance()->settings().setOutputFolder(exampleHome +
                                                            QStringLiteral("ZeloOutput/"));
    main->show();
    if (argc > 3) {
        ProbeResult probed =
            ProbeClip(QString::fromLocal8Bit(argv[3]), home.filePath(QStringLiteral("snap.pic")));
        if (probed.verdict != ProbeVerdict::Accepted) {
            std::fprintf(stderr, "helpshots: %s: %s\n", argv[3], qPrintable(probed.reason));
            return 1;
        }
        probed.clip.path = exampleHome + QStringLiteral("Videos/holiday.avi");
        main->clips()->add(probed.clip);
        settle(200);
    }
    bool ok = save(shot(main.get()), out + QStringLiteral("main-window.png"));

    main->helpMenu()->Popup(main->mapToGlobal(main->TB_Help->geometry().bottomLeft()));
    settle(50);
    ok = save(shot(main->helpMenu()->menu()), out + QStringLiteral("help-menu.png")) && ok;
    main->helpMenu()->menu()->close();

    progress->ResetDisplay();
    progress->show();
    settle(50);
    ok = save(shot(progress.get()), out + QStringLiteral("progress-window.png")) && ok;
    progress->hide();

    profile->LoadNewProfileDefaults(0);
    profile->LoadProfileForEdit(0);
    profile->show();
    settle(50);
    ok = save(shot(profile.get()), out + QStringLiteral("profile-window.png")) && ok;
    profile->hide();

    TAboutWindow about(main.get());
    LoadSkin(&about, path_Skin);
    about.show();
    settle(50);
    ok = save(shot(&about), out + QStringLiteral("about-window.png")) && ok;
    about.hide();

    ok = save(LoadPictureFile(StartupImagePath()), out + QStringLiteral("splash.png")) && ok;

    main->FormDestroy();
    for (const QString &text : shell.texts) {
        std::fprintf(stderr, "helpshots: %s\n", qPrintable(text));
        ok = false;
    }
    return ok ? 0 : 1;
}
