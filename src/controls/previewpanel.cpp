#include "controls/previewpanel.h"

#include <QPainter>
#include <cstdlib>

namespace {
// The renderer works fastest on rows and memory aligned to 64 bytes.
constexpr int kAlign = 64;
} // namespace

void PreviewPanel::FreeBuffer::operator()(uchar *p) const
{
    std::free(p);
}

PreviewPanel::PreviewPanel(QWidget *parent) : QWidget(parent)
{
    // Every pixel is painted here: the picture, or black.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

PreviewPanel::~PreviewPanel() = default;

void PreviewPanel::frameReady()
{
    if (render())
        update();
}

void PreviewPanel::clear()
{
    m_hasPicture = false;
    update();
}

bool PreviewPanel::render()
{
    if (!m_renderer)
        return false;
    const qreal ratio = devicePixelRatioF();
    const QSize size = (QSizeF(this->size()) * ratio).toSize();
    if (size.isEmpty())
        return false;
    if (m_image.size() != size) {
        const int stride = (size.width() * 4 + kAlign - 1) / kAlign * kAlign;
        m_image = {};
        m_buffer.reset(
            static_cast<uchar *>(std::aligned_alloc(kAlign, size_t(stride) * size.height())));
        if (!m_buffer)
            return false;
        m_image = QImage(m_buffer.get(), size.width(), size.height(), stride, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(ratio);
        m_hasPicture = false;
    }
    if (!m_renderer(size.width(), size.height(), int(m_image.bytesPerLine()), m_buffer.get()))
        return false;
    // The renderer leaves each pixel's fourth byte undefined; in a
    // see-through window (Wayland's shaped ones) it would show as holes.
    for (int y = 0; y < size.height(); ++y) {
        auto *row = reinterpret_cast<quint32 *>(m_image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            row[x] |= 0xff000000u;
    }
    m_hasPicture = true;
    return true;
}

void PreviewPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_hasPicture)
        painter.drawImage(QPoint(0, 0), m_image);
    else
        painter.fillRect(rect(), Qt::black);
}

void PreviewPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The picture at the new size (mpv draws its last picture again).
    if (m_hasPicture)
        render();
}
