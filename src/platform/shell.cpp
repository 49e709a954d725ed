#include "platform/shell.h"

#include <cstdio>

namespace {
Shell *g_installed = nullptr;

// Code without a desktop (zelo-convert, a start that failed before its
// windows) still says what it would have shown, and decides nothing.
class ConsoleShell : public Shell
{
public:
    void info(const QString &text, const QString &details) override
    {
        say(details.isEmpty() ? text : text + QLatin1Char('\n') + details);
    }
    void error(const QString &text) override { say(text); }
    bool confirm(const QString &text) override
    {
        say(text);
        return false;
    }
    QStringList chooseFiles(const QList<FileFilter> &, const QString &) override { return {}; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    void open(const QString &) override {}

private:
    static void say(const QString &text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};
} // namespace

Shell &TheShell()
{
    static ConsoleShell console;
    return g_installed ? *g_installed : console;
}

void InstallShell(Shell *shell)
{
    g_installed = shell;
}
