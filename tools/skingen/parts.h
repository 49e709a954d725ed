#pragma once

#include "tools/skingen/skinfile.h"

#include <QImage>
#include <QRect>
#include <QString>

// The clip list's scrollbar and background, placed at rect; returns the
// TP_ImageList record.
Record WriteClipListParts(const QRect &rect, const QString &folder);
// The position and trim slider at pos, width wide, drawn over the window's
// background; returns the TP_Progress record.
Record WriteSliderParts(QPoint pos, int width, const QImage &background, const QString &folder);
// The slider's face is this high; its parts are centred on it.
inline constexpr int SliderHeight = 20;
