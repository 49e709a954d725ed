#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Everything the program asks of the desktop: modal boxes, the file and
// folder choosers, and opening a folder, document or address. The program
// reaches these only through the installed Shell: the desktop's, installed
// at start (app/desktopshell), or a recording double in the tests, so no
// box ever blocks a test.
class Shell
{
public:
    virtual ~Shell() = default;

    // Modal boxes with the program's fixed texts ("\n" breaks lines). An
    // information box's details (a list of files, say) stay folded away
    // under the fixed text until the user asks for them.
    virtual void info(const QString &text, const QString &details = QString()) = 0;
    virtual void error(const QString &text) = 0;
    virtual bool confirm(const QString &text) = 0; // Yes = true
    // Closes the boxes open now, each as if the user had dismissed it (OK,
    // or No), for a box whose question the program has answered meanwhile.
    virtual void closeBoxes() {}

    // One filter entry of a file dialog: "Support Media File" and its patterns.
    struct FileFilter
    {
        QString title;
        QString patterns; // ";"-separated, e.g. "*.avi;*.mpg"
    };
    // Empty when the user cancelled. The dialog opens in startFolder.
    virtual QStringList chooseFiles(const QList<FileFilter> &filters,
                                    const QString &startFolder) = 0;
    // Empty when the user cancelled.
    virtual QString chooseFolder(const QString &prompt, const QString &start) = 0;

    // Hands a folder, document, web address or mailto: address to the desktop.
    virtual void open(const QString &pathOrUrl) = 0;
};

// The Shell in use. Never null: until one is installed, a console Shell
// writes the boxes' texts to the error output and answers No or Cancel.
Shell &TheShell();
// Installs a Shell (tests); the caller keeps ownership. Null goes back to
// the desktop Shell.
void InstallShell(Shell *shell);
