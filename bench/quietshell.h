#pragma once

// The benchmarks' Shell: nobody is there to answer a box.
#include "platform/shell.h"

// Answers every box at once so nothing waits for a person.
class QuietShell : public Shell
{
public:
    void info(const QString &, const QString & = QString()) override {}
    void error(const QString &) override {}
    bool confirm(const QString &) override { return true; }
    QStringList chooseFiles(const QList<FileFilter> &, const QString &) override { return {}; }
    QString chooseFolder(const QString &, const QString &) override { return {}; }
    void open(const QString &) override {}
};
