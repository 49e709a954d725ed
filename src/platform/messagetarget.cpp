#include "platform/messagetarget.h"

#include <QCoreApplication>

QEvent::Type WindowMessageEvent::eventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

QtMessageTarget::QtMessageTarget(QObject *receiver) : m_receiver(receiver)
{
    post = &QtMessageTarget::postThunk;
}

QtMessageTarget::~QtMessageTarget()
{
    detach();
}

void QtMessageTarget::detach()
{
    QMutexLocker lock(&m_lock);
    m_receiver = nullptr;
}

void QtMessageTarget::postThunk(MessageTarget *self, unsigned msg, uintptr_t wParam,
                                intptr_t lParam)
{
    auto *target = static_cast<QtMessageTarget *>(self);
    // The lock keeps the receiver from being detached between the check and
    // the post; postEvent itself is thread-safe.
    QMutexLocker lock(&target->m_lock);
    if (target->m_receiver)
        QCoreApplication::postEvent(target->m_receiver,
                                    new WindowMessageEvent(msg, wParam, lParam));
}
