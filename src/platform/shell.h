#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Everything the program asks of the desktop: modal boxes, the file and
// folder choosers, and opening a folder, document or address. The program
// reaches these only through the installed Shell, so tests can put a
// recording double in its place and no box ever blocks a test.
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

    // The window boxes and choosers belong to when no window of the program
    // is active or modal (the main window); may be null.
    void setDialogParent(QWidget *parent) { m_parent = parent; }
    QWidget *dialogParent() const { return m_parent; }
    // The window a box or chooser opened now belongs to and stays above:
    // the modal window in front (the conversion window, the profile editor),
    // else the active window, else the dialog parent.
    QWidget *ownerWindow() const;

private:
    QWidget *m_parent = nullptr;
};

// The Shell in use. Never null: a desktop Shell is created on first use.
Shell &TheShell();
// Installs a Shell (tests); the caller keeps ownership. Null goes back to
// the desktop Shell.
void InstallShell(Shell *shell);
