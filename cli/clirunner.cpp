#include "cli/clirunner.h"

#include "cli/clibatch.h"
#include "encoder/clipprepare.h"
#include "encoder/commandline.h"
#include "encoder/convertdef.h"
#include "encoder/probe.h"
#include "encoder/profileapply.h"
#include "platform/nativepath.h"
#include "platform/pubfunction.h"
#include "profiles/devicekind.h"
#include "profiles/profilefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

CliRunner::CliRunner(const CliOptions &options, const Settings &settings, QTextStream &out,
                     QTextStream &err, const std::atomic<bool> &interrupt)
    : m_options(options), m_settings(settings), m_out(out), m_err(err), m_interrupt(interrupt)
{}

int CliRunner::listProfiles()
{
    const DeviceKindInfo *kind = FindDeviceKind(m_options.kind);
    ProfileFile file = ProfileFile::standard();
    // Each line after the position --profile takes: the window's list, empty
    // slots left out.
    const QStringList lines = file.readProfileLines(kind->section);
    for (int position = 0; position < lines.size(); ++position)
        m_out << position << '\t' << lines[position] << '\n';
    m_out << "DefaultIndex=" << file.readDefaultIndex(kind->section) << '\n';
    return 0;
}

bool CliRunner::probeFile(const QString &file, ProbedClip &probed, QString &why)
{
    ProbeResult r = ProbeClip(file, SnapshotFile());
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
            m_out << QuotedName(file) << ": " << why << '\n' << Qt::flush;
            ++refused;
            continue;
        }
        m_out << QuotedName(file) << '\n'
              << "  Clip Duration : " << TimeText(p.duration) << " (" << p.duration << " s)\n"
              << "  Clip Resolution : " << p.width << 'x' << p.height << '\n'
              << "  Video Format : " << p.videoFormat << '\n'
              << "  Audio Format : " << p.audioFormat << '\n'
              << Qt::flush;
    }
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
              << " (" << lines.size() << " profiles; see --list-profiles)\n"
              << Qt::flush;
        return false;
    }
    line = lines[position];
    return true;
}

bool CliRunner::prepareOutputFolder(QString &folder)
{
    // The window's rule; a folder the user named is never swapped for another.
    folder = WithTrailingSeparator(m_options.outputDir.value_or(m_settings.path_Work()));
    if (MakeOutputFolder(folder, !m_options.outputDir))
        return true;
    m_err << "zelo-convert: Can not create output folder! (" << folder << ")\n" << Qt::flush;
    return false;
}

int CliRunner::convert()
{
    QString line;
    if (!chooseProfile(line))
        return m_options.profile ? 2 : 1; // a position the user gave is a usage error
    const DeviceKindInfo *kind = FindDeviceKind(m_options.kind);
    int width = 0, height = 0;
    ConvertDef profile;
    if (ApplyProfileLine(line, kind->format, profile, width, height) != ApplyResult::Applied) {
        m_err << "zelo-convert: the profile \"" << line << "\" has no frame size\n" << Qt::flush;
        return 1;
    }
    const bool keepRatio = m_options.keepRatio.value_or(m_settings.b_KeepRatio());
    QString folder;
    if (m_options.printCommand)
        folder = WithTrailingSeparator(m_options.outputDir.value_or(m_settings.path_Work()));
    else if (!prepareOutputFolder(folder))
        return 1;

    // Every file is probed first; the batch converts those taken.
    CliBatch batch(line, kind->format, kind->extension, keepRatio, m_out, m_err, m_interrupt);
    int refused = 0;
    for (const QString &file : m_options.files) {
        if (m_interrupt)
            break;
        std::optional<ClipToConvert> clip = clipFor(file);
        if (!clip) {
            ++refused;
            continue;
        }
        if (!m_options.printCommand) {
            batch.add(*clip);
            continue;
        }
        const ConvertJob job{*clip, {folder, kind->extension, keepRatio, width, height}, profile};
        for (const QString &entry : EncoderArguments(JobDef(job)))
            m_out << QuotedName(entry) << '\n';
        m_out.flush();
    }
    if (m_options.printCommand)
        return refused ? 1 : 0;
    if (!m_interrupt && batch.clipCount() > 0)
        batch.run(folder);
    if (m_interrupt || batch.stoppedByUser()) {
        m_out << "Stop converting process by user!\n";
        return 130;
    }
    const int failed = refused + batch.failed();
    m_out << batch.converted() << " converted";
    if (const int warned = batch.convertedWithWarnings())
        m_out << " (" << warned << (warned == 1 ? " without its sound)" : " without their sound)");
    m_out << ", " << failed << " failed; output folder " << QuotedName(folder) << '\n';
    return failed ? 1 : 0;
}

std::optional<ClipToConvert> CliRunner::clipFor(const QString &file)
{
    ProbedClip p;
    QString why;
    if (!probeFile(file, p, why)) {
        m_err << QuotedName(file) << ": " << why << '\n' << Qt::flush;
        return std::nullopt;
    }
    ClipToConvert clip{p.path, m_options.start.value_or(0), m_options.stop.value_or(p.duration),
                       p.width, p.height};
    if (clip.stopTime > p.duration || clip.startTime > clip.stopTime) {
        m_err << QuotedName(file) << ": the clip is only " << TimeText(p.duration) << " long\n"
              << Qt::flush;
        return std::nullopt;
    }
    return clip;
}
