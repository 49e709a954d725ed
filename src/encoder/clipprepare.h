// Filling a command line's clip fields from one clip of a batch.
#pragma once

#include "encoder/convertdef.h"

#include <QList>
#include <QString>

// What the command line needs of one clip of the list.
struct ClipToConvert
{
    QString path;
    int startTime = 0;
    int stopTime = 0;
    int videoWidth = 0;
    int videoHeight = 0;
};

// Where and how the batch writes.
struct OutputTarget
{
    QString folder;    // with a trailing separator
    QString extension; // ".3gp" or ".MP4"
    bool keepRatio = false;
    int width = 0; // the applied profile's frame size
    int height = 0;
};

// One clip of a batch as it stood when the batch started: removing or
// re-trimming the clip afterwards does not change what the batch converts.
struct ConvertJob
{
    ClipToConvert clip;
    OutputTarget target;
    ConvertDef profile; // the applied profile's fields; its clip fields stay empty
};

// Fills the clip fields of def: trim, input, volume, the output name in the
// folder (the engine numbers it when taken), and the pads.
void PrepareClipDef(ConvertDef &def, const ClipToConvert &clip, const OutputTarget &target);
// The jobs of a batch: each clip with the same target and profile.
QList<ConvertJob> MakeJobs(const QList<ClipToConvert> &clips, const OutputTarget &target,
                           const ConvertDef &profile);
// The whole command line of a job: its profile's fields, then its clip's.
ConvertDef JobDef(const ConvertJob &job);
