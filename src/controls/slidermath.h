#pragma once

// The position and trim slider's arithmetic, apart from its widget. The
// thumb runs on one scale (its left edge from thumbMin to thumbMax), the
// markers on another (fractions 0..1 across thumbMin..scaleEnd).

struct SliderScale
{
    int thumbMin = 0; // start-marker width, 0 without markers
    int thumbMax = 0; // width - thumb width - stop-marker width
    int scaleEnd = 0; // width - stop-marker width
    int width = 0;
};

// Where the thumb's left edge may go: the minimum wins when the maximum
// lies below it.
int ClampThumbLeft(int x, const SliderScale &s);
// The percent a thumb left edge stands for; 0 when the thumb has no travel.
double PercentAtThumbLeft(int x, const SliderScale &s);
// The thumb left edge showing percent p (p >= 0), truncated toward zero.
int ThumbLeftForPercent(double p, const SliderScale &s);
// The thumb left edge after a press at x on the slider's face.
int ThumbLeftForFaceClick(int x, int thumbWidth);

struct MarkerPlacement
{
    int startLeft = 0;
    int stopLeft = 0;
    int rangeLeft = 0;
    int rangeWidth = 0;
    bool enabled = false; // false: the markers rest at the two ends
};

// Places the markers for fractions a and b. Both negative: rest (start at 0,
// stop at scaleEnd, no range). Otherwise the start marker goes first, bounded
// by where the stop marker stood before (stopLeftBefore), then the stop
// marker, bounded by the new start marker and the control's right end.
// Fractions that are not numbers count as 0.
MarkerPlacement PlaceMarkers(double a, double b, const SliderScale &s, int startWidth,
                             int stopWidth, int stopLeftBefore);
// Without marker strips only the range image shows the trim, from d to e.
MarkerPlacement PlaceRange(double a, double b, const SliderScale &s);

// A start marker dragged to x stops where its right edge meets the stop
// marker; a stop marker stops at the start marker and at the right end.
int DragStartMarker(int x, int startWidth, int stopLeft);
int DragStopMarker(int x, int startLeft, int startWidth, int stopWidth, int width);

// The marker a press at x on the slider's face takes, when it falls within
// slack pixels of a marker's pole (left to right edge, exclusive): 1 the
// start marker, 0 the stop marker (the nearer pole wins), -1 neither.
int MarkerNearPress(int x, int startLeft, int startRight, int stopLeft, int stopRight, int slack);

struct MarkerFractions
{
    float start = 0;
    float stop = 0;
};
// The trim fractions for a range running from left to right edge; 0 when
// the scale has no length.
MarkerFractions FractionsForRange(int rangeLeft, int rangeRight, const SliderScale &s);

// The percent after a key moves the thumb by seconds (negative: back) in a
// clip of duration seconds, kept within the clip; unchanged without a length.
double PercentAfterStep(double percent, double duration, double seconds);
