#pragma once

#include <QString>

// The splash picture (startup.jpg) and the five device pictures shown in the
// preview while nothing plays.
void WriteSplash(const QString &folder);
void WriteDevicePictures(const QString &folder);
// The application icon as PNGs in the hicolor theme's sizes:
// folder/<n>x<n>/apps/<name>.png. False when a file cannot be written.
bool WriteAppIcons(const QString &folder, const QString &name);
