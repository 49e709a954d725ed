// zelo-convert: the converter for scripts and for machines without a desktop.
#include "cli/clioptions.h"
#include "cli/clirunner.h"
#include "encoder/encoderlib.h"
#include "encoder/probe.h"
#include "platform/nativepath.h"
#include "platform/pubfunction.h"

#include <QCoreApplication>
#include <QTextStream>
#include <atomic>
#include <csignal>
#include <cstdio>

namespace {
std::atomic<bool> g_interrupted{false};

void onInterrupt(int)
{
    g_interrupted = true;
}

// Output that could not be written (a full disk, a closed descriptor) is a
// failure, whatever the work before it came to.
int finish(QTextStream &out, QTextStream &err, int status)
{
    out.flush();
    if (out.status() == QTextStream::Ok && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return status;
    err << "zelo-convert: cannot write to the standard output\n" << Qt::flush;
    return status ? status : 1;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QString error;
    // File names as bytes: arguments() would lose those that are no UTF-8.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << PathFromNative(argv[i]);
    std::optional<CliOptions> options = ParseCliOptions(arguments, error);
    if (!options) {
        err << "zelo-convert: " << error << '\n';
        return 2;
    }
    if (options->action == CliOptions::Action::Help)
        return finish(out, err, (out << CliHelpText(), 0));
    if (options->action == CliOptions::Action::Version)
        return finish(out, err, (out << CliVersionText(), 0));

    InitGlobals(ProgramFolder());
    Settings settings;
    settings.load();
    CliRunner runner(*options, settings, out, err, g_interrupted);
    if (options->action == CliOptions::Action::ListProfiles)
        return finish(out, err, runner.listProfiles());

    if (!LoadEncoder(path_Config)) {
        err << "zelo-convert: Can not load Moviforge function!\nPlease re-install this program!\n"
            << Qt::flush;
        return 1;
    }
    DllInit();
    TidyOutputFolder(options->outputDir.value_or(settings.path_Work()));
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    std::signal(SIGHUP, onInterrupt);
    int status = options->action == CliOptions::Action::Probe ? runner.probe() : runner.convert();
    status = finish(out, err, status);
    UnloadEncoder();
    RemoveOwnScratchFiles();
    return status;
}
