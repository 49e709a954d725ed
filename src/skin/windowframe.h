#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>

class QWidget;
class TImage;

// A drag of a window by its face.
struct DragState
{
    bool dragging = false;
    QPoint pressPoint; // cursor on the screen at the press
    QPoint startPos;   // the window's top-left at the press
    QPoint current;    // cursor at the last move
};

// Where the window goes for the cursor at cursor: its start moved by the
// cursor's travel since the press. Nothing when that is where the window
// already is (windowPos), so no move is issued.
std::optional<QPoint> DragTarget(const DragState &drag, QPoint cursor, QPoint windowPos);

// What the system frame would give a skinned, borderless window: moving it by
// dragging its face with the left button, and its first place in the middle
// of the screen. The face is what no enabled control covers: presses on
// enabled controls never reach the window. One frame per window, owned by it.
class TWindowFrame : public QObject
{
    Q_OBJECT

public:
    explicit TWindowFrame(QWidget *window);

    void BeginDrag(Qt::MouseButton button);
    void DragMove(Qt::MouseButtons held);
    void EndDrag(Qt::MouseButton button);

    const DragState &drag() const { return m_drag; }
    // Where the cursor is on the screen; the system's by default.
    void setCursorSource(std::function<QPoint()> source) { m_cursor = std::move(source); }
    // Where windows cannot move themselves (WindowMovesItself), a press on
    // the face asks the compositor to move the window instead; true when it
    // took the drag over. Set by default only there.
    void setCompositorMove(std::function<bool()> ask) { m_compositorMove = std::move(ask); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    DragState m_drag;
    std::function<QPoint()> m_cursor;
    std::function<bool()> m_compositorMove;
    bool m_placed = false;
};

// The background every skinned window has: the component "Img_Background" at
// (0, 0), disabled so presses on it drag the window, behind everything else.
TImage *CreateSkinBackground(QWidget *window);
