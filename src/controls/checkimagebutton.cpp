#include "controls/checkimagebutton.h"

#include <QAccessible>

std::pair<QString, QString> SplitHints(const QString &text)
{
    const qsizetype hash = text.indexOf(QLatin1Char('#'));
    if (hash < 0)
        return {QString(), text.trimmed()};
    return {text.left(hash).trimmed(), text.mid(hash + 1).trimmed()};
}

TCheckImageButton::TCheckImageButton(QWidget *parent) : TImageButton(parent)
{
    takeKeyboardFocus();
}

bool TCheckImageButton::LoadCheckedStates(const QImage &strip, bool hasHover, bool hasPressed,
                                          bool hasDisabled)
{
    if (strip.isNull() || !hasImages())
        return false;
    std::optional<StateImages> cut =
        CutStateStrip(strip, width(), height(), {hasHover, hasPressed, hasDisabled});
    if (!cut)
        return false;
    m_uncheckedSet = images();
    m_checkedSet = std::move(cut);
    // The outline stays the unchecked normal look's: both looks share a shape.
    return true;
}

void TCheckImageButton::SetHints(const QString &text)
{
    std::tie(m_uncheckedHint, m_checkedHint) = SplitHints(text);
}

void TCheckImageButton::SetChecked(bool checked)
{
    const bool changed = checked != m_checked;
    m_checked = checked;
    if (changed && QAccessible::isActive()) {
        QAccessible::State state;
        state.checked = true;
        QAccessibleStateChangeEvent event(this, state);
        QAccessible::updateAccessibility(&event);
    }
    // A skin that gives the button no checked look ("static") keeps one look
    // and its one tooltip for both states.
    if (m_checkedSet && m_uncheckedSet) {
        setImages(checked ? *m_checkedSet : *m_uncheckedSet);
        setToolTip(checked ? m_checkedHint : m_uncheckedHint);
    }
    if (!isEnabled())
        showState(ButtonState::Disabled);
    else
        showState(isMouseOver() ? ButtonState::Hover : ButtonState::Normal);
}
