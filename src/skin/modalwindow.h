// Showing one of the program's borderless windows modally: the progress,
// profile and about windows all wait the same way for their own close.
#pragma once

#include <QEventLoop>
#include <QObject>

// Shows window above the others, takes the input of the whole program and
// returns once the window has emitted its closed() signal.
template <class Window> void ShowModalUntilClosed(Window *window)
{
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();
    QEventLoop loop;
    QObject::connect(window, &Window::closed, &loop, &QEventLoop::quit);
    loop.exec();
}
