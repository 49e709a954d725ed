#pragma once

#include <QImage>
#include <QString>

class QWidget;

// Why the on-screen tests cannot run here (no display server to start);
// empty when they can.
extern QString ScreenMissing;
// What the display shows of widget, as the user would see it.
QImage ScreenShot(QWidget *widget);
// Types one key (an xkb name, "Return") into focus, through the display
// server where the display has one that takes typed keys (Wayland: wtype).
void TypeKey(QWidget *focus, const char *name);
