#pragma once

#include <QAccessibleWidget>

// A skinned picture: a graphic, or a progress bar (the progress window's
// bars) once its owner keeps a percent in the picture's "percent" property.
// Asked at every call, since a picture may be met before it gets one.
class AccessibleProgressBar : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    static constexpr const char *PercentProperty = "percent";

    explicit AccessibleProgressBar(QWidget *bar);

    QAccessible::Role role() const override;
    void *interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }
};

// Sets the bar's percent and tells assistive technology.
void SetBarPercent(QWidget *bar, int percent);
