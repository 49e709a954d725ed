#include "controls/listpanel.h"

#include "clips/clipadder.h"
#include "clips/cliplist.h"
#include "controls/clipselection.h"
#include "controls/focusring.h"
#include "controls/image.h"
#include "controls/imagebutton.h"
#include "controls/imageitem.h"
#include "controls/listmath.h"
#include "controls/picture.h"
#include "platform/nativepath.h"
#include "platform/pubfunction.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <algorithm>

using namespace listmath;

TListPanel::TListPanel(QWidget *parent)
    : QWidget(parent), m_listArea(new QWidget(this)), m_scrollbar(new QWidget(this))
{
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    new FocusRing(this);
    m_listArea->setAutoFillBackground(true);
    m_listArea->installEventFilter(this);
}

TListPanel::~TListPanel()
{
    if (m_repeat)
        m_repeat->stop();
    qDeleteAll(m_items);
    m_items.clear();
}

// ---- skin ----------------------------------------------------------------

bool TListPanel::SetBackgroundImage(const QImage &image)
{
    if (image.isNull())
        return false;
    if (!m_background) {
        m_background = new TImage(m_listArea);
        m_background->SetStretch(true);
        m_background->setEnabled(false);
        m_background->hide();
    }
    m_background->SetPicture(image);
    m_background->resize(LogicalSize(image).width(), m_background->height());
    return true;
}

bool TListPanel::SetBottomImage(const QImage &image)
{
    if (image.isNull())
        return false;
    if (!m_bottom) {
        m_bottom = new TImage(m_listArea);
        m_bottom->setEnabled(false);
    }
    m_bottom->SetPicture(image);
    m_bottom->resize(LogicalSize(image));
    return true;
}

TImageButton *TListPanel::makeStripButton(TImageButton *&slot)
{
    if (!slot) {
        slot = new TImageButton(m_scrollbar);
        slot->installEventFilter(this);
    }
    return slot;
}

bool TListPanel::SetThumbBitmap(const QImage &strip)
{
    if (strip.isNull())
        return false;
    makeStripButton(m_thumb);
    return m_thumb->LoadStates(strip, LogicalSize(strip).width() / 3, LogicalSize(strip).height(),
                               false, true, true, false);
}

bool TListPanel::SetTrackImage(const QImage &image)
{
    if (image.isNull())
        return false;
    if (!m_track) {
        m_track = new TImage(m_scrollbar);
        m_track->SetStretch(true);
        m_track->installEventFilter(this);
    }
    m_track->SetPicture(image);
    m_track->resize(LogicalSize(image).width(), m_track->height());
    return true;
}

bool TListPanel::SetUpButtonBitmap(const QImage &strip)
{
    if (strip.isNull()) {
        delete m_up;
        m_up = nullptr;
        return true;
    }
    makeStripButton(m_up);
    return m_up->LoadStates(strip, LogicalSize(strip).width() / 3, LogicalSize(strip).height(),
                            false, true, true, false);
}

bool TListPanel::SetDownButtonBitmap(const QImage &strip)
{
    if (strip.isNull()) {
        delete m_down;
        m_down = nullptr;
        return true;
    }
    makeStripButton(m_down);
    return m_down->LoadStates(strip, LogicalSize(strip).width() / 3, LogicalSize(strip).height(),
                              false, true, true, false);
}

bool TListPanel::FinishSkin()
{
    if (!m_track || !m_thumb || !m_background || (m_up == nullptr) != (m_down == nullptr))
        return false;
    m_skinned = true;
    QPalette pal = m_listArea->palette();
    pal.setColor(QPalette::Window, m_background->Picture().pixelColor(0, 0));
    m_listArea->setPalette(pal);
    m_background->hide();
    placeScrollbar();
    m_thumb->move(0, ClampThumb(0, m_thumbMin, m_thumbMax));
    ScrollToThumb(m_thumb->y());
    return true;
}

void TListPanel::placeScrollbar()
{
    const int barWidth = m_track->width();
    m_scrollbar->setGeometry(width() - barWidth, 0, barWidth, height());
    m_track->setGeometry(0, 0, barWidth, height());
    m_thumbMin = 0;
    m_thumbMax = height() - m_thumb->height();
    if (m_up) {
        m_up->move(0, 0);
        m_up->raise();
        m_thumbMin += m_up->height();
    }
    if (m_down) {
        m_down->move(0, height() - m_down->height());
        m_down->raise();
        m_thumbMax -= m_down->height();
    }
    m_thumb->raise();
}

void TListPanel::resizeEvent(QResizeEvent *)
{
    if (!m_skinned)
        return;
    placeScrollbar();
    m_thumb->move(m_thumb->x(), ClampThumb(m_thumb->y(), m_thumbMin, m_thumbMax));
    ScrollToThumb(m_thumb->y());
}

// ---- scrolling -----------------------------------------------------------

int TListPanel::viewHeight() const
{
    // A floor taller than the list would leave no room; then the rows use
    // the whole height.
    const int floor = m_bottom ? m_bottom->height() : 0;
    return floor < height() ? height() - floor : height();
}

int TListPanel::scrolledRows() const
{
    return -m_listArea->y() / RowStep;
}

void TListPanel::ScrollToThumb(int top)
{
    const int listHeight = height();
    const int listWidth = width() - (m_skinned ? m_scrollbar->width() : 0);
    const int rows = ScrolledRows(HiddenRows(m_contentHeight, viewHeight()),
                                  ScrollFraction(top, m_thumbMin, m_thumbMax));
    m_listArea->setGeometry(0, -(rows * RowStep), listWidth, rows * RowStep + listHeight);
    if (m_bottom)
        m_bottom->setGeometry(0, m_listArea->height() - m_bottom->height(), listWidth,
                              m_bottom->height());
}

void TListPanel::stepThumb()
{
    const int step = ButtonStep(m_contentHeight, viewHeight(), m_thumbMin, m_thumbMax);
    const int top = m_thumb->y() + (m_repeatUpward ? -step : step);
    m_thumb->move(m_thumb->x(), ClampThumb(top, m_thumbMin, m_thumbMax));
    ScrollToThumb(m_thumb->y());
}

void TListPanel::scrollButtonPressed(bool upward)
{
    if (ScrollPositions(m_contentHeight, viewHeight()) < 1)
        return;
    m_repeatUpward = upward;
    stepThumb();
    if (!m_repeat) {
        m_repeat = new QTimer(this);
        connect(m_repeat, &QTimer::timeout, this, &TListPanel::repeatTick);
    }
    m_repeat->setInterval(1000);
    m_repeat->start();
}

void TListPanel::repeatTick()
{
    m_repeat->setInterval(500);
    if (ScrollPositions(m_contentHeight, viewHeight()) < 1) {
        m_repeat->stop();
        return;
    }
    stepThumb();
}

void TListPanel::scrollToRows(int rows)
{
    if (!m_skinned)
        return;
    const int hidden = HiddenRows(m_contentHeight, viewHeight());
    m_thumb->move(m_thumb->x(), ThumbTopForRows(rows, hidden, m_thumbMin, m_thumbMax));
    ScrollToThumb(m_thumb->y());
}

void TListPanel::ScrollRowIntoView(int index)
{
    if (index < 0 || index >= m_items.size())
        return;
    const int rows = scrolledRows();
    const int visibleRows = std::max(1, (viewHeight() - TopMargin) / RowStep);
    if (index < rows)
        scrollToRows(index);
    else if (index >= rows + visibleRows)
        scrollToRows(index - visibleRows + 1);
}

void TListPanel::wheelEvent(QWheelEvent *event)
{
    // 120 eighths of a degree make one notch; fine-grained wheels add up.
    m_wheelEighths += event->angleDelta().y();
    const int notches = m_wheelEighths / 120;
    m_wheelEighths -= notches * 120;
    if (notches != 0)
        scrollToRows(scrolledRows() - notches);
    event->accept();
}

void TListPanel::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
    } else if (event->key() == Qt::Key_Delete) {
        RemoveSelected(); // as the TB_DelFile button
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit clipPreview();
    } else if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        moveSelection(event->key() == Qt::Key_Up ? -1 : 1);
    } else {
        QWidget::keyPressEvent(event);
    }
}

bool TListPanel::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    // The wheel over a clip scrolls the list, whoever is under the pointer.
    if (type == QEvent::Wheel && (watched == m_listArea || qobject_cast<Image_Item *>(watched))) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseMove ||
                       type == QEvent::MouseButtonRelease;
    if (!mouse)
        return QWidget::eventFilter(watched, event);
    auto *me = static_cast<QMouseEvent *>(event);
    if (watched == m_thumb) {
        if (type == QEvent::MouseButtonPress) {
            m_pressPoint = me->globalPosition().toPoint();
            m_pressTop = m_thumb->y();
        } else if (type == QEvent::MouseMove && m_thumb->isPressedDown()) {
            const int top = m_pressTop + me->globalPosition().toPoint().y() - m_pressPoint.y();
            m_thumb->move(m_thumb->x(), ClampThumb(top, m_thumbMin, m_thumbMax));
            ScrollToThumb(m_thumb->y());
        }
    } else if (watched == m_track && type == QEvent::MouseButtonPress) {
        m_thumb->move(m_thumb->x(), TrackClickTop(me->position().toPoint().y(), m_thumb->height(),
                                                  m_thumbMin, m_thumbMax));
        ScrollToThumb(m_thumb->y());
        return true;
    } else if ((watched == m_up || watched == m_down) && m_up) {
        if (type == QEvent::MouseButtonPress)
            scrollButtonPressed(watched == m_up);
        else if (type == QEvent::MouseButtonRelease && m_repeat)
            m_repeat->stop();
    }
    return QWidget::eventFilter(watched, event);
}

// ---- items ---------------------------------------------------------------

void TListPanel::setClips(ClipList *clips)
{
    m_clips = clips;
    connect(clips, &ClipList::clipAdded, this,
            [this](int id) { AddItem(new Image_Item(m_clips, id)); });
    connect(clips, &ClipList::clipsRemoved, this, &TListPanel::dropEntries);
}

void TListPanel::AddItem(Image_Item *item)
{
    m_items.append(item);
    connect(item, &Image_Item::pressed, this, &TListPanel::itemPressed);
    connect(item, &Image_Item::released, this, &TListPanel::itemReleased);
    connect(item, &Image_Item::doubleClicked, this, [this] { emit clipPreview(); });
    item->setParent(m_listArea);
    item->installEventFilter(this);
    item->move(2, item->y());
    if (m_items.size() == 1) {
        item->Select();
        m_anchor = item->y();
        emit clipSelect(item);
    } else {
        item->Deselect();
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    LayoutItems();
}

Image_Item *TListPanel::GetItem(int index) const
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    return m_items[index];
}

void TListPanel::LayoutItems()
{
    for (int i = 0; i < m_items.size(); ++i) {
        Image_Item *item = m_items[i];
        const int top = i * RowStep + TopMargin;
        if (item->y() != top || item->x() != 2)
            item->move(2, top);
        if (item->isHidden())
            item->show();
    }
    m_contentHeight = int(m_items.size()) * RowStep;
    if (m_bottom)
        m_bottom->raise(); // the floor covers the top of the row below the last whole one
    ScrollToThumb(m_thumb ? m_thumb->y() : 0);
}

QList<Image_Item *> TListPanel::selection() const
{
    QList<Image_Item *> selected;
    for (Image_Item *item : m_items)
        if (item->Selected)
            selected.append(item);
    return selected;
}

void TListPanel::itemPressed(Image_Item *item, Qt::MouseButton button,
                             Qt::KeyboardModifiers modifiers)
{
    SelectionState state;
    state.anchor = m_anchor;
    for (Image_Item *i : m_items) {
        state.tops.append(i->y());
        state.selected.append(i->Selected);
    }
    PressItem(state, int(m_items.indexOf(item)), button, modifiers);
    for (int i = 0; i < m_items.size(); ++i) {
        if (state.selected[i] != m_items[i]->Selected || m_items[i] == item)
            state.selected[i] ? m_items[i]->Select() : m_items[i]->Deselect();
    }
    m_anchor = state.anchor;
    emit clipSelect(item);
}

void TListPanel::itemReleased(Image_Item *, Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        showContextMenu();
}

void TListPanel::showContextMenu()
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        const std::pair<const char *, const char *> entries[] = {{"Preview clip", "Preview"},
                                                                 {"-", ""},
                                                                 {"Remove clip(s)", "Remove"},
                                                                 {"Crop clip(s)", "Crop"},
                                                                 {"Clear clip(s)", "Clear"}};
        for (const auto &[caption, name] : entries) {
            QAction *a = QString::fromLatin1(caption) == QLatin1String("-")
                             ? m_menu->addSeparator()
                             : m_menu->addAction(QString::fromLatin1(caption));
            a->setObjectName(QString::fromLatin1(name));
            connect(a, &QAction::triggered, this, [this, a] { menuChosen(a->objectName()); });
        }
    }
    for (QAction *a : m_menu->actions())
        a->setEnabled(!m_adder || !m_adder->adding());
    m_menu->popup(QCursor::pos());
}

void TListPanel::menuChosen(const QString &name)
{
    if (name == QLatin1String("Preview"))
        emit clipPreview();
    else if (name == QLatin1String("Remove"))
        RemoveSelected();
    else if (name == QLatin1String("Crop"))
        CropToSelected();
    else if (name == QLatin1String("Clear"))
        ClearItems();
}

// The entries go when the list announces their clips gone.
void TListPanel::dropEntries(const QList<int> &clipIds)
{
    for (qsizetype i = m_items.size() - 1; i >= 0; --i) {
        Image_Item *item = m_items[i];
        if (!clipIds.contains(item->clipId()))
            continue;
        m_items.removeAt(i);
        item->hide();
        item->deleteLater();
    }
    LayoutItems();
}

void TListPanel::removeClips(const QList<Image_Item *> &entries)
{
    QList<int> ids;
    for (const Image_Item *item : entries)
        ids << item->clipId();
    if (m_clips)
        m_clips->remove(ids);
    m_anchor = -1;
}

void TListPanel::RemoveSelected()
{
    removeClips(selection());
    emit clipSelect(nullptr);
}

void TListPanel::CropToSelected()
{
    QList<Image_Item *> others = m_items;
    for (Image_Item *item : selection())
        others.removeOne(item);
    removeClips(others);
}

void TListPanel::ClearItems()
{
    removeClips(m_items);
    emit clipSelect(nullptr);
}

Image_Item *TListPanel::GetPreviewItem()
{
    const QList<Image_Item *> selected = selection();
    if (!selected.isEmpty()) {
        for (int i = 1; i < selected.size(); ++i)
            selected[i]->Deselect();
        return selected.first();
    }
    if (m_items.isEmpty())
        return nullptr;
    m_items.first()->Select();
    return m_items.first();
}

void TListPanel::SelectAll()
{
    for (Image_Item *item : m_items)
        if (!item->Selected)
            item->Select();
    if (!m_items.isEmpty())
        emit clipSelect(m_items.first());
}

// Up and Down act as a plain left press on the neighbouring clip, so the
// selection, the anchor and the announcement follow the mouse's rules.
void TListPanel::moveSelection(int delta)
{
    if (m_items.isEmpty())
        return;
    int current = -1;
    for (int i = 0; i < m_items.size(); ++i)
        if (m_items[i]->y() == m_anchor)
            current = i;
    if (current < 0) {
        const QList<Image_Item *> selected = selection();
        current = selected.isEmpty() ? -1 : int(m_items.indexOf(selected.first()));
    }
    const int next = current < 0 ? 0 : std::clamp(current + delta, 0, int(m_items.size()) - 1);
    itemPressed(m_items[next], Qt::LeftButton, {});
    ScrollRowIntoView(next);
}

// ---- files from the desktop ----------------------------------------------

void TListPanel::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TListPanel::dropEvent(QDropEvent *event)
{
    QStringList files;
    for (const QUrl &url : event->mimeData()->urls())
        if (url.isLocalFile())
            files << PathFromUrl(url);
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    emit filesDropped(files);
}
