#pragma once

#include "engine/encoder.h"

#include <QEvent>
#include <QMutex>
#include <QObject>

// A private window message, as the engine and the player send them.
class WindowMessageEvent : public QEvent
{
public:
    static QEvent::Type eventType();

    WindowMessageEvent(unsigned msg, uintptr_t wParam, intptr_t lParam)
        : QEvent(eventType()), msg(msg), wParam(wParam), lParam(lParam)
    {}

    const unsigned msg;
    const uintptr_t wParam;
    const intptr_t lParam;
};

// The "window handle" handed to the libraries. post() may be called from any
// thread; it queues a WindowMessageEvent for the receiver, which handles it
// on its own thread. Messages posted after detach() (or after the receiver is
// gone) are dropped.
class QtMessageTarget : public MessageTarget
{
public:
    explicit QtMessageTarget(QObject *receiver);
    ~QtMessageTarget();

    void detach();

private:
    static void postThunk(MessageTarget *self, unsigned msg, uintptr_t wParam, intptr_t lParam);

    QMutex m_lock;
    QObject *m_receiver; // guarded by m_lock; cleared before the receiver dies
};
