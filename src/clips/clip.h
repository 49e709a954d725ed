// One clip of the list: what the probe learnt of it and the trim the user
// chose. QtCore only: the thumbnail stays in plain pixels until a view
// paints it.
#pragma once

#include "encoder/clipprepare.h"
#include "encoder/probe.h"

struct Clip : ProbedClip
{
    int id = 0;        // stays the clip's own while it is in its list
    int startTime = 0; // trim, whole seconds: 0 <= startTime <= stopTime <= duration
    int stopTime = 0;
};
