#include "controls/slidermath.h"

#include <algorithm>
#include <cmath>

namespace {
// Clamp where the lower bound wins over an upper bound below it.
int clampLowWins(int x, int low, int high)
{
    return std::max(low, std::min(x, high));
}

// A pixel from a double, truncated toward zero; never from NaN or infinity.
int pixel(double v)
{
    if (!std::isfinite(v))
        return 0;
    return int(std::clamp(v, -1e9, 1e9));
}

double fraction(double f)
{
    return std::isfinite(f) ? f : 0.0;
}
} // namespace

int ClampThumbLeft(int x, const SliderScale &s)
{
    return clampLowWins(x, s.thumbMin, s.thumbMax);
}

double PercentAtThumbLeft(int x, const SliderScale &s)
{
    const int travel = s.thumbMax - s.thumbMin;
    if (travel <= 0)
        return 0;
    return double((x - s.thumbMin) * 100) / travel;
}

int ThumbLeftForPercent(double p, const SliderScale &s)
{
    return pixel(p * (s.thumbMax - s.thumbMin) * 0.01 + s.thumbMin);
}

int ThumbLeftForFaceClick(int x, int thumbWidth)
{
    return x - thumbWidth / 2;
}

MarkerPlacement PlaceMarkers(double a, double b, const SliderScale &s, int startWidth,
                             int stopWidth, int stopLeftBefore)
{
    MarkerPlacement m;
    if (a < 0 && b < 0) {
        m.startLeft = 0;
        m.stopLeft = s.scaleEnd;
        m.rangeLeft = startWidth;
        m.rangeWidth = 0;
        return m;
    }
    const int span = s.scaleEnd - s.thumbMin;
    const int d = pixel(span * fraction(a) + 0.5 + s.thumbMin);
    const int e = pixel(span * fraction(b) + 0.5 + s.thumbMin);
    m.startLeft = std::clamp(d - startWidth, 0, std::max(0, stopLeftBefore - startWidth));
    m.stopLeft = clampLowWins(e, m.startLeft + startWidth, s.width - stopWidth);
    m.rangeLeft = m.startLeft + startWidth;
    m.rangeWidth = m.stopLeft - m.rangeLeft;
    m.enabled = true;
    return m;
}

MarkerPlacement PlaceRange(double a, double b, const SliderScale &s)
{
    MarkerPlacement m;
    if (a < 0 && b < 0) {
        m.rangeLeft = s.thumbMin;
        return m;
    }
    const int span = s.scaleEnd - s.thumbMin;
    const int d = pixel(span * fraction(a) + 0.5 + s.thumbMin);
    const int e = pixel(span * fraction(b) + 0.5 + s.thumbMin);
    m.rangeLeft = d;
    m.rangeWidth = std::max(0, e - d);
    m.enabled = true;
    return m;
}

int DragStartMarker(int x, int startWidth, int stopLeft)
{
    return std::clamp(x, 0, std::max(0, stopLeft - startWidth));
}

int DragStopMarker(int x, int startLeft, int startWidth, int stopWidth, int width)
{
    return clampLowWins(x, startLeft + startWidth, width - stopWidth);
}

MarkerFractions FractionsForRange(int rangeLeft, int rangeRight, const SliderScale &s)
{
    const int span = s.scaleEnd - s.thumbMin;
    if (span <= 0)
        return {};
    return {float(double(rangeLeft - s.thumbMin) / span),
            float(double(rangeRight - s.thumbMin) / span)};
}

int MarkerNearPress(int x, int startLeft, int startRight, int stopLeft, int stopRight, int slack)
{
    const auto distance = [x](int left, int right) {
        return x < left ? left - x : x >= right ? x - right + 1 : 0;
    };
    const int toStart = distance(startLeft, startRight), toStop = distance(stopLeft, stopRight);
    if (std::min(toStart, toStop) > slack)
        return -1;
    return toStart <= toStop ? 1 : 0;
}

double PercentAfterStep(double percent, double duration, double seconds)
{
    if (duration <= 0)
        return percent;
    return std::clamp(percent + seconds * 100.0 / duration, 0.0, 100.0);
}
