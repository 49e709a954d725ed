#pragma once

#include "skin/skinsource.h"

#include <QString>

class QWidget;

// The one message a broken skin gives.
inline const QString SkinErrorText =
    QStringLiteral("Some Errors In Skin File.\nRe-install program may solve this problem!");

// Dresses every skinnable component of window (its component list, in
// creation order) from the section named after the window's object name in
// folder + "Skin.ini", then cuts the window's outline. False without a word
// when Skin.ini is missing; false after the error box when a control's
// record is bad, the controls after it left as they were.
bool LoadSkin(QWidget *window, const QString &folder);

// The window's outline from the bitmap named by "MaskBmp": the mask's
// rectangle without its magenta pixels. No key or no such file: the window
// stays as it is.
void ShapeWindow(QWidget *window, const SkinSource &skin);
