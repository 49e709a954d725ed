#pragma once

// The clip list's scrolling arithmetic: a thumb that travels between two
// tops, a list that scrolls by whole rows of RowStep pixels.
namespace listmath {

inline constexpr int RowStep = 66;
inline constexpr int TopMargin = 2;

// Where the thumb stands within its travel, 0 to 1, single precision; 0 when
// the thumb cannot travel at all.
float ScrollFraction(int top, int minimum, int maximum);

// Rows that do not fit the list's height; never negative.
int HiddenRows(int contentHeight, int listHeight);

// Rows scrolled out of sight for a thumb at the given fraction.
int ScrolledRows(int hiddenRows, float fraction);

// A thumb top bounded to [minimum, maximum]; the minimum when the bounds are
// crossed.
int ClampThumb(int top, int minimum, int maximum);

// The thumb's top for a click at y within the track.
int TrackClickTop(int y, int thumbHeight, int minimum, int maximum);

// How many thumb positions the scroll buttons step through; below 1 the
// buttons do nothing.
int ScrollPositions(int contentHeight, int listHeight);

// How far one press of a scroll button moves the thumb; 0 when the buttons
// do nothing (no row to scroll to).
int ButtonStep(int contentHeight, int listHeight, int minimum, int maximum);

} // namespace listmath
