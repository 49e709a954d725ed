#pragma once

#include "controls/slidermath.h"

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>

class ClipList;
class TImage;
class TImageButton;

// The skinned position and trim slider under the preview: a thumb for the
// playing position and two markers with a stretched range image between
// them for the clip's trim. It knows nothing of the player: thumb movements
// go to the position callback. The markers show one clip's trim as its
// ClipList stores it; where they are let go goes out as markerDropped.
// With the focus, the arrows move the thumb by a second and Page Up/Down by
// a tenth of the clip.
class TFixProgress : public QWidget
{
    Q_OBJECT

public:
    // (percent, the thumb is still held, the slider)
    using PositionCallback = std::function<void(double, bool, TFixProgress *)>;

    explicit TFixProgress(QWidget *parent = nullptr);

    // A negative percent puts the thumb to rest at the left end.
    void SetPosition(double percent);
    // Both negative: the markers rest, disabled, at the two ends.
    void SetMarkers(float start, float stop);
    MarkerFractions GetMarkers() const;
    void SetThumbEnabled(bool enabled);
    // The markers show the trim of clip clipId of clips and follow it when
    // the list stores another; a clip without length, or none, rests them.
    void showTrimOf(const ClipList *clips, int clipId);
    void SetOnPositionChange(PositionCallback callback) { m_onPosition = std::move(callback); }

    // The skin's parts, in this order, then FinishSkin.
    bool SetBackgroundBitmap(const QImage &bitmap);
    bool SetRangeBitmap(const QImage &bitmap);
    // Either both marker strips or neither.
    bool SetThumbBitmaps(const QImage &thumb, const QImage &startMarker, const QImage &stopMarker);
    bool FinishSkin();

    double percent() const { return m_percent; }
    // The length of the clip whose trim shows, 0 for none.
    int duration() const;
    // What the position is a fraction of: the player's length once the
    // preview knows it (a header may claim another, and the list rounds up),
    // else duration(). Showing another clip forgets it.
    void setPlayingLength(double seconds) { m_playingLength = seconds; }
    double length() const { return m_playingLength > 0 ? m_playingLength : duration(); }
    const SliderScale &scale() const { return m_scale; }
    TImageButton *thumb() const { return m_thumb; }
    TImageButton *startMarker() const { return m_start; }
    TImageButton *stopMarker() const { return m_stop; }
    TImage *rangeImage() const { return m_range; }

signals:
    // A trim marker of clip clipId (0: none shown) was let go at fraction
    // (0..1) of the slider; true for the start marker.
    void markerDropped(int clipId, bool start, double fraction);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void SetThumbLeft(int x);
    void thumbPressed(QMouseEvent *event);
    void thumbMoved(QMouseEvent *event);
    void thumbReleased(QMouseEvent *event);
    bool markerEvent(TImageButton *marker, QEvent *event);
    TImageButton *markerNear(int x) const;
    void followRange();
    void showTrim();
    void report(bool held);
    int startWidth() const;
    int stopWidth() const;

    TImageButton *m_thumb = nullptr;
    TImageButton *m_start = nullptr;
    TImageButton *m_stop = nullptr;
    TImage *m_background = nullptr;
    TImage *m_range = nullptr;
    double m_percent = 0;
    double m_playingLength = 0;
    SliderScale m_scale;
    QPoint m_pressPoint;
    int m_pressLeft = 0;
    bool m_dragging = false;
    TImageButton *m_faceMarker = nullptr; // a marker taken by a press beside its pole
    PositionCallback m_onPosition;
    const ClipList *m_clips = nullptr;
    int m_clipId = 0;
    QMetaObject::Connection m_trimWatch;
};
