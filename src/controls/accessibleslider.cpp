#include "controls/accessibleslider.h"

#include "controls/fixprogress.h"
#include "controls/imagebutton.h"
#include "platform/pubfunction.h"

#include <cmath>

AccessibleSlider::AccessibleSlider(QWidget *slider) : QAccessibleWidget(slider, QAccessible::Slider)
{}

TFixProgress *AccessibleSlider::slider() const
{
    return static_cast<TFixProgress *>(widget());
}

void *AccessibleSlider::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString AccessibleSlider::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        if (!widget()->accessibleName().isEmpty())
            break;
        return widget()->toolTip().isEmpty() ? QObject::tr("Playing position")
                                             : widget()->toolTip();
    case QAccessible::Value:
        return TimeText(currentValue().toInt());
    default:
        break;
    }
    return QAccessibleWidget::text(t);
}

// Seconds of the clip whose trim shows; without one the slider only has its
// percent, which has no seconds to speak of.
QVariant AccessibleSlider::currentValue() const
{
    return int(slider()->percent() * slider()->length() / 100.0);
}

void AccessibleSlider::setCurrentValue(const QVariant &) {}

QVariant AccessibleSlider::maximumValue() const
{
    return int(std::ceil(slider()->length()));
}

QVariant AccessibleSlider::minimumValue() const
{
    return 0;
}

QVariant AccessibleSlider::minimumStepSize() const
{
    return 1;
}
