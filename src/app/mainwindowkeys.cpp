// The main window by keyboard: the tab order of its controls in reading
// order, and the shortcuts that stand in for the mouse.
#include "app/mainwindow.h"

#include "app/links.h"
#include "controls/checkimagebutton.h"
#include "controls/dynamicimagebutton.h"
#include "controls/fixprogress.h"
#include "controls/listpanel.h"
#include "controls/previewpanel.h"
#include "encoder/playerlib.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QShortcut>

QList<QWidget *> TMainWindow::tabOrder() const
{
    QList<QWidget *> order;
    for (TCheckImageButton *kind : TB_Kinds)
        order.append(kind);
    order << TB_Help << TB_Min << TB_Close << TP_ImageList << TB_AddFile << TB_DelFile
          << TP_Progress << TB_Previous << TB_Play << TB_Pause << TB_Stop << TB_Next << TB_AS_Keep
          << ComboBox_OutputSetting << TB_Edit << TB_Convert;
    return order;
}

void TMainWindow::WireKeys()
{
    const QList<QWidget *> order = tabOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (TCheckImageButton *kind : TB_Kinds)
        kind->SetExclusive(true);
    // A click on the picture lets Space play and pause it, with no ring.
    Panel_Preview->setFocusPolicy(Qt::ClickFocus);

    const auto key = [this](const QKeySequence &sequence, auto action) {
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, action);
    };
    key(QKeySequence::Open, &TMainWindow::AddFilesClick);
    key(QKeySequence(Qt::CTRL | Qt::Key_Return), &TMainWindow::ConvertClick);
    key(QKeySequence(Qt::CTRL | Qt::Key_Enter), &TMainWindow::ConvertClick);
    key(QKeySequence(Qt::Key_I), [this] { MarkClip(true); });
    key(QKeySequence(Qt::Key_O), [this] { MarkClip(false); });
    key(QKeySequence::HelpContents, [] { OpenHelpFile(); });
}

void TMainWindow::TogglePreview()
{
    if (m_playing)
        Player::Pause();
    else
        StartPreview();
}

// Space reaches the window when the list or the picture has not used it
// itself; a focused button takes its own Space.
void TMainWindow::keyPressEvent(QKeyEvent *event)
{
    QWidget *focus = focusWidget();
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier &&
        (focus == TP_ImageList || focus == Panel_Preview)) {
        if (!event->isAutoRepeat())
            TogglePreview();
        return;
    }
    QWidget::keyPressEvent(event);
}
