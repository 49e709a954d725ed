#pragma once

#include "platform/shell.h"

#include <QList>
#include <QPointer>

class QMessageBox;

class QWidget;

// The window a box or chooser opened now belongs to and stays above: the
// modal window in front (the conversion window, the profile editor), else
// the active window, else the main window; may be null.
QWidget *BoxOwnerWindow();

// The production Shell: QMessageBox, QFileDialog and QDesktopServices,
// installed at start for the program's life.
class DesktopShell : public Shell
{
public:
    void info(const QString &text, const QString &details = QString()) override;
    void error(const QString &text) override;
    bool confirm(const QString &text) override;
    void closeBoxes() override;
    QStringList chooseFiles(const QList<FileFilter> &filters, const QString &startFolder) override;
    QString chooseFolder(const QString &prompt, const QString &start) override;
    void open(const QString &pathOrUrl) override;

private:
    int run(QMessageBox &box);

    QList<QPointer<QMessageBox>> m_open; // innermost last
};
