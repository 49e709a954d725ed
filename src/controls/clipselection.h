#pragma once

#include <QList>
#include <Qt>

// The clip list's selection rules for a mouse press, apart from any widget.
// Items are known by their tops (display order, increasing) and selected
// flags; the anchor is the top of the range-selection anchor, -1 for none.
struct SelectionState
{
    QList<int> tops;
    QList<bool> selected;
    int anchor = -1;
};

// Applies a press on item `pressed` with the given button and modifiers.
void PressItem(SelectionState &state, int pressed, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers);
