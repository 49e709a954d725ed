#pragma once

#include "app/desktopshell.h"
#include "platform/shell.h"

#include <QStringList>
#include <functional>

// A Shell that never blocks: it records every box and request, and answers
// the choosers and confirmations with what the test queued.
class RecordingShell : public Shell
{
public:
    struct Box
    {
        QString kind; // "info", "error" or "confirm"
        QString text;
        QString details = {};
        QWidget *owner = nullptr;
    };

    void info(const QString &text, const QString &details = QString()) override
    {
        boxes.push_back({QStringLiteral("info"), text, details, BoxOwnerWindow()});
        if (whileInfoShows)
            whileInfoShows();
    }
    void error(const QString &text) override
    {
        boxes.push_back({QStringLiteral("error"), text, {}, BoxOwnerWindow()});
    }
    bool confirm(const QString &text) override
    {
        boxes.push_back({QStringLiteral("confirm"), text, {}, BoxOwnerWindow()});
        return confirmAnswer;
    }
    QStringList chooseFiles(const QList<FileFilter> &filters, const QString &startFolder) override
    {
        lastFilters = filters;
        fileDialogFolders << startFolder;
        chooserOwner = BoxOwnerWindow();
        ++fileDialogs;
        return nextFiles;
    }
    QString chooseFolder(const QString &prompt, const QString &start) override
    {
        folderPrompts << prompt << start;
        chooserOwner = BoxOwnerWindow();
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
    QWidget *chooserOwner = nullptr;      // the window the last chooser belonged to
    std::function<void()> whileInfoShows; // what the user does while an info box is up
};

// Installs a RecordingShell for the lifetime of the object.
class ScopedRecordingShell : public RecordingShell
{
public:
    ScopedRecordingShell() { InstallShell(this); }
    ~ScopedRecordingShell() override { InstallShell(nullptr); }
};
