#include "cli/clioptions.h"

#include "profiles/devicekind.h"

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
    CliOptions o;
    bool actionSet = false;
    auto setAction = [&](CliOptions::Action a) {
        if (actionSet && o.action != a) {
            error = QStringLiteral("--list-profiles, --probe and converting cannot be combined");
            return false;
        }
        o.action = a;
        actionSet = true;
        return true;
    };
    bool filesOnly = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (filesOnly || !a.startsWith(QLatin1String("--"))) {
            o.files << a;
            continue;
        }
        auto value = [&](QString &out) {
            if (i + 1 >= args.size()) {
                error = a + QStringLiteral(" needs a value");
                return false;
            }
            out = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--")) {
            filesOnly = true;
        } else if (a == QLatin1String("--help")) {
            o.action = CliOptions::Action::Help;
            return o;
        } else if (a == QLatin1String("--list-profiles")) {
            if (!setAction(CliOptions::Action::ListProfiles))
                return std::nullopt;
        } else if (a == QLatin1String("--probe")) {
            if (!setAction(CliOptions::Action::Probe))
                return std::nullopt;
        } else if (a == QLatin1String("--kind")) {
            if (!value(v))
                return std::nullopt;
            o.kind = DeviceKindBySection(v);
            if (o.kind < 0) {
                error =
                    QStringLiteral("unknown device kind \"%1\" (use 3gp, psp, ipod, pda or mp4)")
                        .arg(v);
                return std::nullopt;
            }
        } else if (a == QLatin1String("--profile")) {
            if (!value(v))
                return std::nullopt;
            bool ok = false;
            int n = v.toInt(&ok);
            if (!ok || n < 0) {
                error = QStringLiteral("--profile takes a position from 0 on, not \"%1\"").arg(v);
                return std::nullopt;
            }
            o.profile = n;
        } else if (a == QLatin1String("--start") || a == QLatin1String("--stop")) {
            if (!value(v))
                return std::nullopt;
            std::optional<int> t = ParseTimeText(v);
            if (!t) {
                error = QStringLiteral("%1 takes a time as HH:MM:SS, not \"%2\"").arg(a, v);
                return std::nullopt;
            }
            (a == QLatin1String("--start") ? o.start : o.stop) = *t;
        } else if (a == QLatin1String("--keep-ratio")) {
            o.keepRatio = true;
        } else if (a == QLatin1String("--no-keep-ratio")) {
            o.keepRatio = false;
        } else if (a == QLatin1String("--output-dir")) {
            if (!value(v))
                return std::nullopt;
            if (v.isEmpty()) {
                error = QStringLiteral("--output-dir needs a folder");
                return std::nullopt;
            }
            o.outputDir = v;
        } else if (a == QLatin1String("--print-command")) {
            o.printCommand = true;
        } else {
            error = QStringLiteral("unknown option %1 (see --help)").arg(a);
            return std::nullopt;
        }
    }
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
        "  --help            this text\n"
        "\n"
        "An existing file is never overwritten: the new one gets a number (clip1.3gp).\n"
        "On a terminal each clip shows a progress bar; otherwise plain lines.\n"
        "Exit status: 0 when every clip converted, 1 when any failed or was refused,\n"
        "2 for a usage error, 130 when interrupted (Ctrl+C, SIGTERM or a hang-up).\n");
}
