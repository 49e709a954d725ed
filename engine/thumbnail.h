// The clip list's picture of a clip.
#pragma once

#include <string>

namespace zelo {

struct Box
{
    int x = 0, y = 0, width = 0, height = 0;
};

// Where a picture of the given displayed size lands when fitted, aspect
// kept, into a frame of boxWidth x boxHeight (even sizes and offsets, so
// that 4:2:0 chroma lines up with the bands).
Box fitInside(int width, int height, int boxWidth, int boxHeight);

// Writes a JPEG of the frame shown at `second` (the middle frame of shorter
// clips, the first decodable frame when seeking fails) to target, exactly
// `size` ("80x60") big with black bands, at least 1 KiB long. False with a
// reason, and nothing at target, when no frame can be decoded.
bool writeThumbnail(const std::string &path, int second, const std::string &size,
                    const std::string &target, std::string &error);

} // namespace zelo
