#include "controls/fixprogress.h"

#include "clips/cliplist.h"
#include "controls/focusring.h"
#include "controls/image.h"
#include "controls/imagebutton.h"
#include "controls/picture.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <utility>

namespace {
// Strips hold three slices (normal, hover, pressed); the slider uses the
// first two and cuts each part to its normal look's outline.
bool loadStrip(TImageButton *button, const QImage &strip)
{
    const QSize size = LogicalSize(strip);
    return button->LoadStates(strip, size.width() / 3, size.height(), true, true, false, false);
}

int centredTop(int outer, int inner)
{
    return (outer - inner) / 2;
}
} // namespace

TFixProgress::TFixProgress(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
    new FocusRing(this);
}

int TFixProgress::startWidth() const
{
    return m_start ? m_start->width() : 0;
}

int TFixProgress::stopWidth() const
{
    return m_stop ? m_stop->width() : 0;
}

void TFixProgress::SetThumbLeft(int x)
{
    if (!m_thumb)
        return;
    x = ClampThumbLeft(x, m_scale);
    m_thumb->move(x, m_thumb->y());
    m_percent = PercentAtThumbLeft(x, m_scale);
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent moved(this, m_percent);
        QAccessible::updateAccessibility(&moved);
    }
}

void TFixProgress::SetPosition(double percent)
{
    if (percent < 0) {
        SetThumbLeft(m_scale.thumbMin);
        m_percent = 0;
        return;
    }
    // The user's hand wins over the player's report.
    if ((m_thumb && m_thumb->isPressedDown()) || m_dragging)
        return;
    SetThumbLeft(ThumbLeftForPercent(percent, m_scale));
    m_percent = percent;
}

void TFixProgress::SetMarkers(float start, float stop)
{
    if (m_start && m_stop) {
        const MarkerPlacement m =
            PlaceMarkers(start, stop, m_scale, startWidth(), stopWidth(), m_stop->x());
        m_start->move(m.startLeft, m_start->y());
        m_stop->move(m.stopLeft, m_stop->y());
        m_start->SetButtonEnabled(m.enabled);
        m_stop->SetButtonEnabled(m.enabled);
        followRange();
    } else if (m_range) {
        const MarkerPlacement m = PlaceRange(start, stop, m_scale);
        m_range->setGeometry(m.rangeLeft, m_range->y(), m.rangeWidth, m_range->height());
    }
}

void TFixProgress::showTrimOf(const ClipList *clips, int clipId)
{
    if (clips != m_clips) {
        disconnect(m_trimWatch);
        if (clips)
            m_trimWatch = connect(clips, &ClipList::trimChanged, this, [this](int id) {
                if (id == m_clipId)
                    showTrim();
            });
        m_clips = clips;
    }
    if (clipId != m_clipId)
        m_playingLength = 0;
    m_clipId = clipId;
    showTrim();
}

// A clip without length has no fractions: its markers rest.
int TFixProgress::duration() const
{
    const Clip *clip = m_clips ? m_clips->find(m_clipId) : nullptr;
    return clip ? clip->duration : 0;
}

void TFixProgress::keyPressEvent(QKeyEvent *event)
{
    const double length = this->length();
    double seconds = 0;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        seconds = -1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        seconds = 1;
        break;
    case Qt::Key_PageDown:
        seconds = -length / 10.0;
        break;
    case Qt::Key_PageUp:
        seconds = length / 10.0;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (!m_thumb || !m_thumb->isEnabled() || length <= 0)
        return;
    const double to = PercentAfterStep(m_percent, length, seconds);
    SetThumbLeft(ThumbLeftForPercent(to, m_scale));
    m_percent = to;
    report(false);
}

void TFixProgress::showTrim()
{
    const Clip *clip = m_clips ? m_clips->find(m_clipId) : nullptr;
    if (!clip || clip->duration <= 0)
        SetMarkers(-1, -1);
    else
        SetMarkers(float(double(clip->startTime) / clip->duration),
                   float(double(clip->stopTime) / clip->duration));
}

MarkerFractions TFixProgress::GetMarkers() const
{
    if (m_start && m_stop)
        return FractionsForRange(m_start->x() + startWidth(), m_stop->x(), m_scale);
    if (m_range)
        return FractionsForRange(m_range->x(), m_range->x() + m_range->width(), m_scale);
    return {};
}

void TFixProgress::followRange()
{
    if (!m_range || !m_start || !m_stop)
        return;
    const int left = m_start->x() + startWidth();
    m_range->setGeometry(left, m_range->y(), std::max(0, m_stop->x() - left), m_range->height());
}

void TFixProgress::SetThumbEnabled(bool enabled)
{
    if (m_thumb)
        m_thumb->SetButtonEnabled(enabled);
}

bool TFixProgress::SetBackgroundBitmap(const QImage &bitmap)
{
    if (bitmap.isNull())
        return false;
    if (!m_background) {
        m_background = new TImage(this);
        m_background->move(0, 0);
        m_background->setEnabled(false);
    }
    m_background->SetPicture(bitmap);
    m_background->resize(LogicalSize(bitmap));
    return true;
}

bool TFixProgress::SetRangeBitmap(const QImage &bitmap)
{
    if (bitmap.isNull())
        return false;
    if (!m_range) {
        m_range = new TImage(this);
        m_range->SetStretch(true);
        m_range->setEnabled(false);
    }
    m_range->SetPicture(bitmap);
    m_range->resize(LogicalSize(bitmap));
    return true;
}

bool TFixProgress::SetThumbBitmaps(const QImage &thumb, const QImage &startMarker,
                                   const QImage &stopMarker)
{
    if (thumb.isNull())
        return false;
    if (!m_thumb) {
        m_thumb = new TImageButton(this);
        m_thumb->setAccessibleName(tr("Playing position"));
        m_thumb->installEventFilter(this);
    }
    const bool thumbOk = loadStrip(m_thumb, thumb);
    if (startMarker.isNull() && stopMarker.isNull()) {
        delete m_start;
        delete m_stop;
        m_start = m_stop = nullptr;
        return thumbOk;
    }
    if (startMarker.isNull() || stopMarker.isNull())
        return false;
    for (TImageButton **marker : {&m_start, &m_stop})
        if (!*marker) {
            *marker = new TImageButton(this);
            (*marker)->setAccessibleName(marker == &m_start ? tr("Start marker")
                                                            : tr("Stop marker"));
            (*marker)->installEventFilter(this);
        }
    const bool startOk = loadStrip(m_start, startMarker);
    const bool stopOk = loadStrip(m_stop, stopMarker);
    return thumbOk && startOk && stopOk;
}

bool TFixProgress::FinishSkin()
{
    if (!m_thumb || !m_background)
        return false;
    resize(m_background->size());
    const int w = width(), h = height();
    m_scale.width = w;
    m_scale.thumbMin = startWidth();
    if (m_range)
        m_range->move(m_scale.thumbMin, centredTop(h, m_range->height()));
    for (QWidget *part : {static_cast<QWidget *>(m_thumb), static_cast<QWidget *>(m_start),
                          static_cast<QWidget *>(m_stop)})
        if (part)
            part->move(part->x(), centredTop(h, part->height()));
    m_thumb->move(m_scale.thumbMin, m_thumb->y());
    m_scale.thumbMax = w - m_thumb->width() - stopWidth();
    m_scale.scaleEnd = w - stopWidth();
    SetMarkers(-1, -1);
    m_thumb->raise();
    return true;
}

void TFixProgress::report(bool held)
{
    if (m_onPosition)
        m_onPosition(m_percent, held, this);
}

void TFixProgress::thumbPressed(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressPoint = event->globalPosition().toPoint();
    m_pressLeft = m_thumb->x();
    report(true);
}

void TFixProgress::thumbMoved(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton) && !m_dragging)
        return;
    SetThumbLeft(m_pressLeft + event->globalPosition().toPoint().x() - m_pressPoint.x());
    report(true);
}

void TFixProgress::thumbReleased(QMouseEvent *event)
{
    m_dragging = false;
    if (event->button() == Qt::LeftButton)
        report(false);
}

bool TFixProgress::markerEvent(TImageButton *marker, QEvent *event)
{
    if (!marker->isEnabled())
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    const bool isStart = marker == m_start;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton) {
            m_pressPoint = mouse->globalPosition().toPoint();
            m_pressLeft = marker->x();
        }
        break;
    case QEvent::MouseMove:
        if (mouse->buttons() & Qt::LeftButton) {
            const int x = m_pressLeft + mouse->globalPosition().toPoint().x() - m_pressPoint.x();
            if (isStart)
                marker->move(DragStartMarker(x, startWidth(), m_stop->x()), marker->y());
            else
                marker->move(DragStopMarker(x, m_start->x(), startWidth(), stopWidth(), width()),
                             marker->y());
            followRange();
        }
        break;
    case QEvent::MouseButtonRelease:
        if (mouse->button() == Qt::LeftButton)
            emit markerDropped(m_clipId, isStart, isStart ? GetMarkers().start : GetMarkers().stop);
        break;
    default:
        break;
    }
    return false;
}

bool TFixProgress::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    if (watched == m_start || watched == m_stop)
        return markerEvent(static_cast<TImageButton *>(watched), event);
    if (watched == m_thumb && m_thumb->isEnabled()) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (type == QEvent::MouseButtonPress)
            thumbPressed(mouse);
        else if (type == QEvent::MouseMove)
            thumbMoved(mouse);
        else
            thumbReleased(mouse);
    }
    // The button still shows its own pressed and hover looks.
    return false;
}

// A marker's pole is 3 pixels wide: a press a few pixels beside it is meant
// for it, and the face's grab then carries the drag to it.
TImageButton *TFixProgress::markerNear(int x) const
{
    constexpr int kSlack = 4;
    if (!m_start || !m_stop || !m_start->isEnabled())
        return nullptr;
    const auto pole = [](const TImageButton *m) {
        const QRect r = m->mask().isEmpty() ? m->rect() : m->mask().boundingRect();
        return r.translated(m->pos());
    };
    const QRect in = pole(m_start), out = pole(m_stop);
    switch (MarkerNearPress(x, in.left(), in.right() + 1, out.left(), out.right() + 1, kSlack)) {
    case 1:
        return m_start;
    case 0:
        return m_stop;
    default:
        return nullptr;
    }
}

void TFixProgress::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        m_faceMarker = markerNear(int(event->position().x()));
    if (m_faceMarker) {
        markerEvent(m_faceMarker, event);
        return;
    }
    if (event->button() != Qt::LeftButton || !m_thumb || !m_thumb->isEnabled())
        return;
    SetThumbLeft(ThumbLeftForFaceClick(int(event->position().x()), m_thumb->width()));
    m_dragging = true;
    m_pressPoint = event->globalPosition().toPoint();
    m_pressLeft = m_thumb->x();
    report(true);
}

// The face's press keeps the mouse until the release (Qt's implicit grab),
// so its moves and release are the thumb's.
void TFixProgress::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (m_faceMarker)
        markerEvent(m_faceMarker, event);
    else if (m_dragging)
        thumbMoved(event);
}

void TFixProgress::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (TImageButton *marker = std::exchange(m_faceMarker, nullptr))
        markerEvent(marker, event);
    else if (m_dragging)
        thumbReleased(event);
}
