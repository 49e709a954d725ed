#include "controls/pathelision.h"

#include <QFontMetrics>
#include <algorithm>

QString ElidePathKeepingName(const QString &path, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
    const QString name = path.mid(cut);
    const int room = width - metrics.horizontalAdvance(name);
    // The folders need room for at least their first letter and the ellipsis.
    if (cut == 0 || room < metrics.horizontalAdvance(path.left(1) + QChar(0x2026)))
        return metrics.elidedText(path, Qt::ElideMiddle, width);
    return metrics.elidedText(path.left(cut), Qt::ElideMiddle, room) + name;
}
