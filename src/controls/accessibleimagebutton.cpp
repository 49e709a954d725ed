#include "controls/accessibleimagebutton.h"

#include "controls/checkimagebutton.h"

namespace {
QAccessible::Role RoleOf(const QWidget *button)
{
    const auto *check = qobject_cast<const TCheckImageButton *>(button);
    if (!check)
        return QAccessible::Button;
    return check->exclusive() ? QAccessible::RadioButton : QAccessible::CheckBox;
}
} // namespace

AccessibleImageButton::AccessibleImageButton(QWidget *button)
    : QAccessibleWidget(button, RoleOf(button))
{}

TImageButton *AccessibleImageButton::button() const
{
    return static_cast<TImageButton *>(widget());
}

// A check button's tooltip changes with its state; its name must not. The
// checked hint says what checking does, so it names the box.
QString AccessibleImageButton::text(QAccessible::Text t) const
{
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    if (!widget()->accessibleName().isEmpty())
        return widget()->accessibleName();
    if (const auto *check = qobject_cast<const TCheckImageButton *>(widget())) {
        const QString checked = check->hint(true);
        if (!checked.isEmpty())
            return checked;
        if (!check->hint(false).isEmpty())
            return check->hint(false);
    }
    return widget()->toolTip();
}

QAccessible::State AccessibleImageButton::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    if (const auto *check = qobject_cast<const TCheckImageButton *>(widget())) {
        s.checkable = true;
        s.checked = check->Checked();
    }
    s.pressed = button()->isPressedDown();
    return s;
}

QStringList AccessibleImageButton::actionNames() const
{
    if (!widget()->isEnabled())
        return {};
    return {role() == QAccessible::Button ? pressAction() : toggleAction()};
}

void AccessibleImageButton::doAction(const QString &actionName)
{
    // After the reply: a button that opens a modal window would otherwise
    // keep the screen reader waiting until that window closes.
    if (actionName == pressAction() || actionName == toggleAction())
        QMetaObject::invokeMethod(button(), &TImageButton::click, Qt::QueuedConnection);
}

QStringList AccessibleImageButton::keyBindingsForAction(const QString &) const
{
    return widget()->focusPolicy() == Qt::NoFocus ? QStringList()
                                                  : QStringList{QStringLiteral("Space")};
}
