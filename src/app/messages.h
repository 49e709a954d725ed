#pragma once

#include "engine/encoder.h"

// The private messages, by number. The player and the engine post theirs
// through the main window's message target, the add worker its notice. The
// clip list and the slider report by Qt signals instead (clipPreview,
// clipSelect, markerDropped): nothing posts 1156, 1157 or 1159, whose
// numbers are kept only so that the table stays whole.
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
