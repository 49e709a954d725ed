#pragma once

#include "platform/shell.h"

// The production Shell: QMessageBox, QFileDialog and QDesktopServices.
class DesktopShell : public Shell
{
public:
    void info(const QString &text, const QString &details = QString()) override;
    void error(const QString &text) override;
    bool confirm(const QString &text) override;
    QStringList chooseFiles(const QList<FileFilter> &filters, const QString &startFolder) override;
    QString chooseFolder(const QString &prompt, const QString &start) override;
    void open(const QString &pathOrUrl) override;
};
