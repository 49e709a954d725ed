#include "controls/imageitem.h"

#include "clips/cliplist.h"
#include "controls/pathelision.h"
#include "controls/picture.h"
#include "platform/nativepath.h"
#include "platform/pubfunction.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

const QColor Image_Item::Grey = QColor(128, 128, 128);
const QColor Image_Item::Green = QColor(0, 255, 0);
const QColor Image_Item::Red = QColor(255, 0, 0);

namespace {
QFont entryFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    return font;
}

// Text is placed by its top-left corner, as the entry's layout is given.
void drawTextAt(QPainter &p, int x, int y, const QString &text)
{
    QFontMetrics fm(p.font());
    p.drawText(x, y + fm.ascent(), text);
}
} // namespace

Image_Item::Image_Item(const ClipList *clips, int clipId, QWidget *parent)
    : QWidget(parent), m_clips(clips), m_clipId(clipId)
{
    setFixedSize(ItemWidth, ItemHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    hide();

    const Clip &c = clip();
    m_picture = QImage(ItemWidth, ItemHeight, QImage::Format_RGB32);
    QPainter p(&m_picture);
    p.setFont(entryFont());
    p.fillRect(m_picture.rect(), Grey);
    p.drawImage(2, 2, PixelsImage(c.thumbnail));
    p.setPen(Qt::black);
    // The path gives way in its middle at the frame, never the file's name;
    // the tooltip has it whole.
    const QString caption = QStringLiteral("Clip Name : ");
    const int room = ItemWidth - 4 - 90 - QFontMetrics(p.font()).horizontalAdvance(caption);
    drawTextAt(p, 90, 4,
               caption + ElidePathKeepingName(ShownName(c.path), QFontMetrics(p.font()), room));
    setToolTip(ShownName(c.path));
    drawTextAt(p, 90, 18, QStringLiteral("Clip Duration : ") + TimeText(c.duration));
    drawTextAt(p, 250, 18, QStringLiteral("Clip Resolution : %1x%2").arg(c.width).arg(c.height));
    drawTextAt(p, 90, 32, QStringLiteral("Video Format : ") + c.videoFormat);
    drawTextAt(p, 250, 32, QStringLiteral("Audio Format : ") + c.audioFormat);
    p.end();
    drawTimeLine();
    drawFrame(Qt::black);
    if (m_clips)
        connect(m_clips, &ClipList::trimChanged, this, [this](int id) {
            if (id == m_clipId)
                drawTimeLine();
        });
}

const Clip &Image_Item::clip() const
{
    static const Clip gone;
    const Clip *c = m_clips ? m_clips->find(m_clipId) : nullptr;
    return c ? *c : gone;
}

void Image_Item::drawTimeLine()
{
    if (m_picture.isNull())
        return;
    const QRect line(90, 46, ItemWidth - 3 - 90, ItemHeight - 3 - 46);
    QPainter p(&m_picture);
    p.fillRect(line, Grey);
    p.setFont(entryFont());
    p.setPen(Qt::black);
    drawTextAt(p, 90, 46, QStringLiteral("Start Time : ") + TimeText(clip().startTime));
    drawTextAt(p, 250, 46, QStringLiteral("Stop Time : ") + TimeText(clip().stopTime));
    p.end();
    update(line);
}

void Image_Item::drawFrame(const QColor &colour)
{
    if (m_picture.isNull())
        return;
    // A two-pixel band along every edge.
    QPainter p(&m_picture);
    const QRect r = m_picture.rect();
    p.fillRect(QRect(0, 0, r.width(), 2), colour);
    p.fillRect(QRect(0, r.height() - 2, r.width(), 2), colour);
    p.fillRect(QRect(0, 0, 2, r.height()), colour);
    p.fillRect(QRect(r.width() - 2, 0, 2, r.height()), colour);
    p.end();
    update(QRegion(r).subtracted(r.adjusted(2, 2, -2, -2)));
}

void Image_Item::Select()
{
    setSelected(true);
    drawFrame(Green);
}

void Image_Item::Deselect()
{
    setSelected(false);
    drawFrame(Grey);
}

void Image_Item::setSelected(bool selected)
{
    const bool changed = selected != Selected;
    Selected = selected;
    if (!changed || !QAccessible::isActive())
        return;
    QAccessible::State state;
    state.selected = true;
    QAccessibleStateChangeEvent event(this, state);
    QAccessible::updateAccessibility(&event);
}

void Image_Item::Highlight()
{
    drawFrame(Red);
}

void Image_Item::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    if (m_picture.isNull())
        p.fillRect(event->rect(), Grey);
    else
        p.drawImage(event->rect(), m_picture, event->rect());
}

void Image_Item::enterEvent(QEnterEvent *)
{
    Highlight();
}

void Image_Item::leaveEvent(QEvent *)
{
    if (Selected)
        Select();
    else
        Deselect();
}

void Image_Item::mousePressEvent(QMouseEvent *event)
{
    emit pressed(this, event->button(), event->modifiers());
}

void Image_Item::mouseReleaseEvent(QMouseEvent *event)
{
    emit released(this, event->button());
}

void Image_Item::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The press half of a double-click has selected the entry already.
    emit pressed(this, event->button(), event->modifiers());
    emit doubleClicked(this);
}
