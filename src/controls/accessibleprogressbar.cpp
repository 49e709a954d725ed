#include "controls/accessibleprogressbar.h"

#include <QWidget>

AccessibleProgressBar::AccessibleProgressBar(QWidget *bar)
    : QAccessibleWidget(bar, QAccessible::ProgressBar)
{}

QAccessible::Role AccessibleProgressBar::role() const
{
    return widget()->property(PercentProperty).isValid() ? QAccessible::ProgressBar
                                                         : QAccessible::Graphic;
}

void *AccessibleProgressBar::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ValueInterface && role() == QAccessible::ProgressBar)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString AccessibleProgressBar::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return QStringLiteral("%1%").arg(currentValue().toInt());
    return QAccessibleWidget::text(t);
}

QVariant AccessibleProgressBar::currentValue() const
{
    return widget()->property(PercentProperty).toInt();
}

void SetBarPercent(QWidget *bar, int percent)
{
    if (bar->property(AccessibleProgressBar::PercentProperty).toInt() == percent &&
        bar->property(AccessibleProgressBar::PercentProperty).isValid())
        return;
    bar->setProperty(AccessibleProgressBar::PercentProperty, percent);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(bar, percent);
        QAccessible::updateAccessibility(&event);
    }
}
