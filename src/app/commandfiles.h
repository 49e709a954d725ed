#pragma once

#include <QString>
#include <QStringList>

// The files a file manager's "Open with" (or a user at a prompt) hands the
// program: every argument after the program's name that is not an option of
// Qt's own, as an absolute path. "file:" addresses become local paths;
// other addresses are left out; relative paths are taken from workingDir.
QStringList CommandLineFiles(const QStringList &arguments, const QString &workingDir);

// The window program's own options, before any "--": -h/--help and
// -v/--version, which answer without a display.
enum class ProgramOption
{
    None,
    Help,
    Version
};
ProgramOption ProgramOptionOf(const QStringList &arguments);
QString ProgramHelpText();
QString ProgramVersionText();
// The platform plugin list given with -platform (or --platform), else empty.
QString PlatformArgument(const QStringList &arguments);

class ClipAdder;

// Adds files as if they were dropped on the list; while a multi-file add is
// still running (when a drop is ignored) it waits for the add to end instead
// of losing them. Returns at once either way.
void AddFilesWhenFree(ClipAdder *adder, const QStringList &files);
