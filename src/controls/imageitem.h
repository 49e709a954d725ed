#pragma once

#include "engine/encoder.h"

#include <QImage>
#include <QString>
#include <QWidget>

// One entry of the clip list and the program's record of that clip: its
// path, length, formats and picture size as probed, and the trim the user
// chose. The entry draws itself once into its own picture; afterwards only
// its frame and its time line are redrawn.
class Image_Item : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ItemWidth = 388;
    static constexpr int ItemHeight = 64;

    static const QColor Grey;  // the entry's ground and normal frame
    static const QColor Green; // selected frame
    static const QColor Red;   // frame under the pointer

    explicit Image_Item(QWidget *parent = nullptr);

    // Copies the probed values and draws the entry around the thumbnail.
    // False, and nothing drawn, when either is missing.
    bool SetClip(const ClipInfo *info, const QImage *thumbnail);

    // Sets the trim, keeping start <= stop; refuses (false, nothing changed)
    // a negative start or a stop past the clip's end.
    bool SetTrim(int start, int stop);

    void Select();
    void Deselect();
    void Highlight();

    // What the entry shows, for tests and drag images.
    const QImage &picture() const { return m_picture; }

    bool Selected = false;
    QString ClipPath;
    int Duration = 0;
    QString VideoFormat;
    QString AudioFormat;
    int VideoWidth = 0;
    int VideoHeight = 0;
    int Reserved[6] = {};
    int StartTime = 0;
    int StopTime = 0;

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
    void drawTimeLine();

    QImage m_picture;
};
