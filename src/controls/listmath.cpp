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

int HiddenRows(int contentHeight, int viewHeight)
{
    // Row i ends at (i + 1) * RowStep, so the content's height is also the
    // bottom of the last row.
    const int over = contentHeight - viewHeight;
    return over <= 0 ? 0 : (over + RowStep - 1) / RowStep;
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

int ScrollPositions(int contentHeight, int viewHeight)
{
    if (contentHeight - viewHeight <= -RowStep)
        return 0;
    return HiddenRows(contentHeight, viewHeight) + 1;
}

int ThumbTopForRows(int rows, int hiddenRows, int minimum, int maximum)
{
    if (hiddenRows <= 0 || maximum <= minimum || rows <= 0)
        return minimum;
    rows = std::min(rows, hiddenRows);
    const int travel = maximum - minimum;
    int top = minimum + int(std::ceil(double(rows) * travel / hiddenRows));
    // The fraction is kept in single precision; step on until it shows the row.
    while (top < maximum && ScrolledRows(hiddenRows, ScrollFraction(top, minimum, maximum)) < rows)
        ++top;
    while (top > minimum &&
           ScrolledRows(hiddenRows, ScrollFraction(top - 1, minimum, maximum)) >= rows)
        --top;
    return std::min(top, maximum);
}

int ButtonStep(int contentHeight, int viewHeight, int minimum, int maximum)
{
    int positions = ScrollPositions(contentHeight, viewHeight);
    if (positions < 1)
        return 0;
    return (maximum - minimum) / positions;
}

} // namespace listmath
