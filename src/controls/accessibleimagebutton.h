#pragma once

#include <QAccessibleWidget>

class TImageButton;

// What a screen reader learns of a skinned button: a push button, or a check
// box (keep-ratio) or radio button (the device kinds) with its checked state,
// named by the hint its skin shows as the tooltip, pressed by its action.
class AccessibleImageButton : public QAccessibleWidget
{
public:
    explicit AccessibleImageButton(QWidget *button);

    // The focus ring inside is no part of the button.
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

private:
    TImageButton *button() const;
};
