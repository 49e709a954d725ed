#pragma once

// The clip list's scrolling arithmetic: a thumb that travels between two
// tops, a list that scrolls by whole rows of RowStep pixels.
namespace listmath {

inline constexpr int RowStep = 66;
inline constexpr int TopMargin = 2;

// Where the thumb stands within its travel, 0 to 1, single precision; 0 when
// the thumb cannot travel at all.
float ScrollFraction(int top, int minimum, int maximum);

// Rows that must scroll out of sight before the last row shows whole within
// viewHeight (the list's height less any floor drawn over its bottom); never
// negative. A list of any height can thus bring every row into full view.
int HiddenRows(int contentHeight, int viewHeight);

// Rows scrolled out of sight for a thumb at the given fraction.
int ScrolledRows(int hiddenRows, float fraction);

// A thumb top bounded to [minimum, maximum]; the minimum when the bounds are
// crossed.
int ClampThumb(int top, int minimum, int maximum);

// The thumb's top for a click at y within the track.
int TrackClickTop(int y, int thumbHeight, int minimum, int maximum);

// How many thumb positions the scroll buttons step through (one more than
// the hidden rows); 0, and the buttons do nothing, when the content is at
// least a row shorter than the view.
int ScrollPositions(int contentHeight, int viewHeight);

// The lowest thumb top at which exactly min(rows, hiddenRows) rows are
// scrolled away (rows below 0 count as 0): the wheel and the keys move the
// list a whole row at a time through it.
int ThumbTopForRows(int rows, int hiddenRows, int minimum, int maximum);

// How far one press of a scroll button moves the thumb; 0 when the buttons
// do nothing (no row to scroll to).
int ButtonStep(int contentHeight, int viewHeight, int minimum, int maximum);

} // namespace listmath
