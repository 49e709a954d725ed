#pragma once

#include "controls/imagebutton.h"

#include <QString>
#include <optional>
#include <utility>

// The two tooltips of a check button from one skin text: the part before the
// first "#" for unchecked, the part after it for checked, each trimmed. With
// no "#" the whole text is the checked tooltip and unchecked has none.
std::pair<QString, QString> SplitHints(const QString &text);

// An image button with a second set of looks and a second tooltip for its
// checked state. It never changes its state by itself: the owner's click
// handler calls SetChecked.
class TCheckImageButton : public TImageButton
{
    Q_OBJECT

public:
    explicit TCheckImageButton(QWidget *parent = nullptr);

    // The looks shown now become the unchecked set; the checked set is cut
    // from strip at the button's size. False, with nothing changed, when the
    // strip is null or too narrow, or before LoadStates.
    bool LoadCheckedStates(const QImage &strip, bool hasHover, bool hasPressed, bool hasDisabled);
    void SetHints(const QString &text);
    const QString &hint(bool checked) const { return checked ? m_checkedHint : m_uncheckedHint; }
    void SetChecked(bool checked);
    bool Checked() const { return m_checked; }
    // One of a group of which exactly one is checked (a choice, not a switch).
    void SetExclusive(bool exclusive) { m_exclusive = exclusive; }
    bool exclusive() const { return m_exclusive; }

    bool hasCheckedLook() const { return m_checkedSet.has_value(); }

private:
    std::optional<StateImages> m_uncheckedSet;
    std::optional<StateImages> m_checkedSet;
    QString m_uncheckedHint;
    QString m_checkedHint;
    bool m_checked = false;
    bool m_exclusive = false;
};
