#pragma once

#include <QAccessibleWidget>

class TFixProgress;

// The position and trim slider for a screen reader: a slider over the clip's
// seconds whose value reads as time text; its thumb and trim markers are its
// named children.
class AccessibleSlider : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit AccessibleSlider(QWidget *slider);

    void *interface_cast(QAccessible::InterfaceType t) override;
    QString text(QAccessible::Text t) const override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant &value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    TFixProgress *slider() const;
};
