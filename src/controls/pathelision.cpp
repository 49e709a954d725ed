#include "controls/pathelision.h"

#include <QFontMetrics>
#include <algorithm>

namespace {
const QChar kEllipsis(0x2026);

// A name too wide by itself loses its middle; its start and its extension
// stay, since those tell clips and their kinds apart.
QString ElideName(const QString &name, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(name) <= width)
        return name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    const int room = width - metrics.horizontalAdvance(extension);
    if (extension.isEmpty() || room < metrics.horizontalAdvance(name.left(1) + kEllipsis))
        return metrics.elidedText(name, Qt::ElideMiddle, width);
    return metrics.elidedText(name.left(dot), Qt::ElideMiddle, room) + extension;
}
} // namespace

QString ElidePathKeepingName(const QString &path, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
    const QString name = path.mid(cut);
    if (cut == 0)
        return ElideName(name, metrics, width);
    const int room = width - metrics.horizontalAdvance(name);
    const QString separator = path.mid(cut - 1, 1);
    // The folders need room for at least their first letter, the ellipsis and
    // the last separator; without it they go altogether, and the name has the
    // whole width.
    if (room >= metrics.horizontalAdvance(path.left(1) + kEllipsis + separator))
        return metrics.elidedText(path.left(cut), Qt::ElideMiddle, room) + name;
    const QString dropped = kEllipsis + separator;
    if (metrics.horizontalAdvance(dropped + name) <= width)
        return dropped + name;
    return ElideName(name, metrics, width);
}
