#include "controls/image.h"

#include "controls/colourregion.h"
#include "controls/picture.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

bool TImage::LoadPicture(const QString &path)
{
    QImage picture = LoadSkinPicture(path, ScreenPixelRatio());
    if (picture.isNull())
        return false;
    SetPicture(picture);
    return true;
}

void TImage::SetPicture(const QImage &picture)
{
    m_picture = picture;
    refresh();
}

void TImage::SetTransparent(bool on)
{
    m_transparent = on;
    refresh();
}

void TImage::SetStretch(bool on)
{
    m_stretch = on;
    update();
}

void TImage::SetCenter(bool on)
{
    m_center = on;
    update();
}

void TImage::refresh()
{
    m_drawn = m_transparent ? SeeThroughBottomLeft(m_picture) : m_picture;
    update();
}

void TImage::paintEvent(QPaintEvent *)
{
    if (m_drawn.isNull())
        return;
    QPainter p(this);
    if (m_drawn.devicePixelRatio() != 1)
        p.setRenderHint(QPainter::SmoothPixmapTransform); // 2x pictures between 1x and 2x
    if (m_stretch) {
        p.drawImage(rect(), m_drawn);
    } else if (m_center) {
        const QSize size = LogicalSize(m_drawn);
        p.drawImage((width() - size.width()) / 2, (height() - size.height()) / 2, m_drawn);
    } else {
        p.drawImage(0, 0, m_drawn);
    }
}

void TImage::changeEvent(QEvent *event)
{
    // A disabled image is not there for the mouse: presses on it belong to
    // the window's face and start a drag.
    if (event->type() == QEvent::EnabledChange)
        setAttribute(Qt::WA_TransparentForMouseEvents, !isEnabled());
    QWidget::changeEvent(event);
}

void TImage::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void TImage::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}
