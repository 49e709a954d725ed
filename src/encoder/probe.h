#pragma once

#include "engine/encoder.h"

#include <QString>

// The words the program uses when files cannot be added.
inline const QString RefusedFilesText =
    QStringLiteral("Unsupported or Damaged video file(s) can not add to list!");

// The program refuses clips whose video format names RealVideo ("rv") or
// is unknown ("unknow"), compared without regard to case.
bool RefusedVideoFormat(const QString &videoFormat);

// A thumbnail file is usable when it holds at least 1 KiB.
bool UsableThumbnail(const QString &path);

// The scratch file a probe writes its thumbnail to.
QString SnapshotFile(int snapIndex);
