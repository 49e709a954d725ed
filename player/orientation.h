// Which way up a clip is meant to be seen, read from its display matrix, and
// the turn that shows a picture that way. mpv's software renderer aborts on
// clips it has to turn itself, so the player turns the pictures it drew.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct Orientation
{
    int turns = 0;         // clockwise quarter turns, after the mirror
    bool mirrored = false; // left and right swapped first

    bool upright() const { return turns == 0 && !mirrored; }
    bool quarter() const { return turns % 2 != 0; }
};

// The first picture stream's matrix; upright when the file has none or
// cannot be read.
Orientation OrientationOf(const char *path);

// The same turn as a libavfilter chain ("" when upright).
std::string TurnFilter(Orientation o);

// Writes the turned picture of from (fromWidth x fromHeight pixels, rows
// fromStride pixels apart) to to (rows toStride pixels apart); a quarter turn
// swaps width and height.
void TurnPicture(const uint32_t *from, int fromWidth, int fromHeight, std::ptrdiff_t fromStride,
                 uint32_t *to, std::ptrdiff_t toStride, Orientation o);
