#pragma once

#include <QString>

// What the desktop's window system lets a program do with its own top-level
// windows, by the name of Qt's platform plugin (QGuiApplication::
// platformName()). Where a plugin cannot do a thing, Qt prints a warning
// and nothing happens, so the program asks here first and takes the other
// way.

// Whether a window may move itself; under Wayland only the compositor moves
// windows, on request (QWindow::startSystemMove).
bool WindowMovesItself(const QString &platform);

// Whether a window's opacity shows (a fade); elsewhere it appears and goes.
bool WindowOpacityShows(const QString &platform);

// Whether a widget mask cuts the window's outline on screen. Under Wayland
// it only limits where input goes; the outline comes from a see-through
// window painted only inside the mask.
bool MaskShapesWindow(const QString &platform);
