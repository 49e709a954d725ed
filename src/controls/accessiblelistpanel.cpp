#include "controls/accessiblelistpanel.h"

#include "controls/imageitem.h"
#include "controls/listpanel.h"

AccessibleListPanel::AccessibleListPanel(QWidget *list) : QAccessibleWidget(list, QAccessible::List)
{}

TListPanel *AccessibleListPanel::list() const
{
    return static_cast<TListPanel *>(widget());
}

int AccessibleListPanel::childCount() const
{
    return list()->count();
}

QAccessibleInterface *AccessibleListPanel::child(int index) const
{
    Image_Item *item = list()->GetItem(index);
    return item ? QAccessible::queryAccessibleInterface(item) : nullptr;
}

int AccessibleListPanel::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    for (int i = 0; i < list()->count(); ++i)
        if (list()->GetItem(i) == child->object())
            return i;
    return -1;
}

QString AccessibleListPanel::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
        return QObject::tr("Clip list");
    return QAccessibleWidget::text(t);
}

QAccessible::State AccessibleListPanel::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.multiSelectable = true;
    return s;
}
