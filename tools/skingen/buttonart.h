#pragma once

#include "tools/skingen/icons.h"
#include "tools/skingen/skinfile.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

// How a button looks in its four states.
enum class Look
{
    Ghost,       // icon only on the dark chrome; a tile appears under the mouse
    GhostDanger, // the close button: its tile is red
    Primary,     // the accent gradient, for the one main action of a window
    Secondary,   // a raised tile on the dark chrome
    Light,       // a white tile on the light surfaces
    Danger,      // a red tile on the light surfaces
    Selected,    // a toggle that is on: an accent tile
};

// What plays while the mouse rests on a button.
enum class Motion
{
    Fade,  // the hover look fades in once
    Sheen, // a light sweeps across, again after a pause
};

struct ButtonArt
{
    QString key;  // the control's skin key
    QString file; // file name stem in the skin folder
    QRect rect;   // place in the window
    Look look = Look::Ghost;
    Icon icon = Icon::None;
    QString label;
    QString tip;
    Motion motion = Motion::Fade;
    qreal radius = 7;
    int textPixels = 12;
};

enum class State
{
    Normal,
    Hover,
    Pressed,
    Disabled
};

// One state of a button, drawn over what the window shows beneath it
// (backdrop, the button's size) with the outline cut in magenta.
QImage RenderButton(const ButtonArt &art, const QImage &backdrop, State state);

// Writes the state strip (normal, hover, pressed, disabled) and the
// animation strip of an animated button; returns its record.
Record WriteAnimatedButton(const ButtonArt &art, const QImage &background, const QString &folder);

// Writes both strips of a toggle (off and on, four states each); returns its
// record with the two tooltips joined by "#".
Record WriteToggleButton(const ButtonArt &off, const ButtonArt &on, const QImage &background,
                         const QString &folder);

// Slices side by side, as a strip.
QImage Strip(const QList<QImage> &slices);
