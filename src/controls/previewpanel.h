#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

// The preview's picture: the player draws into memory this panel owns, and
// the panel paints it like any other widget, so the preview shows on every
// platform Qt runs on, offscreen included. Black while there is no picture.
class PreviewPanel : public QWidget
{
    Q_OBJECT

public:
    // Draws the current picture at width x height into pixels (4 bytes a
    // pixel, rows stride bytes apart); false when there is nothing to draw.
    using Renderer = std::function<bool(int width, int height, int stride, void *pixels)>;

    explicit PreviewPanel(QWidget *parent = nullptr);
    ~PreviewPanel() override;

    void setRenderer(Renderer renderer) { m_renderer = std::move(renderer); }

    // A new picture is due: draw it now and show it.
    void frameReady();
    // Back to black: nothing is open any more.
    void clear();
    bool hasPicture() const { return m_hasPicture; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool render();

    struct FreeBuffer
    {
        void operator()(uchar *p) const;
    };
    Renderer m_renderer;
    std::unique_ptr<uchar, FreeBuffer> m_buffer;
    QImage m_image; // a view of m_buffer
    bool m_hasPicture = false;
};
