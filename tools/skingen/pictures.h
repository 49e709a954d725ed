#pragma once

#include <QString>

// The splash picture (startup.jpg) and the five device pictures shown in the
// preview while nothing plays.
void WriteSplash(const QString &folder);
void WriteDevicePictures(const QString &folder);
