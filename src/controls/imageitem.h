#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class ClipList;
struct Clip;

// One entry of the clip list: a view of one clip of the ClipList, its
// path, length, formats and picture size as probed and its trim. The entry
// draws itself once into its own picture; afterwards only its frame and,
// when the clip's trim changes, its time line are redrawn. Whether it is
// selected is the entry's own.
class Image_Item : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ItemWidth = 388;
    static constexpr int ItemHeight = 64;

    static const QColor Grey;  // the entry's ground and normal frame
    static const QColor Green; // selected frame
    static const QColor Red;   // frame under the pointer

    // The entry of the clip clipId of clips, drawn at once; hidden until the
    // list places it.
    Image_Item(const ClipList *clips, int clipId, QWidget *parent = nullptr);

    int clipId() const { return m_clipId; }
    // The clip shown; an empty one once the clip has left the list.
    const Clip &clip() const;

    void Select();
    void Deselect();
    void Highlight();

    // What the entry shows, for tests and drag images.
    const QImage &picture() const { return m_picture; }

    bool Selected = false;

signals:
    void pressed(Image_Item *item, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void released(Image_Item *item, Qt::MouseButton button);
    void doubleClicked(Image_Item *item);

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void drawFrame(const QColor &colour);
    void setSelected(bool selected);
    void drawTimeLine();

    const ClipList *m_clips;
    int m_clipId;
    QImage m_picture;
};
