#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

// The skin's icon set, drawn on a 24-unit grid and scaled to the box.
enum class Icon
{
    Play,
    Pause,
    Stop,
    MarkIn,
    MarkOut,
    Add,
    Remove,
    Edit,
    Convert,
    Close,
    Minimise,
    Help,
    RatioFree,
    RatioKept,
    Folder,
    Ok,
    Home,
    Mail,
    ChevronUp,
    ChevronDown,
    None,
};

void DrawIcon(QPainter &p, Icon icon, const QRectF &box, const QColor &colour);

// The product's mark: a rounded tile in the accent gradient with a play
// triangle turning into an arrow.
void DrawLogo(QPainter &p, const QRectF &box);
