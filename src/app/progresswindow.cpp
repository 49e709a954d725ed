#include "app/progresswindow.h"

#include "app/application.h"
#include "controls/accessibleprogressbar.h"
#include "controls/dynamicimagebutton.h"
#include "controls/image.h"
#include "controls/pathelision.h"
#include "encoder/commandline.h"
#include "encoder/statusline.h"
#include "platform/nativepath.h"
#include "platform/pubfunction.h"
#include "platform/shell.h"
#include "skin/components.h"
#include "skin/modalwindow.h"
#include "skin/windowframe.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

TProgressWindow *ProgressWindow = nullptr;

namespace {
const QString kZeroTime = QStringLiteral("00:00:00");

QFont labelFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    return font;
}
} // namespace

TProgressWindow::TProgressWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      m_batch(ZeloApplication::instance()->batch()),
      m_settings(ZeloApplication::instance()->settings())
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(QStringLiteral("Converting"));
    setFixedSize(546, 346);
    setFont(labelFont());
    ProgressWindow = this;

    Img_Background = CreateSkinBackground(this);
    m_frame = new TWindowFrame(this);

    auto pair = [this](int x, int y, const char *caption, int valueX, const QString &value,
                       int width = -1) {
        QLabel *label = makeLabel(this, x, y, QString::fromLatin1(caption));
        QLabel *field = placeAfter(label, makeLabel(this, valueX, y, value, width));
        label->setBuddy(field); // the caption names its value for a screen reader
        return field;
    };
    Label_SrcName = pair(32, 88, "Current Clip :", 128, QString(), 345);
    Label_DesName = pair(32, 120, "Destination Name :", 128, QString(), 345);
    Label_StartTime = pair(32, 160, "Start Time :", 120, kZeroTime);
    Label_StopTime = pair(216, 160, "Stop Time :", 304, kZeroTime);
    Label_Length = pair(32, 184, "Total Length :", 120, kZeroTime);
    Label_CurrentTime = pair(216, 184, "Current Time :", 304, kZeroTime);
    // The values of a column start together, after its widest caption.
    for (const QList<QLabel *> &column :
         {QList<QLabel *>{Label_SrcName, Label_DesName, Label_StartTime, Label_Length},
          QList<QLabel *>{Label_StopTime, Label_CurrentTime}}) {
        int left = 0;
        for (QLabel *value : column)
            left = std::max(left, value->x());
        for (QLabel *value : column)
            moveValue(value, left);
    }

    Edit_WorkingFolder = new QLineEdit(this);
    Edit_WorkingFolder->setObjectName(QStringLiteral("Edit_WorkingFolder"));
    Edit_WorkingFolder->setReadOnly(true);
    Edit_WorkingFolder->setGeometry(112, 34, 297, 21);
    Edit_WorkingFolder->setAccessibleName(QStringLiteral("Output Folder"));

    // The bars slide inside the panel. The panel takes no mouse input, so a
    // press on it drags the window; it stays enabled so its figures are not
    // drawn greyed out.
    Panel_Progress = new QWidget(this);
    Panel_Progress->setObjectName(QStringLiteral("Panel_Progress"));
    Panel_Progress->setGeometry(139, 241, 280, 33);
    Panel_Progress->setAttribute(Qt::WA_TransparentForMouseEvents);
    Img_Progress = CreateComponent<TImage>(this, Panel_Progress, QStringLiteral("Img_Progress"));
    Img_CP = CreateComponent<TImage>(this, Panel_Progress, QStringLiteral("Img_CP"));
    Img_TP = CreateComponent<TImage>(this, Panel_Progress, QStringLiteral("Img_TP"));
    for (TImage *image : {Img_Progress, Img_CP, Img_TP})
        image->setEnabled(false);
    Img_CP->SetTransparent(true);
    Img_TP->SetTransparent(true);
    Img_CP->setAccessibleName(QStringLiteral("Current Clip Progress"));
    Img_TP->setAccessibleName(QStringLiteral("Total Progress"));
    SetBarPercent(Img_CP, 0);
    SetBarPercent(Img_TP, 0);

    Label_CP = makePercent(1);
    Label_TP = makePercent(20);

    TB_Start = CreateComponent<TDynamicImageButton>(this, this, QStringLiteral("TB_Start"));
    TB_Stop = CreateComponent<TDynamicImageButton>(this, this, QStringLiteral("TB_Stop"));
    TB_Close = CreateComponent<TDynamicImageButton>(this, this, QStringLiteral("TB_Close"));
    TB_Browse = CreateComponent<TDynamicImageButton>(this, this, QStringLiteral("TB_Browse"));
    connect(TB_Start, &TImageButton::clicked, this, &TProgressWindow::StartClick);
    connect(TB_Stop, &TImageButton::clicked, this, &TProgressWindow::StopClick);
    connect(TB_Close, &TImageButton::clicked, this, &TProgressWindow::CloseClick);
    connect(TB_Browse, &TImageButton::clicked, this, &TProgressWindow::BrowseClick);
    setTabOrder(Edit_WorkingFolder, TB_Browse);
    setTabOrder(TB_Browse, TB_Start);
    setTabOrder(TB_Start, TB_Stop);
    setTabOrder(TB_Stop, TB_Close);

    wireBatch();
    ResetDisplay();
}

TProgressWindow::~TProgressWindow()
{
    if (ProgressWindow == this)
        ProgressWindow = nullptr;
}

// Sized for the font as installed, never for the text it starts with: an
// empty label would be cut to nothing under the underscores and descenders
// of the names it shows later. A label takes the pointer, so its tooltip can
// show; it passes presses on to the window, which is dragged by them as by
// its face.
QLabel *TProgressWindow::makeLabel(QWidget *parent, int x, int y, const QString &text, int width)
{
    auto *label = new QLabel(text, parent);
    label->setFont(labelFont());
    const QFontMetrics metrics(label->font());
    const int textWidth = metrics.horizontalAdvance(text) + 1;
    label->setGeometry(x, y, std::max(width, textWidth), metrics.height() + 1);
    return label;
}

// A value starts a little after its caption, even when the installed face is
// wider than the designed one; a value with a designed width keeps its right
// edge.
QLabel *TProgressWindow::placeAfter(QLabel *caption, QLabel *value)
{
    return moveValue(value, caption->geometry().right() + 1 +
                                QFontMetrics(caption->font()).averageCharWidth());
}

QLabel *TProgressWindow::moveValue(QLabel *value, int left)
{
    if (value->x() < left) {
        const int right = value->geometry().right();
        value->move(left, value->y());
        if (value->width() > value->sizeHint().width() &&
            right - left + 1 >= value->sizeHint().width())
            value->resize(right - left + 1, value->height());
    }
    return value;
}

// A percentage, right-aligned against its "%" sign, both centred on the bar
// whose top is barTop and kept inside the panel: room for "100" whatever the
// face.
QLabel *TProgressWindow::makePercent(int barTop)
{
    const int barHeight = 12, signLeft = 141;
    QLabel *sign = makeLabel(Panel_Progress, signLeft, 0, QStringLiteral("%"));
    const int height = sign->height();
    const int top =
        std::clamp(barTop + (barHeight - height) / 2, 0, Panel_Progress->height() - height);
    sign->move(signLeft, top);
    const int width =
        std::max(18, QFontMetrics(sign->font()).horizontalAdvance(QStringLiteral("100")) + 1);
    QLabel *value =
        makeLabel(Panel_Progress, signLeft - 1 - width, top, QStringLiteral("0"), width);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sign->raise();
    value->raise();
    return value;
}

void TProgressWindow::ShowModal()
{
    ShowModalUntilClosed(this);
}

void TProgressWindow::closeEvent(QCloseEvent *event)
{
    // The window manager's close goes the same way as the Close button.
    if (m_batch->converting()) {
        event->ignore();
        CloseClick();
        return;
    }
    event->accept();
    emit closed();
}

void TProgressWindow::wireBatch()
{
    connect(m_batch, &BatchRun::batchReset, this, &TProgressWindow::showReset);
    connect(m_batch, &BatchRun::outputFolderFellBack, this, [this](const QString &folder) {
        m_settings.setOutputFolder(folder); // the batch writes there, and so will the next one
        Edit_WorkingFolder->setText(m_settings.path_Work());
    });
    connect(m_batch, &BatchRun::outputFolderRefused, this,
            [] { TheShell().error(QStringLiteral("Can not create output folder!")); });
    connect(m_batch, &BatchRun::noClipToConvert, this, [] {
        TheShell().info(
            QStringLiteral("No clip to convert!\nPlease add clip to list, then convert it!"));
    });
    connect(m_batch, &BatchRun::runningChanged, this, &TProgressWindow::showRunning);
    connect(m_batch, &BatchRun::clipStarted, this,
            [this](int, const QString &input, const QString &output, int start, int stop) {
                ShowClip(input, output, start, stop);
            });
    connect(m_batch, &BatchRun::progressed, this, &TProgressWindow::SetPercent);
    connect(m_batch, &BatchRun::positionReached, this,
            [this](int second) { Label_CurrentTime->setText(TimeText(second)); });
    connect(m_batch, &BatchRun::outputRenamed, this,
            [this](const QString &path) { showFileName(Label_DesName, path); });
    connect(m_batch, &BatchRun::stoppedByUser, this,
            [] { TheShell().info(QStringLiteral("Stop converting process by user!")); });
    connect(m_batch, &BatchRun::finished, this, &TProgressWindow::showEnd);
}

// Esc is the Close button, refusal included; Enter is Start, and does
// nothing while a batch runs (stopping takes the Stop button itself).
// Only a fresh Esc closes: the repeats of a key held down since an earlier
// window (or one whose release never reached the display) would otherwise
// close the window the moment it opens, again and again.
void TProgressWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        if (!event->isAutoRepeat())
            CloseClick();
    } else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
               !m_batch->converting()) {
        StartClick();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void TProgressWindow::showRunning(bool running)
{
    // A batch that ends under the refusal to close has answered it.
    if (!running && m_refusingClose)
        TheShell().closeBoxes();
    TB_Start->setVisible(!running);
    TB_Stop->setVisible(running);
}

void TProgressWindow::ResetDisplay()
{
    // A stored folder is taken as it was stored; from here on it ends with
    // its separator.
    m_settings.setOutputFolder(m_settings.path_Work());
    m_batch->reset();
}

void TProgressWindow::showReset()
{
    for (QLabel *l : {Label_SrcName, Label_DesName}) {
        l->clear();
        l->setToolTip(QString());
    }
    for (QLabel *l : {Label_StartTime, Label_StopTime, Label_Length, Label_CurrentTime})
        l->setText(kZeroTime);
    Edit_WorkingFolder->setText(m_settings.path_Work());
    showRunning(false);
}

void TProgressWindow::showFileName(QLabel *label, const QString &path)
{
    const QString name = ShownName(FileNamePart(path));
    label->setText(ElidePathKeepingName(name, label->fontMetrics(), label->width()));
    label->setToolTip(name);
}

void TProgressWindow::ShowClip(const QString &input, const QString &output, int startTime,
                               int stopTime)
{
    showFileName(Label_SrcName, input);
    showFileName(Label_DesName, output);
    Label_StartTime->setText(TimeText(startTime));
    Label_StopTime->setText(TimeText(stopTime));
    Label_Length->setText(TimeText(stopTime - startTime));
    Label_CurrentTime->setText(kZeroTime);
}

void TProgressWindow::placeBar(TImage *bar, int percent)
{
    bar->move(BarLeft(percent, bar->width()), bar->y());
    SetBarPercent(bar, percent);
}

void TProgressWindow::SetPercent(int clipPercent, int batchPercent)
{
    Label_CP->setText(QString::number(clipPercent));
    placeBar(Img_CP, clipPercent);
    Label_TP->setText(QString::number(batchPercent));
    placeBar(Img_TP, batchPercent);
}

void TProgressWindow::StartClick()
{
    m_batch->start(m_settings.path_Work());
}

void TProgressWindow::showEnd(const QStringList &failures, bool openFolder)
{
    if (const QString text = BatchEndText(failures, m_batch->warnings()); !text.isEmpty())
        TheShell().info(text);
    if (openFolder)
        TheShell().open(m_settings.path_Work());
}

void TProgressWindow::StopClick()
{
    m_batch->stop();
}

void TProgressWindow::CloseClick()
{
    if (m_batch->converting()) {
        m_refusingClose = true;
        TheShell().info(QStringLiteral("Converting clips now!\nPlease stop it first!"));
        m_refusingClose = false;
        return;
    }
    hide();
    emit closed();
}

void TProgressWindow::BrowseClick()
{
    // While a batch runs (Stop is the button shown) the folder stays.
    if (m_batch->converting())
        return;
    // The chooser opens on the folder in use, so a neighbour is one click away.
    const QString folder = TheShell().chooseFolder(
        QStringLiteral("Please select \"Output Folder\" :"), m_settings.path_Work());
    if (folder.isEmpty())
        return;
    m_settings.setOutputFolder(folder);
    Edit_WorkingFolder->setText(m_settings.path_Work());
}
