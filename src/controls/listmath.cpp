#include "controls/listmath.h"

#include <algorithm>
#include <cmath>

namespace listmath {

float ScrollFraction(int top, int minimum, int maximum)
{
    if (maximum == minimum)
        return 0.0f;
    return float(double(top - minimum) / double(maximum - minimum));
}

int HiddenRows(int contentHeight, int listHeight)
{
    int rows = (contentHeight + TopMargin - listHeight) / RowStep;
    return rows < 0 ? 0 : rows;
}

int ScrolledRows(int hiddenRows, float fraction)
{
    double rows = std::trunc(double(hiddenRows) * double(fraction));
    return int(std::clamp(rows, -1.0e9, 1.0e9));
}

int ClampThumb(int top, int minimum, int maximum)
{
    if (maximum < minimum)
        return minimum;
    return std::clamp(top, minimum, maximum);
}

int TrackClickTop(int y, int thumbHeight, int minimum, int maximum)
{
    int travel = maximum - minimum;
    int top = y - thumbHeight / 2;
    if (travel < 0)
        travel = 0;
    return std::clamp(top, 0, travel) + minimum;
}

int ScrollPositions(int contentHeight, int listHeight)
{
    return (contentHeight - listHeight) / RowStep + 1;
}

int ButtonStep(int contentHeight, int listHeight, int minimum, int maximum)
{
    int positions = ScrollPositions(contentHeight, listHeight);
    if (positions < 1)
        return 0;
    return (maximum - minimum) / positions;
}

} // namespace listmath
