#pragma once

#include "platform/shell.h"

#include <QStringList>

// A Shell that never blocks: it records every box and request, and answers
// the choosers and confirmations with what the test queued.
class RecordingShell : public Shell
{
public:
    struct Box
    {
        QString kind; // "info", "error" or "confirm"
        QString text;
    };

    void info(const QString &text) override { boxes.push_back({QStringLiteral("info"), text}); }
    void error(const QString &text) override { boxes.push_back({QStringLiteral("error"), text}); }
    bool confirm(const QString &text) override
    {
        boxes.push_back({QStringLiteral("confirm"), text});
        return confirmAnswer;
    }
    QStringList chooseFiles(const QList<FileFilter> &filters, const QString &startFolder) override
    {
        lastFilters = filters;
        fileDialogFolders << startFolder;
        ++fileDialogs;
        return nextFiles;
    }
    QString chooseFolder(const QString &prompt, const QString &start) override
    {
        folderPrompts << prompt << start;
        return nextFolder;
    }
    void open(const QString &pathOrUrl) override { opened << pathOrUrl; }

    QStringList texts() const
    {
        QStringList t;
        for (const Box &b : boxes)
            t << b.text;
        return t;
    }

    QList<Box> boxes;
    bool confirmAnswer = true;
    QStringList nextFiles;
    QList<FileFilter> lastFilters;
    int fileDialogs = 0;
    QStringList fileDialogFolders;
    QString nextFolder;
    QStringList folderPrompts;
    QStringList opened;
};

// Installs a RecordingShell for the lifetime of the object.
class ScopedRecordingShell : public RecordingShell
{
public:
    ScopedRecordingShell() { InstallShell(this); }
    ~ScopedRecordingShell() override { InstallShell(nullptr); }
};
