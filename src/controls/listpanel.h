#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QWidget>

class ClipAdder;
class ClipList;
class Image_Item;
class TImage;
class TImageButton;
class QMenu;
class QTimer;

// The clip list's view: a skinned panel of Image_Item entries in rows, one
// per clip of its ClipList, following the list's announcements; with its own
// bitmap scrollbar that scrolls by whole rows, mouse selection (single,
// Ctrl toggle, Shift range), a context menu, and files dropped from the
// desktop. It tells the main window about selections and preview requests.
// The wheel scrolls a row per notch; with focus, Delete removes the selected
// clips, Ctrl+A selects them all, Enter asks for a preview and the arrow
// keys move the selection, scrolling it into full view.
class TListPanel : public QWidget
{
    Q_OBJECT

public:
    explicit TListPanel(QWidget *parent = nullptr);
    ~TListPanel() override;

    // The skin's parts, in this order, then FinishSkin. A null image for a
    // button removes it.
    bool SetBackgroundImage(const QImage &image);
    bool SetBottomImage(const QImage &image);
    bool SetThumbBitmap(const QImage &strip);
    bool SetTrackImage(const QImage &image);
    bool SetUpButtonBitmap(const QImage &strip);
    bool SetDownButtonBitmap(const QImage &strip);
    // False for an incomplete skin (no track, thumb or background, or only
    // one of the two scroll buttons).
    bool FinishSkin();

    // The clips shown; removals from the panel go to them.
    void setClips(ClipList *clips);
    // Who adds to them: while an add runs, the menu's entries wait.
    void setAdder(const ClipAdder *adder) { m_adder = adder; }
    Image_Item *GetItem(int index) const;
    int count() const { return int(m_items.size()); }

    void RemoveSelected();
    void CropToSelected();
    void ClearItems();
    // The clip a preview should play: the first selected one (the others are
    // deselected), else the first clip, which gets selected.
    Image_Item *GetPreviewItem();
    void SelectAll();

    // Scrolls by whole rows so that the row shows whole; the thumb follows.
    void ScrollRowIntoView(int index);
    int scrolledRows() const;
    // The height the rows may use: the list's, less the floor image.
    int viewHeight() const;

    // For tests and the skin: the parts as they stand.
    int anchor() const { return m_anchor; }
    QWidget *listArea() const { return m_listArea; }
    TImageButton *thumb() const { return m_thumb; }
    TImageButton *upButton() const { return m_up; }
    TImageButton *downButton() const { return m_down; }
    TImage *trackImage() const { return m_track; }
    int thumbMinimum() const { return m_thumbMin; }
    int thumbMaximum() const { return m_thumbMax; }
    QMenu *contextMenu() const { return m_menu; }
    QTimer *repeatTimer() const { return m_repeat; }

    void ScrollToThumb(int top);
    void LayoutItems();

signals:
    void clipSelect(Image_Item *item); // null after remove and clear
    void clipPreview();
    void filesDropped(const QStringList &files);

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void AddItem(Image_Item *item);
    void dropEntries(const QList<int> &clipIds);
    void removeClips(const QList<Image_Item *> &entries);
    void itemPressed(Image_Item *item, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void itemReleased(Image_Item *item, Qt::MouseButton button);
    void showContextMenu();
    void menuChosen(const QString &name);
    void scrollButtonPressed(bool upward);
    void repeatTick();
    void stepThumb();
    void scrollToRows(int rows);
    void moveSelection(int delta);
    void placeScrollbar();
    TImageButton *makeStripButton(TImageButton *&slot);
    QList<Image_Item *> selection() const;

    QPoint m_pressPoint;
    int m_pressTop = 0;
    QWidget *m_listArea;
    QWidget *m_scrollbar;
    TImage *m_background = nullptr;
    TImage *m_bottom = nullptr;
    TImage *m_track = nullptr;
    int m_contentHeight = 0;
    TImageButton *m_thumb = nullptr;
    TImageButton *m_up = nullptr;
    TImageButton *m_down = nullptr;
    QTimer *m_repeat = nullptr;
    bool m_repeatUpward = false;
    int m_thumbMin = 0;
    int m_thumbMax = 0;
    int m_anchor = -1;
    int m_wheelEighths = 0; // wheel travel not yet turned into rows
    ClipList *m_clips = nullptr;
    const ClipAdder *m_adder = nullptr;
    QList<Image_Item *> m_items;
    QMenu *m_menu = nullptr;
    bool m_skinned = false;
};
