#pragma once

#include <QColor>
#include <QFont>

// One palette for every window: a deep slate chrome with a blue-to-violet
// accent, and light surfaces wherever the program draws black text of its own.
namespace Theme {
inline const QColor Chrome(0x11, 0x15, 0x1D);
inline const QColor ChromeTop(0x1A, 0x20, 0x2B);
inline const QColor Card(0x18, 0x1E, 0x28);
inline const QColor Raised(0x26, 0x2E, 0x3C);
inline const QColor RaisedHi(0x31, 0x3B, 0x4D);
inline const QColor Sunken(0x0E, 0x12, 0x19);
inline const QColor Line(0x2C, 0x35, 0x45);
inline const QColor TextHi(0xEE, 0xF2, 0xF8);
inline const QColor TextMid(0xA9, 0xB3, 0xC4);
inline const QColor TextLow(0x6B, 0x76, 0x8A);
inline const QColor Accent(0x3D, 0x8B, 0xFD);
inline const QColor AccentHi(0x63, 0xA3, 0xFF);
inline const QColor AccentLo(0x2A, 0x6C, 0xD8);
inline const QColor Violet(0x7C, 0x5C, 0xFF);
inline const QColor Amber(0xFF, 0xB5, 0x47);
inline const QColor Danger(0xE5, 0x48, 0x4D);
inline const QColor Surface(0xF2, 0xF4, 0xF8);
inline const QColor SurfaceCard(0xFF, 0xFF, 0xFF);
inline const QColor SurfaceLine(0xD6, 0xDC, 0xE6);
inline const QColor Ink(0x1E, 0x25, 0x32);
inline const QColor InkMuted(0x5B, 0x65, 0x77);
inline const QColor ListBack(0x14, 0x19, 0x22);

// The program's own face (Tahoma), bold or not, at a pixel size.
QFont Face(int pixels, bool bold = false);
} // namespace Theme
