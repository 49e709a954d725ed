#include "tools/skingen/icons.h"

#include "tools/skingen/theme.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace {
QPainterPath polyline(std::initializer_list<QPointF> points, bool closed = false)
{
    QPainterPath path;
    auto it = points.begin();
    path.moveTo(*it);
    for (++it; it != points.end(); ++it)
        path.lineTo(*it);
    if (closed)
        path.closeSubpath();
    return path;
}

void stroke(QPainter &p, const QPainterPath &path)
{
    p.strokePath(path, p.pen());
}

void fill(QPainter &p, const QPainterPath &path)
{
    p.fillPath(path, p.pen().color());
    stroke(p, path); // rounds the corners of filled shapes
}

QPainterPath triangle(qreal x0, qreal x1, qreal top, qreal bottom)
{
    return polyline({{x0, top}, {x1, (top + bottom) / 2}, {x0, bottom}}, true);
}
} // namespace

void DrawIcon(QPainter &p, Icon icon, const QRectF &box, const QColor &colour)
{
    if (icon == Icon::None)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.topLeft());
    p.scale(box.width() / 24.0, box.height() / 24.0);
    QPen pen(colour, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (icon) {
    case Icon::Play:
        fill(p, triangle(8, 19, 5, 19));
        break;
    case Icon::Pause:
        fill(p, polyline({{7.5, 5.5}, {9.5, 5.5}, {9.5, 18.5}, {7.5, 18.5}}, true));
        fill(p, polyline({{14.5, 5.5}, {16.5, 5.5}, {16.5, 18.5}, {14.5, 18.5}}, true));
        break;
    case Icon::Stop: {
        QPainterPath sq;
        sq.addRoundedRect(QRectF(6.5, 6.5, 11, 11), 1.5, 1.5);
        fill(p, sq);
        break;
    }
    case Icon::MarkIn:
        stroke(p, polyline({{8.5, 5}, {5, 5}, {5, 19}, {8.5, 19}}));
        fill(p, triangle(11, 19, 7.5, 16.5));
        break;
    case Icon::MarkOut:
        stroke(p, polyline({{15.5, 5}, {19, 5}, {19, 19}, {15.5, 19}}));
        fill(p, triangle(5, 13, 7.5, 16.5));
        break;
    case Icon::Add:
        stroke(p, polyline({{12, 5}, {12, 19}}));
        stroke(p, polyline({{5, 12}, {19, 12}}));
        break;
    case Icon::Remove:
        stroke(p, polyline({{4.5, 7}, {19.5, 7}}));
        stroke(p, polyline({{9.5, 7}, {9.5, 4.5}, {14.5, 4.5}, {14.5, 7}}));
        stroke(p, polyline({{6.5, 7}, {7.5, 19.5}, {16.5, 19.5}, {17.5, 7}}));
        stroke(p, polyline({{10.5, 10.5}, {10.5, 16}}));
        stroke(p, polyline({{13.5, 10.5}, {13.5, 16}}));
        break;
    case Icon::Edit:
        stroke(p, polyline({{15.5, 4.5}, {19.5, 8.5}, {9, 19}, {5, 19}, {5, 15}}, true));
        stroke(p, polyline({{13, 7}, {17, 11}}));
        break;
    case Icon::Convert:
        // Two arrows passing each other: one format in, another out.
        stroke(p, polyline({{4.5, 8.5}, {18.5, 8.5}}));
        stroke(p, polyline({{15, 5}, {18.5, 8.5}, {15, 12}}));
        stroke(p, polyline({{19.5, 15.5}, {5.5, 15.5}}));
        stroke(p, polyline({{9, 12}, {5.5, 15.5}, {9, 19}}));
        break;
    case Icon::Close:
        stroke(p, polyline({{7, 7}, {17, 17}}));
        stroke(p, polyline({{17, 7}, {7, 17}}));
        break;
    case Icon::Minimise:
        stroke(p, polyline({{6.5, 13}, {17.5, 13}}));
        break;
    case Icon::Help: {
        QPainterPath q;
        q.moveTo(9, 9.5);
        q.cubicTo(9, 5.5, 15, 5.5, 15, 9.5);
        q.cubicTo(15, 12, 12, 12, 12, 14.5);
        stroke(p, q);
        p.setBrush(colour);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(12, 18.3), 1.4, 1.4);
        break;
    }
    case Icon::RatioFree:
        stroke(p, polyline({{3.5, 6}, {20.5, 6}, {20.5, 18}, {3.5, 18}}, true));
        stroke(p, polyline({{7, 12}, {17, 12}}));
        fill(p, polyline({{7.5, 9.8}, {6, 12}, {7.5, 14.2}}, true));
        fill(p, polyline({{16.5, 9.8}, {18, 12}, {16.5, 14.2}}, true));
        break;
    case Icon::RatioKept: {
        stroke(p, polyline({{3.5, 6}, {20.5, 6}, {20.5, 18}, {3.5, 18}}, true));
        QPainterPath inner;
        inner.addRoundedRect(QRectF(8.5, 9, 7, 6), 0.8, 0.8);
        fill(p, inner);
        break;
    }
    case Icon::Folder:
        stroke(p, polyline(
                      {{3.5, 6.5}, {9.5, 6.5}, {11.5, 8.5}, {20.5, 8.5}, {20.5, 18.5}, {3.5, 18.5}},
                      true));
        stroke(p, polyline({{3.5, 11}, {20.5, 11}}));
        break;
    case Icon::Ok:
        stroke(p, polyline({{5.5, 12.5}, {10, 17}, {18.5, 7.5}}));
        break;
    case Icon::Home:
        stroke(p, polyline({{3.5, 11.5}, {12, 4.5}, {20.5, 11.5}}));
        stroke(p, polyline({{6, 10}, {6, 19.5}, {18, 19.5}, {18, 10}}));
        stroke(p, polyline({{10.3, 19.5}, {10.3, 14.5}, {13.7, 14.5}, {13.7, 19.5}}));
        break;
    case Icon::Mail: {
        QPainterPath env;
        env.addRoundedRect(QRectF(3.5, 6, 17, 12), 2, 2);
        stroke(p, env);
        stroke(p, polyline({{4.5, 7.5}, {12, 13}, {19.5, 7.5}}));
        break;
    }
    case Icon::ChevronUp:
        stroke(p, polyline({{6.5, 14.5}, {12, 9}, {17.5, 14.5}}));
        break;
    case Icon::ChevronDown:
        stroke(p, polyline({{6.5, 9.5}, {12, 15}, {17.5, 9.5}}));
        break;
    case Icon::None:
        break;
    }
    p.restore();
}

void DrawLogo(QPainter &p, const QRectF &box)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(box.topLeft(), box.bottomRight());
    g.setColorAt(0, Theme::AccentHi);
    g.setColorAt(1, Theme::Violet);
    QPainterPath tile;
    const qreal r = box.width() * 0.26;
    tile.addRoundedRect(box, r, r);
    p.fillPath(tile, g);
    // A play triangle whose tip runs on into an arrow: playing turns into
    // converting.
    p.translate(box.topLeft());
    p.scale(box.width() / 24.0, box.height() / 24.0);
    QPainterPath play;
    play.moveTo(7.2, 6.5);
    play.lineTo(15.5, 12);
    play.lineTo(7.2, 17.5);
    play.closeSubpath();
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(play);
    p.setBrush(Qt::NoBrush);
    QPainterPath arrow;
    arrow.moveTo(15.8, 8.2);
    arrow.lineTo(19.2, 12);
    arrow.lineTo(15.8, 15.8);
    p.setPen(QPen(QColor(255, 255, 255, 200), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(arrow);
    p.restore();
}
