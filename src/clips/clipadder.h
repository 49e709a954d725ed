// Adding files to the clip list from the add button or a drop.
#pragma once

#include "encoder/probe.h"

#include <QObject>
#include <QStringList>
#include <atomic>
#include <functional>
#include <thread>

class ClipList;

// Adds media files to the clip list: each file is probed by the engine,
// its 80x60 thumbnail decoded, and appended to the list on the UI thread.
// One file is probed right away on the UI thread; several are probed on a
// worker, one after another in the order given, each entry appended before
// the worker takes the next file. Refused files are reported once per
// request, after the last file.
class ClipAdder : public QObject
{
    Q_OBJECT

public:
    // Tells the user that files were refused; runs on the UI thread and
    // returns when the user has seen it.
    using ReportRefused = std::function<void()>;

    ClipAdder(ClipList *clips, ReportRefused refused, QObject *parent = nullptr);
    ~ClipAdder() override;

    // The add button: the file dialog, then the files chosen.
    void AddFilesClick();
    // Adds the files as a request of its own (the dialog's choice, or files
    // dropped on the list). Ignored while a multi-file add runs.
    void addFiles(const QStringList &files);

    // Probes one file and appends its entry when it is accepted.
    void ProbeFile(const QString &path);

    // Lets the running worker finish its current file and waits for it,
    // serving its calls to the UI thread meanwhile. For shutdown: nothing is
    // added once this has been called.
    void stopAndWait();

    // True until a multi-file add's worker has also delivered its notice.
    bool workerRunning() const { return !m_workerDone; }
    // A multi-file add is running: from the request to the end of its
    // notice, on the UI thread. Adds, the preview and the list's menu wait.
    bool adding() const { return m_adding; }

    // The files the last request refused, one line each with the reason,
    // for the refusal notice's details. Read it on the UI thread from the
    // notice.
    const QStringList &refusals() const { return m_refusals; }

    std::atomic<bool> b_ProbeFailed{false};

    // The file dialog's filters.
    static QList<QPair<QString, QString>> dialogFilters();

private:
    ProbeResult probe(const QString &path);
    void append(const ProbeResult &probed);
    void AddFilesWorker(QStringList files);

    ClipList *m_clips;
    ReportRefused m_refused;
    std::thread m_worker;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_workerDone{true};
    bool m_adding = false;
    QStringList m_refusals;
};

// One line of the refusal notice's details: the file and why it was refused.
QString RefusalLine(const QString &path, const ProbeResult &probed);
