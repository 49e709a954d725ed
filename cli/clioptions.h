// zelo-convert's command-line options and their help text.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the command line asked for.
struct CliOptions
{
    enum class Action
    {
        Convert,
        ListProfiles,
        Probe,
        Help,
        Version
    };
    Action action = Action::Convert;
    int kind = 0;               // device kind, from --kind
    std::optional<int> profile; // position in the list; default: DefaultIndex
    std::optional<int> start;   // seconds
    std::optional<int> stop;    // seconds
    std::optional<bool> keepRatio;
    std::optional<QString> outputDir;
    bool printCommand = false;
    QStringList files;
};

// Parses the arguments (without the program name). On failure returns
// nothing and sets error to a one-line reason.
std::optional<CliOptions> ParseCliOptions(const QStringList &args, QString &error);

// "HH:MM:SS" (also "MM:SS" or plain seconds) as seconds; nothing when the
// text is not a time of day up to 24:00:00.
std::optional<int> ParseTimeText(const QString &text);

// The --help text.
QString CliHelpText();
// The --version text: the program's name and version, one line.
QString CliVersionText();
