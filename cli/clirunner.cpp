#include "cli/clirunner.h"

#include "app/pubfunction.h"
#include "cli/blockingconversion.h"
#include "cli/progressline.h"
#include "encoder/clipprepare.h"
#include "encoder/commandline.h"
#include "encoder/convertdef.h"
#include "encoder/encoderlib.h"
#include "encoder/probe.h"
#include "encoder/profileapply.h"
#include "encoder/statusline.h"
#include "profiles/devicekind.h"
#include "profiles/profilefile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <mutex>
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

CliRunner::CliRunner(const CliOptions &options, QTextStream &out, QTextStream &err,
                     const std::atomic<bool> &interrupt)
    : m_options(options), m_out(out), m_err(err), m_interrupt(interrupt),
      m_tty(::isatty(STDOUT_FILENO))
{}

int CliRunner::listProfiles()
{
    const DeviceKindInfo *kind = FindDeviceKind(m_options.kind);
    ProfileFile file = ProfileFile::standard();
    for (const QString &line : file.readProfileLines(kind->section))
        m_out << line << '\n';
    m_out << "DefaultIndex=" << file.readDefaultIndex(kind->section) << '\n';
    return 0;
}

bool CliRunner::probeFile(const QString &file, ProbedClip &probed, QString &why)
{
    ProbeResult r = ProbeClip(file, SnapshotFile(0));
    if (r.verdict != ProbeVerdict::Accepted) {
        why = r.reason;
        return false;
    }
    probed = std::move(r.clip);
    return true;
}

int CliRunner::probe()
{
    int refused = 0;
    for (const QString &file : m_options.files) {
        ProbedClip p;
        QString why;
        if (!probeFile(file, p, why)) {
            m_out << file << ": " << why << '\n';
            ++refused;
            continue;
        }
        m_out << file << '\n'
              << "  Clip Duration : " << TimeText(p.duration) << " (" << p.duration << " s)\n"
              << "  Clip Resolution : " << p.width << 'x' << p.height << '\n'
              << "  Video Format : " << p.videoFormat << '\n'
              << "  Audio Format : " << p.audioFormat << '\n';
    }
    m_out.flush();
    return refused ? 1 : 0;
}

bool CliRunner::chooseProfile(QString &line)
{
    const DeviceKindInfo *kind = FindDeviceKind(m_options.kind);
    ProfileFile file = ProfileFile::standard();
    const QStringList lines = file.readProfileLines(kind->section);
    const int position = m_options.profile.value_or(file.readDefaultIndex(kind->section));
    if (position < 0 || position >= lines.size()) {
        m_err << "zelo-convert: no profile at position " << position << " for " << kind->section
              << " (" << lines.size() << " profiles; see --list-profiles)\n";
        return false;
    }
    line = lines[position];
    return true;
}

bool CliRunner::prepareOutputFolder(QString &folder)
{
    // The window's rule; a folder the user named is never swapped for another.
    folder = WithTrailingSeparator(m_options.outputDir.value_or(path_Work));
    if (MakeOutputFolder(folder, !m_options.outputDir))
        return true;
    m_err << "zelo-convert: Can not create output folder! (" << folder << ")\n";
    return false;
}

int CliRunner::convert()
{
    QString line;
    if (!chooseProfile(line))
        return m_options.profile ? 2 : 1; // a position the user gave is a usage error
    const DeviceKindInfo *kind = FindDeviceKind(m_options.kind);
    int width = 0, height = 0;
    if (ApplyProfileLine(line, kind->format, MyConvertDef, width, height) != ApplyResult::Applied) {
        m_err << "zelo-convert: the profile \"" << line << "\" has no frame size\n";
        return 1;
    }
    QString folder;
    if (!m_options.printCommand && !prepareOutputFolder(folder))
        return 1;
    if (m_options.printCommand)
        folder = WithTrailingSeparator(m_options.outputDir.value_or(path_Work));

    int failed = 0, converted = 0;
    for (const QString &file : m_options.files) {
        if (m_interrupt)
            break;
        int rc = convertOne(file, folder, width, height);
        if (rc == 0)
            ++converted;
        else
            ++failed;
    }
    if (m_options.printCommand)
        return failed ? 1 : 0;
    if (m_interrupt) {
        m_out << "Stop converting process by user!\n";
        return 130;
    }
    m_out << converted << " converted, " << failed << " failed; output folder " << folder << '\n';
    return failed ? 1 : 0;
}

int CliRunner::convertOne(const QString &file, const QString &folder, int width, int height)
{
    ProbedClip p;
    QString why;
    if (!probeFile(file, p, why)) {
        m_err << file << ": " << why << '\n';
        return 1;
    }
    ClipToConvert clip{p.path, m_options.start.value_or(0), m_options.stop.value_or(p.duration),
                       p.width, p.height};
    if (clip.stopTime > p.duration || clip.startTime > clip.stopTime) {
        m_err << file << ": the clip is only " << TimeText(p.duration) << " long\n";
        return 1;
    }
    PrepareClipDef(MyConvertDef, clip,
                   OutputTarget{folder, FindDeviceKind(m_options.kind)->extension,
                                m_options.keepRatio.value_or(b_KeepRatio), width, height});
    const QStringList vector = EncoderArguments(MyConvertDef);
    if (m_options.printCommand) {
        for (const QString &entry : vector)
            m_out << entry << '\n';
        m_out.flush();
        return 0;
    }

    const QString name = FileNamePart(file);
    const int clipStart = MyConvertDef.StartTime;
    const int clipDuration = MyConvertDef.Duration;
    QElapsedTimer clock;
    clock.start();
    std::mutex printing;
    QString failure;
    QString output = MyConvertDef.s_Output;
    int lastPlain = -10;
    int lastSecond = clipStart;
    auto show = [&](int percent, int second, double seconds) {
        if (m_tty) {
            double elapsed = clock.elapsed() / 1000.0;
            double speed = elapsed > 0 ? seconds / elapsed : 0;
            m_out << '\r' << ProgressBarLine(name, percent, second, speed, terminalWidth());
            m_out.flush();
        } else if (percent >= lastPlain + 10) {
            lastPlain = percent - percent % 10;
            m_out << ProgressPlainLine(name, percent, second) << '\n';
            m_out.flush();
        }
    };
    auto onStatus = [&](const QString &status) {
        std::lock_guard guard(printing);
        const StatusLineClass kind = ClassifyStatusLine(status);
        if (kind.kind == StatusLineKind::Failure)
            failure = kind.detail;
        else if (kind.kind == StatusLineKind::OutputName)
            output = kind.detail;
        if (kind.kind != StatusLineKind::Progress)
            return;
        StatusProgress sp = ReadStatusLine(status, clipStart, clipDuration);
        if (!sp.apply)
            return;
        lastSecond = sp.currentSecond;
        show(sp.clipPercent, sp.currentSecond, StatusLineSeconds(status));
    };
    const int result = RunConversionBlocking(vector, onStatus, m_interrupt);
    if (result == CONVERT_DONE_COMPLETE)
        show(100, std::max(lastSecond, MyConvertDef.StopTime), clipDuration);
    if (m_tty)
        m_out << '\n';
    switch (result) {
    case CONVERT_DONE_COMPLETE:
        m_out << name << " -> " << output << '\n';
        return 0;
    case CONVERT_DONE_STOPPED:
        m_err << name << ": stopped\n";
        return 1;
    default:
        m_err << name << ": not converted"
              << (failure.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(failure)) << '\n';
        return 1;
    }
}
