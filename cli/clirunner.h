// zelo-convert's actions: list profiles, probe, convert.
#pragma once

#include "cli/clioptions.h"
#include "encoder/clipprepare.h"
#include "encoder/probe.h"
#include "platform/settings.h"

#include <QTextStream>
#include <atomic>
#include <optional>

// The actions of zelo-convert, on the program's own profile file, engine and
// naming. Messages go to out (results) and err (problems).
class CliRunner
{
public:
    // settings: the window's saved output folder and keep-ratio switch, for
    // what the options leave open.
    CliRunner(const CliOptions &options, const Settings &settings, QTextStream &out,
              QTextStream &err, const std::atomic<bool> &interrupt);

    // Each returns the process's exit status.
    int listProfiles();
    int probe();
    int convert();

private:
    bool probeFile(const QString &file, ProbedClip &probed, QString &why);
    bool chooseProfile(QString &line);
    bool prepareOutputFolder(QString &folder);
    // The clip to convert for file, after its probe and the trim check; the
    // reason for a refusal has been written.
    std::optional<ClipToConvert> clipFor(const QString &file);

    const CliOptions &m_options;
    const Settings &m_settings;
    QTextStream &m_out;
    QTextStream &m_err;
    const std::atomic<bool> &m_interrupt;
};
