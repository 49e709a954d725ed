#pragma once

#include <QImage>
#include <QString>

class QWidget;

extern QString ScreenMissing;       // why the tests cannot run here, or empty
QImage ScreenShot(QWidget *widget); // widget as the display shows it
// One key (an xkb name) into focus, through the display server if it has one.
void TypeKey(QWidget *focus, const char *name);
