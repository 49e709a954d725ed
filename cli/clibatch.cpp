#include "cli/clibatch.h"

#include "cli/progressline.h"
#include "encoder/commandline.h"
#include "encoder/profileapply.h"
#include "platform/nativepath.h"

#include <QEventLoop>
#include <QTimer>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
int terminalWidth()
{
    winsize ws{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 20)
        return ws.ws_col;
    return 80;
}
} // namespace

CliBatch::CliBatch(QString line, QString format, QString extension, bool keepRatio,
                   QTextStream &out, QTextStream &err, const std::atomic<bool> &interrupt)
    : m_line(std::move(line)), m_format(std::move(format)), m_extension(std::move(extension)),
      m_keepRatio(keepRatio), m_out(out), m_err(err), m_interrupt(interrupt),
      m_tty(::isatty(STDOUT_FILENO))
{}

std::optional<QList<ConvertJob>> CliBatch::takeJobs(const QString &folder)
{
    ConvertDef profile;
    int width = 0, height = 0;
    if (ApplyProfileLine(m_line, m_format, profile, width, height) != ApplyResult::Applied)
        return std::nullopt;
    return MakeJobs(m_clips, OutputTarget{folder, m_extension, m_keepRatio, width, height},
                    profile);
}

void CliBatch::showProgress(int percent, int second)
{
    if (m_tty) {
        const double elapsed = m_clock.elapsed() / 1000.0;
        const double speed = elapsed > 0 ? (second - m_clipStart) / elapsed : 0;
        m_out << '\r' << ProgressBarLine(m_name, percent, second, speed, terminalWidth());
        m_out.flush();
    } else if (percent >= m_lastPlain + 10) {
        m_lastPlain = percent - percent % 10;
        m_out << ProgressPlainLine(m_name, percent, second) << '\n';
        m_out.flush();
    }
}

void CliBatch::run(const QString &folder)
{
    BatchRun batch(this);
    QObject::connect(&batch, &BatchRun::clipStarted,
                     [this](int, const QString &input, const QString &, int start, int stop) {
                         m_name = QuotedName(FileNamePart(input));
                         m_clipStart = start;
                         m_clipStop = stop;
                         m_percent = 0;
                         m_lastPlain = -10;
                         m_clipWarned = false;
                         m_clock.start();
                     });
    QObject::connect(&batch, &BatchRun::clipWarned, [this](const QString &, const QString &why) {
        if (m_tty)
            m_out << '\n';
        m_out.flush();
        m_err << m_name << ": warning: " << why << '\n';
        m_err.flush();
        m_clipWarned = true;
    });
    QObject::connect(&batch, &BatchRun::progressed,
                     [this](int clipPercent, int) { m_percent = clipPercent; });
    QObject::connect(&batch, &BatchRun::positionReached,
                     [this](int second) { showProgress(m_percent, second); });
    QObject::connect(&batch, &BatchRun::clipCompleted, [this](const QString &, const QString &out) {
        // The engine's last line may stop short of the end; the clip is whole.
        showProgress(100, m_clipStop);
        if (m_tty)
            m_out << '\n';
        m_out << m_name << " -> " << QuotedName(out) << '\n';
        m_out.flush();
        ++m_converted;
        m_warned += m_clipWarned ? 1 : 0;
    });
    QObject::connect(&batch, &BatchRun::clipFailed, [this](const QString &, const QString &why) {
        if (m_tty)
            m_out << '\n';
        m_out.flush();
        if (why == QLatin1String("stopped"))
            m_err << m_name << ": stopped\n";
        else
            m_err << m_name << ": not converted"
                  << (why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(why)) << '\n';
        m_err.flush();
        ++m_failed;
    });

    QEventLoop loop;
    bool ended = false;
    auto end = [&] {
        ended = true;
        loop.quit();
    };
    QObject::connect(&batch, &BatchRun::stoppedByUser, [&] {
        if (m_tty)
            m_out << '\n';
        m_stopped = true;
        end();
    });
    QObject::connect(&batch, &BatchRun::finished, end);
    // Signals only set a flag; the stop is asked for from here.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (m_interrupt && batch.converting() && !batch.stopRequested())
            batch.stop();
    });
    poll.start(50);
    if (!batch.start(folder)) {
        m_err << "zelo-convert: the batch did not start\n" << Qt::flush;
        m_failed += clipCount();
        return;
    }
    if (!ended)
        loop.exec();
}
