#include "cli/clioptions.h"

#include "profiles/devicekind.h"

#include <QCommandLineParser>
#include <QRegularExpression>

std::optional<int> ParseTimeText(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral("^(?:(?:(\\d{1,2}):)?([0-5]?\\d):)?(\\d{1,5})$"));
    QRegularExpressionMatch m = re.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const bool hasMinutes = !m.captured(2).isEmpty();
    int h = m.captured(1).toInt();
    int min = m.captured(2).toInt();
    int s = m.captured(3).toInt();
    if (hasMinutes && s > 59)
        return std::nullopt;
    long total = h * 3600L + min * 60L + s;
    if (total > 86400)
        return std::nullopt;
    return int(total);
}

std::optional<CliOptions> ParseCliOptions(const QStringList &args, QString &error)
{
    // GNU and Qt conventions: "--kind psp" and "--kind=psp", "--" ends the
    // options, and "-x.avi" is an unknown option rather than a file.
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption list(QStringLiteral("list-profiles"));
    const QCommandLineOption probe(QStringLiteral("probe"));
    const QCommandLineOption kind(QStringLiteral("kind"), {}, QStringLiteral("K"));
    const QCommandLineOption profile(QStringLiteral("profile"), {}, QStringLiteral("N"));
    const QCommandLineOption start(QStringLiteral("start"), {}, QStringLiteral("T"));
    const QCommandLineOption stop(QStringLiteral("stop"), {}, QStringLiteral("T"));
    const QCommandLineOption keep(QStringLiteral("keep-ratio"));
    const QCommandLineOption noKeep(QStringLiteral("no-keep-ratio"));
    const QCommandLineOption outputDir(QStringLiteral("output-dir"), {}, QStringLiteral("DIR"));
    const QCommandLineOption print(QStringLiteral("print-command"));
    parser.addOptions(
        {help, version, list, probe, kind, profile, start, stop, keep, noKeep, outputDir, print});
    // QCommandLineParser skips the first argument, the program's name.
    if (!parser.parse(QStringList{QStringLiteral("zelo-convert")} + args)) {
        error = parser.errorText() + QStringLiteral(" (see --help)");
        // Qt names the letters of "-x.avi" one by one; the argument says more.
        const QStringList unknown = parser.unknownOptionNames();
        for (const QString &a : args) {
            if (unknown.isEmpty() || a == QLatin1String("--"))
                break;
            const QString name =
                a.section(QLatin1Char('='), 0, 0).mid(a.startsWith(QLatin1String("--")) ? 2 : 1);
            if (a.startsWith(QLatin1Char('-')) &&
                (name == unknown.first() ||
                 (!a.startsWith(QLatin1String("--")) && name.contains(unknown.first())))) {
                error = QStringLiteral("unknown option %1 (see --help)").arg(a);
                break;
            }
        }
        return std::nullopt;
    }

    CliOptions o;
    if (parser.isSet(kind)) {
        const QString v = parser.value(kind);
        o.kind = DeviceKindBySection(v);
        if (o.kind < 0) {
            error = QStringLiteral("unknown device kind \"%1\" (use 3gp, psp, ipod, pda or mp4)")
                        .arg(v);
            return std::nullopt;
        }
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        o.action = parser.isSet(help) ? CliOptions::Action::Help : CliOptions::Action::Version;
        return o;
    }
    if (parser.isSet(list) && parser.isSet(probe)) {
        error = QStringLiteral("--list-profiles, --probe and converting cannot be combined");
        return std::nullopt;
    }
    if (parser.isSet(list))
        o.action = CliOptions::Action::ListProfiles;
    else if (parser.isSet(probe))
        o.action = CliOptions::Action::Probe;
    if (parser.isSet(profile)) {
        const QString v = parser.value(profile);
        bool ok = false;
        const int n = v.toInt(&ok);
        if (!ok || n < 0) {
            error = QStringLiteral("--profile takes a position from 0 on, not \"%1\"").arg(v);
            return std::nullopt;
        }
        o.profile = n;
    }
    for (const QCommandLineOption *time : {&start, &stop}) {
        if (!parser.isSet(*time))
            continue;
        const QString v = parser.value(*time);
        std::optional<int> t = ParseTimeText(v);
        if (!t) {
            error = QStringLiteral("--%1 takes a time as HH:MM:SS, not \"%2\"")
                        .arg(time->names().constFirst(), v);
            return std::nullopt;
        }
        (time == &start ? o.start : o.stop) = *t;
    }
    // The later of the two wins, as with any repeated switch.
    if (parser.isSet(keep) || parser.isSet(noKeep)) {
        const qsizetype end =
            args.contains(QStringLiteral("--")) ? args.indexOf(QStringLiteral("--")) : args.size();
        o.keepRatio = args.lastIndexOf(QStringLiteral("--keep-ratio"), end - 1) >
                      args.lastIndexOf(QStringLiteral("--no-keep-ratio"), end - 1);
    }
    if (parser.isSet(outputDir)) {
        o.outputDir = parser.value(outputDir);
        if (o.outputDir->isEmpty()) {
            error = QStringLiteral("--output-dir needs a folder");
            return std::nullopt;
        }
    }
    o.printCommand = parser.isSet(print);
    o.files = parser.positionalArguments();
    if (o.start && o.stop && *o.start > *o.stop) {
        error = QStringLiteral("--start lies after --stop");
        return std::nullopt;
    }
    if (o.action != CliOptions::Action::ListProfiles && o.files.isEmpty()) {
        error = QStringLiteral("no file given (see --help)");
        return std::nullopt;
    }
    if (o.action == CliOptions::Action::ListProfiles && !o.files.isEmpty()) {
        error = QStringLiteral("--list-profiles takes no files");
        return std::nullopt;
    }
    return o;
}

QString CliHelpText()
{
    return QStringLiteral(
        "Usage:\n"
        "  zelo-convert [OPTIONS] FILE...          convert the files one after another\n"
        "  zelo-convert --list-profiles [--kind K] list the profiles of a device kind\n"
        "  zelo-convert --probe FILE...            show what the converter reads of files\n"
        "\n"
        "Converts video files for phones (3GP), PSP, iPod, PDA and plain MP4 with the\n"
        "same profiles, engine and file naming as the Zelo 3GP Converter window.\n"
        "\n"
        "Options:\n"
        "  --kind K          device kind: 3gp (default), psp, ipod, pda or mp4\n"
        "  --profile N       profile by its position in --list-profiles, counted from 0\n"
        "                    (default: the kind's DefaultIndex)\n"
        "  --start HH:MM:SS  where to start in each clip (default: its beginning)\n"
        "  --stop HH:MM:SS   where to stop in each clip (default: its end)\n"
        "  --keep-ratio      keep the picture's aspect with black bands\n"
        "  --no-keep-ratio   stretch the picture to the profile's frame size\n"
        "                    (default for both: the setting saved by the window)\n"
        "  --output-dir DIR  where converted files go (default: the saved output\n"
        "                    folder, ~/ZeloOutput/ at first)\n"
        "  --print-command   print each clip's 38 engine entries, one per line, and\n"
        "                    convert nothing\n"
        "  -h, --help        this text\n"
        "  -v, --version     the program's version\n"
        "  --                every argument after it is a file, also one beginning\n"
        "                    with a dash\n"
        "An option's value may follow it (--kind psp) or be joined with '=' (--kind=psp).\n"
        "\n"
        "An existing file is never overwritten: the new one gets a number (clip1.3gp).\n"
        "On a terminal each clip shows a progress bar; otherwise plain lines.\n"
        "Exit status: 0 when every clip converted, 1 when any failed or was refused\n"
        "or the output could not be written, 2 for a usage error, 130 when interrupted\n"
        "(Ctrl+C, SIGTERM or SIGHUP).\n");
}

QString CliVersionText()
{
    return QStringLiteral("zelo-convert " ZELO_VERSION "\n");
}
