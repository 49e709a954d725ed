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
    if (options->action == CliOptions::Action::Help) {
        out << CliHelpText();
        return 0;
    }

    InitGlobals(ProgramFolder());
    Settings settings;
    settings.load();
    CliRunner runner(*options, settings, out, err, g_interrupted);
    if (options->action == CliOptions::Action::ListProfiles)
        return runner.listProfiles();

    if (!LoadEncoder(path_Config)) {
        err << "zelo-convert: Can not load Moviforge function!\nPlease re-install this program!\n";
        return 1;
    }
    DllInit();
    TidyOutputFolder(options->outputDir.value_or(settings.path_Work()));
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    std::signal(SIGHUP, onInterrupt);
    int status = options->action == CliOptions::Action::Probe ? runner.probe() : runner.convert();
    out.flush();
    UnloadEncoder();
    RemoveOwnScratchFiles();
    return status;
}
