#pragma once

#include "engine/encoder.h"

// The private messages the main window handles, by number. The clip list
// and the slider deliver theirs as Qt signals of the same names; the
// numbers stay for the libraries that post them.
enum WindowMessage : unsigned
{
    WM_PLAYER_HOOK = WM_USER + 130, // the player registers its callback
    WM_PLAYER_IGNORED = WM_USER + 131,
    WM_CLIP_PREVIEW = WM_USER + 132, // preview the selected clip
    WM_CLIP_SELECT = WM_USER + 133,  // an entry was pressed (or the list emptied)
    WM_PLAYER_EVENT = WM_USER + 134,
    WM_TRIM_CHANGED = WM_USER + 135,
    WM_PROBE_FAILED = WM_USER + 136,    // files of an add request were refused
    WM_PLAYER_FRAME = WM_USER + 137,    // the player has a new picture for the panel
    WM_PLAYER_CALLBACK = WM_USER + 138, // the player's event callback, handed over
};
static_assert(WM_CONVERT_DONE == 1212 && WM_PROBE_FAILED == 1160);
