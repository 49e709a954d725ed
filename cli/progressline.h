// zelo-convert's progress lines, for a terminal and for a log.
#pragma once

#include <QString>

// One clip's progress as a terminal line, e.g.
//   holiday.avi  [##########----------]  50%  00:01:16  2.4x
// width is the terminal's width; the name is shortened to fit.
QString ProgressBarLine(const QString &name, int percent, int currentSecond, double speed,
                        int width);

// The same as a plain log line, for output that is not a terminal.
QString ProgressPlainLine(const QString &name, int percent, int currentSecond);
