#pragma once

#include "encoder/probe.h"

#include <QApplication>
#include <QColor>
#include <QEnterEvent>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QString>

// Pictures for skin tests: strips whose slices are told apart by colour.

// A probed clip as the adder hands it to the list, its thumbnail one colour.
inline ProbedClip ProbedTestClip(const QString &path, int duration, QColor colour = Qt::darkBlue)
{
    QImage t(80, 60, QImage::Format_RGB32);
    t.fill(colour);
    ProbedClip clip{path, duration, "mpeg4", "mp3", 320, 240, {}};
    clip.thumbnail = JpegPixels{
        80, 60, QByteArray(reinterpret_cast<const char *>(t.constBits()), t.sizeInBytes())};
    return clip;
}

// A strip of w x h slices, one per colour, left to right, plus extra pixels.
inline QImage ColourStrip(int w, int h, const QList<QColor> &colours, int extra = 0)
{
    QImage strip(w * int(colours.size()) + extra, h, QImage::Format_RGB32);
    strip.fill(Qt::darkGray);
    QPainter p(&strip);
    for (int i = 0; i < colours.size(); ++i)
        p.fillRect(i * w, 0, w, h, colours[i]);
    return strip;
}

// The colour a button or frame shows, read from the middle of its image.
inline QColor Centre(const QImage &image)
{
    return image.isNull() ? QColor() : QColor(image.pixel(image.width() / 2, image.height() / 2));
}

inline void SendEnter(QWidget *w)
{
    QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(w, &e);
}

inline void SendLeave(QWidget *w)
{
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
}

inline bool SaveBmp(const QImage &image, const QString &path)
{
    return image.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
}
