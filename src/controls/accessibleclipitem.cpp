#include "controls/accessibleclipitem.h"

#include "clips/clip.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "platform/pubfunction.h"

#include <QFileInfo>

QString ClipEntryName(const Clip &clip)
{
    return QStringLiteral("%1, Clip Duration : %2, Clip Resolution : %3x%4, Video Format : %5, "
                          "Audio Format : %6")
        .arg(QFileInfo(clip.path).fileName(), TimeText(clip.duration))
        .arg(clip.width)
        .arg(clip.height)
        .arg(clip.videoFormat, clip.audioFormat);
}

QString ClipEntryDescription(const Clip &clip)
{
    return QStringLiteral("Start Time : %1, Stop Time : %2")
        .arg(TimeText(clip.startTime), TimeText(clip.stopTime));
}

AccessibleClipItem::AccessibleClipItem(QWidget *item)
    : QAccessibleWidget(item, QAccessible::ListItem)
{}

// The entry sits in the list's inner area; the list itself is its parent
// for a screen reader.
QAccessibleInterface *AccessibleClipItem::parent() const
{
    for (QWidget *up = widget()->parentWidget(); up; up = up->parentWidget())
        if (qobject_cast<TListPanel *>(up))
            return QAccessible::queryAccessibleInterface(up);
    return QAccessibleWidget::parent();
}

QString AccessibleClipItem::text(QAccessible::Text t) const
{
    const Clip &clip = static_cast<Image_Item *>(widget())->clip();
    if (t == QAccessible::Name)
        return ClipEntryName(clip);
    if (t == QAccessible::Description)
        return ClipEntryDescription(clip);
    return QAccessibleWidget::text(t);
}

QAccessible::State AccessibleClipItem::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.selectable = true;
    s.selected = static_cast<Image_Item *>(widget())->Selected;
    return s;
}
