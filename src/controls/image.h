#pragma once

#include <QImage>
#include <QWidget>

// The picture control the skin dresses: backgrounds and pictures inside
// panels. A disabled image lets the mouse through to what lies behind it
// (the window's face); an enabled one takes the presses on it.
class TImage : public QWidget
{
    Q_OBJECT

public:
    explicit TImage(QWidget *parent = nullptr);

    // Loads a .bmp, .jpg/.jpeg, .png or .ico file; false (the picture left as
    // it was) when the file cannot be read as one.
    bool LoadPicture(const QString &path);
    void SetPicture(const QImage &picture);
    void ClearPicture() { SetPicture(QImage()); }
    const QImage &Picture() const { return m_picture; }

    // The bottom-left pixel's colour is see-through.
    void SetTransparent(bool on);
    bool Transparent() const { return m_transparent; }
    // Stretch wins over centre; with neither the picture sits at the top left.
    void SetStretch(bool on);
    void SetCenter(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void refresh();

    QImage m_picture;
    QImage m_drawn; // the picture as painted: with its see-through colour cut
    bool m_transparent = false;
    bool m_stretch = false;
    bool m_center = false;
};
