// The clip list the window shows and a batch converts, with the trim rules.
#pragma once

#include "clips/clip.h"

#include <QList>
#include <QObject>

// The clips in the order they were added. The list panel and its entries
// are views of it; the selection is theirs. Every change is announced, and
// the views follow the announcements.
class ClipList : public QObject
{
    Q_OBJECT

public:
    explicit ClipList(QObject *parent = nullptr);

    // Appends the probed clip, trimmed to the whole clip. 0, and nothing
    // added, for a clip without a thumbnail.
    int add(const ProbedClip &facts);
    void remove(const QList<int> &ids);
    void clear();

    int count() const { return int(m_clips.size()); }
    const QList<Clip> &clips() const { return m_clips; }
    // Null when no clip has this id (any more).
    const Clip *find(int id) const;
    // The clips as a batch converts them, in order.
    QList<ClipToConvert> toConvert() const;

    // Stores the trim: refused (false, nothing changed) for a negative start,
    // a stop past the clip's end, or a clip without length; a start past the
    // stop becomes the stop and a stop before the start the start. The views
    // are told either way, so a marker dropped where the trim cannot go
    // returns to the stored trim.
    bool SetTrim(int id, int start, int stop);
    // A trim marker dropped at fraction (0..1) of the clip: the whole second
    // it stands in becomes the start or the stop.
    bool dropMarker(int id, bool start, double fraction);

signals:
    void clipAdded(int id);
    void clipsRemoved(const QList<int> &ids);
    void trimChanged(int id);

private:
    Clip *findClip(int id);

    QList<Clip> m_clips;
    int m_lastId = 0;
};
