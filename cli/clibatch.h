// zelo-convert's batch: the accepted clips run through the same BatchRun as
// the window's, and what it reports becomes lines on the terminal.
#pragma once

#include "encoder/batchrun.h"

#include <QElapsedTimer>
#include <QList>
#include <QTextStream>
#include <atomic>

class CliBatch : public BatchSource
{
public:
    // line: the profile line; format, extension: the device kind's.
    CliBatch(QString line, QString format, QString extension, bool keepRatio, QTextStream &out,
             QTextStream &err, const std::atomic<bool> &interrupt);

    void add(const ClipToConvert &clip) { m_clips << clip; }

    // Converts every clip into folder; returns when the batch has ended.
    // Setting interrupt stops it. Counts what was converted and what not.
    void run(const QString &folder);
    int converted() const { return m_converted; }
    // Of those, the clips the engine warned about (their sound became silence).
    int convertedWithWarnings() const { return m_warned; }
    int failed() const { return m_failed; }
    bool stoppedByUser() const { return m_stopped; }

    int clipCount() const { return int(m_clips.size()); }
    std::optional<QList<ConvertJob>> takeJobs(const QString &folder) override;

private:
    void showProgress(int percent, int second);

    QString m_line, m_format, m_extension;
    bool m_keepRatio;
    QTextStream &m_out;
    QTextStream &m_err;
    const std::atomic<bool> &m_interrupt;
    bool m_tty = false;
    QList<ClipToConvert> m_clips;

    // The clip on screen.
    QString m_name;
    int m_clipStart = 0;
    int m_clipStop = 0;
    int m_percent = 0;
    int m_lastPlain = -10;
    QElapsedTimer m_clock;

    int m_converted = 0;
    int m_warned = 0;
    bool m_clipWarned = false;
    int m_failed = 0;
    bool m_stopped = false;
};
