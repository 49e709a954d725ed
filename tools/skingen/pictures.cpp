#include "tools/skingen/pictures.h"

#include "tools/skingen/canvas.h"
#include "tools/skingen/icons.h"
#include "tools/skingen/theme.h"

#include <QDir>
#include <QLinearGradient>
#include <QRadialGradient>

namespace {
constexpr int kPicW = 300, kPicH = 224;

void save(const QImage &img, const QString &folder, const QString &name)
{
    if (!SaveJpeg(img, folder + name))
        qFatal("cannot write %s", qPrintable(folder + name));
}

QImage stage()
{
    QImage img = NewCanvas(kPicW, kPicH, Qt::black);
    QPainter p(&img);
    Smooth(p);
    QRadialGradient g(QPointF(kPicW / 2.0, kPicH * 0.42), kPicW * 0.75);
    g.setColorAt(0, QColor(0x24, 0x2D, 0x3E));
    g.setColorAt(1, QColor(0x06, 0x08, 0x0C));
    p.fillRect(img.rect(), g);
    return img;
}

// A device body: a rounded slab with a light rim and a soft shadow beneath.
void body(QPainter &p, const QRectF &r, qreal radius)
{
    Shadow(p, r, radius, 10, 120);
    QLinearGradient shell(r.topLeft(), r.bottomLeft());
    shell.setColorAt(0, QColor(0x3A, 0x43, 0x55));
    shell.setColorAt(1, QColor(0x1E, 0x24, 0x30));
    p.setPen(QPen(QColor(0x5A, 0x66, 0x7C), 1.2));
    p.setBrush(shell);
    p.drawPath(Rounded(r, radius));
}

// A lit screen with a play mark, the same on every device.
void screen(QPainter &p, const QRectF &r, qreal radius)
{
    QLinearGradient lit(r.topLeft(), r.bottomRight());
    lit.setColorAt(0, QColor(0x2F, 0x7B, 0xF0));
    lit.setColorAt(1, QColor(0x6A, 0x4E, 0xE8));
    p.setPen(QPen(QColor(0x0A, 0x0D, 0x12), 2));
    p.setBrush(lit);
    p.drawPath(Rounded(r, radius));
    const qreal s = qMin(r.width(), r.height()) * 0.42;
    DrawIcon(p, Icon::Play, QRectF(r.center().x() - s / 2, r.center().y() - s / 2, s, s),
             QColor(255, 255, 255, 220));
}

void dot(QPainter &p, QPointF c, qreal r, const QColor &colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(c, r, r);
}

void caption(QPainter &p, const QString &title, const QString &note)
{
    Text(p, QRectF(0, 184, kPicW, 18), title, 13, true, Theme::TextHi, Qt::AlignCenter);
    Text(p, QRectF(0, 202, kPicW, 14), note, 10, false, Theme::TextLow, Qt::AlignCenter);
}

void phone(QPainter &p)
{
    const QRectF r(120, 22, 60, 150);
    body(p, r, 12);
    screen(p, QRectF(127, 36, 46, 56), 4);
    const QColor key(0x55, 0x60, 0x75);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            p.fillPath(Rounded(QRectF(129 + col * 15, 104 + row * 15, 12, 10), 3), key);
}

void handheld(QPainter &p)
{
    const QRectF r(44, 58, 212, 92);
    body(p, r, 40);
    screen(p, QRectF(98, 68, 104, 72), 4);
    const QColor pad(0x5E, 0x6A, 0x80);
    p.fillPath(Rounded(QRectF(60, 98, 24, 8), 2), pad);
    p.fillPath(Rounded(QRectF(68, 90, 8, 24), 2), pad);
    for (QPointF c : {QPointF(232, 92), QPointF(232, 112), QPointF(222, 102), QPointF(242, 102)})
        dot(p, c, 4, pad);
}

void player(QPainter &p)
{
    const QRectF r(112, 20, 76, 152);
    body(p, r, 12);
    screen(p, QRectF(120, 30, 60, 52), 4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD8, 0xDE, 0xE8));
    p.drawEllipse(QPointF(150, 128), 28, 28);
    dot(p, QPointF(150, 128), 10, QColor(0x2E, 0x36, 0x45));
    for (QPointF c : {QPointF(150, 106), QPointF(150, 150)})
        dot(p, c, 2.2, QColor(0x7A, 0x85, 0x99));
}

void pocketPc(QPainter &p)
{
    const QRectF r(100, 18, 100, 158);
    body(p, r, 10);
    screen(p, QRectF(108, 28, 84, 104), 3);
    const QColor key(0x5E, 0x6A, 0x80);
    for (int i = 0; i < 4; ++i)
        dot(p, QPointF(118 + i * 21.3, 154), 6, key);
    // The stylus, tucked beside the body.
    p.setPen(QPen(QColor(0x9A, 0xA5, 0xB8), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(212, 30), QPointF(212, 160));
}

void mediaPlayer(QPainter &p)
{
    const QRectF r(80, 40, 140, 118);
    body(p, r, 18);
    screen(p, QRectF(92, 52, 116, 70), 4);
    const QColor key(0x5E, 0x6A, 0x80);
    for (int i = 0; i < 3; ++i)
        p.fillPath(Rounded(QRectF(112 + i * 28, 134, 20, 10), 5), key);
}
} // namespace

void WriteDevicePictures(const QString &folder)
{
    struct Device
    {
        const char *file;
        void (*draw)(QPainter &);
        const char *title;
        const char *note;
    };
    const Device devices[] = {
        {"3gp.jpg", phone, "Mobile phone", "3GP video, small and light"},
        {"psp.jpg", handheld, "Handheld console", "Widescreen MP4 for play on the go"},
        {"ipod.jpg", player, "Music and video player", "MP4 video for your pocket player"},
        {"pda.jpg", pocketPc, "Pocket PC", "MP4 video for handheld organisers"},
        {"mp4.jpg", mediaPlayer, "MP4 player", "Plain MP4 for any player"},
    };
    for (const Device &d : devices) {
        QImage img = stage();
        QPainter p(&img);
        Smooth(p);
        d.draw(p);
        caption(p, d.title, d.note);
        p.end();
        save(img, folder, d.file);
    }
}

void WriteSplash(const QString &folder)
{
    constexpr int w = 446, h = 243;
    QImage img = NewCanvas(w, h, Theme::Chrome);
    QPainter p(&img);
    Smooth(p);
    QLinearGradient base(0, 0, w, h);
    base.setColorAt(0, QColor(0x16, 0x1C, 0x28));
    base.setColorAt(1, QColor(0x0C, 0x0F, 0x15));
    p.fillRect(img.rect(), base);
    QRadialGradient glow(QPointF(w * 0.82, h * 0.1), w * 0.7);
    glow.setColorAt(0, QColor(0x7C, 0x5C, 0xFF, 90));
    glow.setColorAt(1, QColor(0x7C, 0x5C, 0xFF, 0));
    p.fillRect(img.rect(), glow);
    QRadialGradient glow2(QPointF(w * 0.1, h * 1.0), w * 0.6);
    glow2.setColorAt(0, QColor(0x3D, 0x8B, 0xFD, 80));
    glow2.setColorAt(1, QColor(0x3D, 0x8B, 0xFD, 0));
    p.fillRect(img.rect(), glow2);

    Shadow(p, QRectF(40, 62, 72, 72), 18, 12, 90);
    DrawLogo(p, QRectF(40, 62, 72, 72));
    Text(p, QRectF(132, 66, 300, 34), "Zelo 3GP Converter", 26, true, Theme::TextHi);
    Text(p, QRectF(133, 100, 300, 18), "Version 2.1", 13, false, Theme::AccentHi);
    Text(p, QRectF(133, 118, 300, 18), "Video for phones, players and handhelds", 12, false,
         Theme::TextMid);

    QLinearGradient line(40, 0, w - 40, 0);
    line.setColorAt(0, Theme::Accent);
    line.setColorAt(1, Theme::Violet);
    p.fillPath(Rounded(QRectF(40, 188, w - 80, 3), 1.5), line);
    Text(p, QRectF(40, 198, 200, 16), "Starting\u2026", 11, false, Theme::TextLow);
    p.setPen(QPen(QColor(0x33, 0x3D, 0x4F), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    p.end();
    save(img, folder, "startup.jpg");
}

bool WriteAppIcons(const QString &folder, const QString &name)
{
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        Smooth(p);
        // A small margin keeps the tile's corners off the icon's edge, as
        // desktop icons are drawn.
        const qreal margin = size <= 24 ? 0.5 : size / 16.0;
        DrawLogo(p, QRectF(margin, margin, size - 2 * margin, size - 2 * margin));
        p.end();
        const QString dir = QStringLiteral("%1/%2x%2/apps/").arg(folder).arg(size);
        if (!QDir().mkpath(dir) || !img.save(dir + name + QStringLiteral(".png"), "PNG"))
            return false;
    }
    return true;
}
