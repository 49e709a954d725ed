#include "app/splash.h"

#include "controls/image.h"
#include "controls/picture.h"
#include "platform/pubfunction.h"
#include "platform/windowsystem.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>

namespace {
void sleepAndServe(int ms, bool handleInput)
{
    QThread::msleep(ms);
    // Without input the display still has to be told each step, or a
    // compositing desktop would only ever see the last one.
    QCoreApplication::processEvents(handleInput ? QEventLoop::AllEvents
                                                : QEventLoop::ExcludeUserInputEvents);
}
} // namespace

QString StartupImagePath()
{
    return path_Skin + QStringLiteral("startup.jpg");
}

TStartUp::TStartUp(const QString &picturePath)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_path(picturePath), m_pause(sleepAndServe),
      m_fades(WindowOpacityShows(QGuiApplication::platformName()))
{
    setObjectName(QStringLiteral("StartUp"));
    setWindowTitle(QStringLiteral("Zelo 3GP Converter"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(446, 243);
    Image = new TImage(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->move(0, 0);
    Image->setEnabled(false);
}

void TStartUp::ShowSplash()
{
    b_Shown = false;
    if (!QFile::exists(m_path))
        return;
    // A picture that does not decode gets no window either: an empty
    // splash would only hold up the start.
    if (!Image->LoadPicture(m_path))
        return;
    b_Shown = true;
    const QSize size = Image->Picture().size();
    Image->resize(size);
    // A fixed size also tells a compositor that places windows itself that
    // this one floats: those centre it.
    setFixedSize(size);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(size.width() / 2, size.height() / 2));
    if (m_fades)
        setWindowOpacity(0);
    show();
    repaint();
    // Where opacity does not show, the steps still keep the window up for
    // the fade's time: a compositor needs a round trip or two before the
    // window is on screen at all, and a splash gone by then was never seen.
    for (int alpha = 10; alpha <= 250; alpha += 10) {
        if (m_fades)
            setWindowOpacity(alpha / 255.0);
        m_pause(20, true);
    }
    if (m_fades)
        setWindowOpacity(1.0);
}

void TStartUp::HideSplash()
{
    if (!b_Shown)
        return;
    for (int alpha = 250; alpha >= 0; alpha -= 5) {
        if (m_fades)
            setWindowOpacity(alpha / 255.0);
        m_pause(10, false);
    }
    hide();
}
