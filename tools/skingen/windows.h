#pragma once

#include "tools/skingen/skinfile.h"

#include <QString>

// Each draws one window's bitmaps into folder and adds its section.
void WriteMainWindow(SkinFile &ini, const QString &folder);
void WriteProgressWindow(SkinFile &ini, const QString &folder);
void WriteProfileWindow(SkinFile &ini, const QString &folder);
void WriteAboutWindow(SkinFile &ini, const QString &folder);
// The "Colours" section: the palette of the program's ordinary widgets
// (boxes, menus, choosers, the profile list).
void WriteColours(SkinFile &ini);
