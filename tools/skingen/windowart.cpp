#include "tools/skingen/windowart.h"

#include "tools/skingen/canvas.h"
#include "tools/skingen/icons.h"
#include "tools/skingen/theme.h"

#include <QLinearGradient>

namespace {
QPainterPath outline(int w, int h)
{
    return Rounded(QRectF(0, 0, w, h), WindowRadius);
}

void edge(QPainter &p, int w, int h, const QColor &colour)
{
    p.setPen(QPen(colour, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Rounded(QRectF(0.5, 0.5, w - 1, h - 1), WindowRadius - 0.5));
}
} // namespace

QImage ChromeWindow(int w, int h)
{
    QImage img = NewCanvas(w, h, Theme::Chrome);
    QPainter p(&img);
    Smooth(p);
    QLinearGradient body(0, 0, 0, h);
    body.setColorAt(0, QColor(0x15, 0x1A, 0x24));
    body.setColorAt(1, QColor(0x0F, 0x13, 0x1A));
    p.fillRect(img.rect(), body);
    edge(p, w, h, QColor(0x33, 0x3D, 0x4F));
    return img;
}

QImage DialogWindow(int w, int h, const QString &title, bool dark)
{
    QImage img = dark ? ChromeWindow(w, h) : NewCanvas(w, h, Theme::Surface);
    QPainter p(&img);
    Smooth(p);
    QLinearGradient bar(0, 0, 0, DialogTitleHeight);
    bar.setColorAt(0, Theme::ChromeTop);
    bar.setColorAt(1, Theme::Chrome);
    p.fillRect(QRect(0, 0, w, DialogTitleHeight), bar);
    // A hairline of the accent under the title bar ties the dialogs to the
    // main window's gradient.
    QLinearGradient line(0, 0, w, 0);
    line.setColorAt(0, Theme::Accent);
    line.setColorAt(1, Theme::Violet);
    p.fillRect(QRect(0, DialogTitleHeight, w, 2), line);
    DrawLogo(p, QRectF(10, 6, 16, 16));
    Text(p, QRectF(34, 0, w - 80, DialogTitleHeight), title, 12, true, Theme::TextHi);
    edge(p, w, h, dark ? QColor(0x33, 0x3D, 0x4F) : QColor(0x9A, 0xA5, 0xB8));
    return img;
}

Record WriteBackground(const QImage &face, const QString &stem, const QString &folder,
                       QString *maskFile)
{
    const int w = Size1x(face).width(), h = Size1x(face).height();
    QImage mask = NewCanvas(w, h, Qt::black);
    CutOutside(mask, outline(w, h));
    const QString bg = stem + QStringLiteral("_bg.bmp");
    *maskFile = stem + QStringLiteral("_mask.bmp");
    if (!SaveBitmap(face, folder + bg) || !SaveBitmap(mask, folder + *maskFile))
        qFatal("cannot write the %s window", qPrintable(stem));
    Record r;
    r.set(1, bg).set(4, 0).set(5, 0).set(6, w).set(7, h).set(8, 1).set(9, 0).set(11, 0);
    r.set(13, 1).set(14, 1);
    return r;
}

void Caption(QPainter &p, int x, int y, const QString &text, const QColor &colour)
{
    p.save();
    QFont f = Theme::Face(10, true);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(QPointF(x, y), text.toUpper());
    p.restore();
}
