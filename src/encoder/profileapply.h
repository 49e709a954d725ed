// Turning a profile line into the command line's profile fields.
#pragma once

#include "encoder/convertdef.h"

#include <QString>

// The entry that ends the profile list and opens the editor.
inline const QString AddMyProfileText = QStringLiteral("Add my profile...");

enum class ApplyResult
{
    Applied,
    AddEntry,      // the "Add my profile..." entry: not a profile
    BadResolution, // a line whose frame size is two characters or shorter
};

// Turns a profile line into the encoder settings of def for the container
// format of the current device kind; width and height receive the frame
// size used for keep-ratio padding. The codecs are set even when the line
// is then refused for its resolution.
ApplyResult ApplyProfileLine(const QString &line, const QString &format, ConvertDef &def,
                             int &width, int &height);
