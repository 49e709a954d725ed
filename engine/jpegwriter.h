// Still pictures for the clip list.
#pragma once

#include "engine/avptr.h"

#include <string>

namespace zelo {

// Encodes one yuvj420p frame as a baseline JPEG. Empty with a reason on
// failure.
std::string encodeJpeg(const AVFrame *frame, std::string &error);

// Grows a JPEG to at least minBytes with a comment segment right after the
// start marker. The program takes a picture below 1 KiB for a failed one,
// and a flat black frame easily compresses below that.
void padJpeg(std::string &jpeg, size_t minBytes);

// Writes bytes to path in one go; on any failure nothing is left at path.
bool writeWholeFile(const std::string &path, const std::string &bytes, std::string &error);

} // namespace zelo
