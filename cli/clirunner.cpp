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

struct CliRunner::Probed
{
    QString path;
    int duration = 0;
    QString videoFormat;
    QString audioFormat;
    int width = 0;
    int height = 0;
};

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

bool CliRunner::probeFile(const QString &file, Probed &probed, QString &why)
{
    ClipInfo info{};
    const QByteArray path = file.toUtf8();
    if (DllGetFileInfo(path.constData(), &info) != 0) {
        why = RefusedFilesText;
        return false;
    }
    probed.path = QString::fromUtf8(info.ClipPath ? info.ClipPath : path.constData());
    probed.duration = info.Duration;
    probed.videoFormat = QString::fromUtf8(info.VideoFormat ? info.VideoFormat : "");
    probed.audioFormat = QString::fromUtf8(info.AudioFormat ? info.AudioFormat : "");
    probed.width = info.VideoWidth;
    probed.height = info.VideoHeight;
    if (RefusedVideoFormat(probed.videoFormat)) {
        why = RefusedFilesText;
        return false;
    }
    // The window only lists clips it can take a picture of; so does this.
    QDir().mkpath(path_Snapshot);
    const QString scratch = SnapshotFile(0);
    const QByteArray target = scratch.toUtf8();
    DllGetFilePic(path.constData(), 5, "80x60", target.constData());
    const bool pictured = UsableThumbnail(scratch);
    QFile::remove(scratch);
    if (!pictured) {
        why = QStringLiteral("no picture can be taken from this clip");
        return false;
    }
    return true;
}

int CliRunner::probe()
{
    int refused = 0;
    for (const QString &file : m_options.files) {
        Probed p;
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
    // As the window's start does: make the folder one level deep, else fall
    // back to the default folder.
    folder = WithTrailingSeparator(m_options.outputDir.value_or(path_Work));
    if (QFileInfo(folder).isDir() || QDir().mkdir(folder))
        return true;
    if (m_options.outputDir) {
        m_err << "zelo-convert: Can not create output folder! (" << folder << ")\n";
        return false;
    }
    folder = DefaultOutputFolder();
    if (QFileInfo(folder).isDir() || QDir().mkdir(folder))
        return true;
    m_err << "zelo-convert: Can not create output folder!\n";
    return false;
}

int CliRunner::convert()
{
    QString line;
    if (!chooseProfile(line))
        return 1;
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
    Probed p;
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
    int lastPlain = -10;
    auto onStatus = [&](const QString &status) {
        std::lock_guard guard(printing);
        if (!status.contains(QLatin1String("time="))) {
            failure = status;
            return;
        }
        StatusProgress sp = ReadStatusLine(status, clipStart, clipDuration);
        if (!sp.apply)
            return;
        if (m_tty) {
            double elapsed = clock.elapsed() / 1000.0;
            double speed = elapsed > 0 ? StatusLineSeconds(status) / elapsed : 0;
            m_out << '\r'
                  << ProgressBarLine(name, sp.clipPercent, sp.currentSecond, speed,
                                     terminalWidth());
            m_out.flush();
        } else if (sp.clipPercent >= lastPlain + 10) {
            lastPlain = sp.clipPercent - sp.clipPercent % 10;
            m_out << ProgressPlainLine(name, sp.clipPercent, sp.currentSecond) << '\n';
            m_out.flush();
        }
    };
    const int result = RunConversionBlocking(vector, onStatus, m_interrupt);
    if (m_tty)
        m_out << '\n';
    switch (result) {
    case CONVERT_DONE_COMPLETE:
        m_out << name << " -> " << MyConvertDef.s_Output << '\n';
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
