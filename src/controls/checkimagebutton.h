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
    void SetChecked(bool checked);
    bool Checked() const { return m_checked; }

    bool hasCheckedLook() const { return m_checkedSet.has_value(); }

private:
    std::optional<StateImages> m_uncheckedSet;
    std::optional<StateImages> m_checkedSet;
    QString m_uncheckedHint;
    QString m_checkedHint;
    bool m_checked = false;
};
