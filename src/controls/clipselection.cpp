#include "controls/clipselection.h"

#include <algorithm>

void PressItem(SelectionState &s, int pressed, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers)
{
    const int top = s.tops[pressed];
    if (modifiers & Qt::ShiftModifier) {
        if (s.anchor == -1) {
            s.anchor = top;
        } else {
            std::fill(s.selected.begin(), s.selected.end(), false);
            const int low = std::min(s.anchor, top);
            const int high = std::max(s.anchor, top);
            for (int i = 0; i < s.tops.size(); ++i) {
                if (s.tops[i] > high)
                    break;
                if (s.tops[i] >= low)
                    s.selected[i] = true;
            }
        }
        s.selected[pressed] = true;
    } else if (modifiers & Qt::ControlModifier) {
        s.selected[pressed] = !s.selected[pressed];
        s.anchor = top;
    } else if (button == Qt::LeftButton) {
        std::fill(s.selected.begin(), s.selected.end(), false);
        s.selected[pressed] = true;
        s.anchor = top;
    } else if (button == Qt::RightButton) {
        if (std::none_of(s.selected.begin(), s.selected.end(), [](bool b) { return b; }))
            s.selected[pressed] = true;
        s.anchor = top;
    } else {
        s.anchor = top;
    }
}
