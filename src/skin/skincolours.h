#pragma once

// The colours of the skin for the program's ordinary widgets: message boxes,
// the context menu, the file and folder choosers and the profile list, so
// they look like the rest of the skinned program. They come from the
// "Colours" section of Skin.ini, one "#rrggbb" value per palette role.

#include <QPalette>

class IniFile;
class QComboBox;

// The keys of the "Colours" section and the roles they set.
struct SkinColourKey
{
    const char *key;
    QPalette::ColorRole role;
};
extern const SkinColourKey SkinColourKeys[11];

// The fallback with every role the skin names replaced; a role whose value
// is missing or no colour keeps the fallback's. Disabled texts are a blend
// of the text and its ground, so they stay readable in dark and light skins.
QPalette SkinPalette(const IniFile &skin, const QPalette &fallback);

// Gives message boxes, file and folder choosers, menus and tooltips the
// colours, for the rest of the program's run.
void ApplySkinColours(const QPalette &colours);

// The profile list dressed in the skin's colours (its place and font stay
// the window's), its popup wide enough for the longest line.
void DressProfileList(QComboBox *list, const QPalette &colours);
