#include "app/application.h"

#include "platform/shell.h"

#include <QTimer>
#include <exception>

ZeloApplication::ZeloApplication(int &argc, char **argv) : QApplication(argc, argv) {}

ZeloApplication *ZeloApplication::instance()
{
    return dynamic_cast<ZeloApplication *>(QCoreApplication::instance());
}

BatchRun *ZeloApplication::batch()
{
    return m_batch ? m_batch.get() : renewBatch(nullptr);
}

BatchRun *ZeloApplication::renewBatch(BatchSource *source)
{
    m_batch = std::make_unique<BatchRun>(source);
    return m_batch.get();
}

bool ZeloApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        handleException(QString::fromUtf8(e.what()));
    } catch (...) {
        handleException(QStringLiteral("Unknown error"));
    }
    return false;
}

ZeloApplication::ExceptionHandler ZeloApplication::setExceptionHandler(ExceptionHandler handler)
{
    ExceptionHandler previous = std::move(m_handler);
    m_handler = std::move(handler);
    return previous;
}

void ZeloApplication::handleException(const QString &message)
{
    if (m_handler)
        m_handler(message);
    else
        TheShell().error(message);
}

void ZeloApplication::requestTermination()
{
    m_terminate = true;
    quit();
}

int ZeloApplication::run()
{
    if (m_terminate)
        return 0;
    return exec();
}

void RequestTermination()
{
    if (ZeloApplication *app = ZeloApplication::instance())
        app->requestTermination();
    else if (QCoreApplication::instance())
        QCoreApplication::quit();
}
