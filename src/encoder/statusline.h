// Reading the engine's status lines: what kind of line it is, and what a
// progress line means for the display.
#pragma once

#include <QString>

// The engine's lines: progress ("... time=6.00 bitrate= ..."), a failure's
// reason ("error: ..." without "time="), something the output lacks
// although it completes ("warning: ..."), the output's final name when it
// differs from the one asked for ("output: <path>"), and anything else,
// which the program passes over.
enum class StatusLineKind
{
    Progress,
    Failure,
    Warning,
    OutputName,
    Other,
};

struct StatusLineClass
{
    StatusLineKind kind = StatusLineKind::Other;
    QString detail; // the failure's reason, the warning, or the output's path
};

StatusLineClass ClassifyStatusLine(const QString &line);

// What one engine status line means for the progress display.
struct StatusProgress
{
    bool apply = false;    // false: the value lies beyond the clip; show nothing new
    int clipPercent = 0;   // of the current clip
    int currentSecond = 0; // position reached in the source
};

// The seconds of output a status line reports: the number between "time"
// plus one separator and "bitrate"; 0 when there is none.
float StatusLineSeconds(const QString &line);

// Reads a status line for a clip that starts at clipStart and lasts
// clipDuration seconds. Values more than a second past the end are ignored;
// a clip of no length shows 0 %.
StatusProgress ReadStatusLine(const QString &line, int clipStart, int clipDuration);

// Percentage of the whole batch: clip index (0-based) and its percentage
// over the clip count; 0 for an empty list.
int BatchPercent(int currentClip, int clipPercent, int clipCount);

// Left edge of a progress bar image of the given width that slides in a
// 280-pixel panel.
int BarLeft(int percent, int barWidth);
