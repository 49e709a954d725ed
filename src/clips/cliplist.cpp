#include "clips/cliplist.h"

ClipList::ClipList(QObject *parent) : QObject(parent) {}

int ClipList::add(const ProbedClip &facts)
{
    if (facts.thumbnail.isNull())
        return 0;
    Clip clip;
    static_cast<ProbedClip &>(clip) = facts;
    clip.id = ++m_lastId;
    clip.startTime = 0;
    clip.stopTime = facts.duration;
    m_clips.append(clip);
    emit clipAdded(clip.id);
    return clip.id;
}

void ClipList::remove(const QList<int> &ids)
{
    QList<int> removed;
    for (int id : ids)
        for (qsizetype i = 0; i < m_clips.size(); ++i)
            if (m_clips[i].id == id) {
                m_clips.removeAt(i);
                removed << id;
                break;
            }
    if (!removed.isEmpty())
        emit clipsRemoved(removed);
}

void ClipList::clear()
{
    QList<int> ids;
    for (const Clip &clip : m_clips)
        ids << clip.id;
    remove(ids);
}

const Clip *ClipList::find(int id) const
{
    for (const Clip &clip : m_clips)
        if (clip.id == id)
            return &clip;
    return nullptr;
}

QList<ClipToConvert> ClipList::toConvert() const
{
    QList<ClipToConvert> all;
    for (const Clip &clip : m_clips)
        all << ClipToConvert{clip.path, clip.startTime, clip.stopTime, clip.width, clip.height};
    return all;
}

Clip *ClipList::findClip(int id)
{
    return const_cast<Clip *>(std::as_const(*this).find(id));
}

bool ClipList::SetTrim(int id, int start, int stop)
{
    Clip *clip = findClip(id);
    if (!clip)
        return false;
    const bool accepted = clip->duration > 0 && start >= 0 && stop <= clip->duration;
    if (accepted) {
        clip->startTime = std::min(start, clip->stopTime);
        clip->stopTime = std::max(stop, clip->startTime);
    }
    emit trimChanged(id);
    return accepted;
}

bool ClipList::dropMarker(int id, bool start, double fraction)
{
    const Clip *clip = find(id);
    if (!clip)
        return false;
    const double at = clip->duration * fraction;
    // Truncated, as a position in whole seconds; nonsense counts as 0.
    const int second = at > -1e9 && at < 1e9 ? int(at) : 0;
    return start ? SetTrim(id, second, clip->stopTime) : SetTrim(id, clip->startTime, second);
}
