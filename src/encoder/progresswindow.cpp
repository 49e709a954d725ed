#include "encoder/progresswindow.h"

#include "app/pubfunction.h"
#include "controls/dynamicimagebutton.h"
#include "controls/image.h"
#include "encoder/commandline.h"
#include "encoder/convertdef.h"
#include "encoder/encoderlib.h"
#include "encoder/statusline.h"
#include "platform/shell.h"
#include "skin/components.h"
#include "skin/windowframe.h"

#include <QCloseEvent>
#include <QDir>
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

TProgressWindow::TProgressWindow(BatchHost *host, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_host(host)
{
    setObjectName(QStringLiteral("ProgressWindow"));
    setFixedSize(546, 346);
    setFont(labelFont());
    ProgressWindow = this;

    Img_Background = CreateSkinBackground(this);
    m_frame = new TWindowFrame(this);

    auto pair = [this](int x, int y, const char *caption, int valueX, const QString &value,
                       int width = -1) {
        QLabel *label = makeLabel(this, x, y, QString::fromLatin1(caption));
        return placeAfter(label, makeLabel(this, valueX, y, value, width));
    };
    Label_SrcName = pair(32, 88, "Current Clip :", 128, QString(), 345);
    Label_DesName = pair(32, 120, "Destination Name :", 128, QString(), 345);
    Label_StartTime = pair(32, 160, "Start Time :", 120, kZeroTime);
    Label_StopTime = pair(216, 160, "Stop Time :", 304, kZeroTime);
    Label_Length = pair(32, 184, "Total Length :", 120, kZeroTime);
    Label_CurrentTime = pair(216, 184, "Current Time :", 304, kZeroTime);

    Edit_WorkingFolder = new QLineEdit(this);
    Edit_WorkingFolder->setObjectName(QStringLiteral("Edit_WorkingFolder"));
    Edit_WorkingFolder->setReadOnly(true);
    Edit_WorkingFolder->setGeometry(112, 34, 297, 21);

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

    ResetDisplay();
}

TProgressWindow::~TProgressWindow()
{
    if (ProgressWindow == this)
        ProgressWindow = nullptr;
}

// Sized for the font as installed, never for the text it starts with: an
// empty label would be cut to nothing under the underscores and descenders
// of the names it shows later.
QLabel *TProgressWindow::makeLabel(QWidget *parent, int x, int y, const QString &text, int width)
{
    auto *label = new QLabel(text, parent);
    label->setFont(labelFont());
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
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
    const int left =
        caption->geometry().right() + 1 + QFontMetrics(caption->font()).averageCharWidth();
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
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    connect(this, &TProgressWindow::closed, &loop, &QEventLoop::quit);
    loop.exec();
}

void TProgressWindow::closeEvent(QCloseEvent *event)
{
    // The window manager's close goes the same way as the Close button.
    if (b_Converting) {
        event->ignore();
        CloseClick();
        return;
    }
    event->accept();
    emit closed();
}

// Esc is the Close button, refusal included; Enter is Start, and does
// nothing while a batch runs (stopping takes the Stop button itself).
void TProgressWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        CloseClick();
    else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !b_Converting)
        StartClick();
    else
        QWidget::keyPressEvent(event);
}

void TProgressWindow::showRunning(bool running)
{
    TB_Start->setVisible(!running);
    TB_Stop->setVisible(running);
}

void TProgressWindow::ResetDisplay()
{
    Label_SrcName->clear();
    Label_DesName->clear();
    for (QLabel *l : {Label_StartTime, Label_StopTime, Label_Length, Label_CurrentTime})
        l->setText(kZeroTime);
    m_host->setCurrentClip(0);
    ClipCount = m_host->batchClipCount();
    path_Work = WithTrailingSeparator(path_Work);
    Edit_WorkingFolder->setText(path_Work);
    SetPercent(0);
    showRunning(false);
}

void TProgressWindow::ShowClip()
{
    ClipStart = MyConvertDef.StartTime;
    ClipDuration = MyConvertDef.Duration;
    Label_SrcName->setText(FileNamePart(MyConvertDef.s_Input));
    Label_DesName->setText(FileNamePart(MyConvertDef.s_Output));
    Label_StartTime->setText(MyConvertDef.s_StartTime);
    Label_StopTime->setText(MyConvertDef.s_StopTime);
    Label_Length->setText(TimeText(ClipDuration));
    Label_CurrentTime->setText(kZeroTime);
    m_lastError.clear();
}

void TProgressWindow::placeBar(TImage *bar, int percent)
{
    bar->move(BarLeft(percent, bar->width()), bar->y());
}

void TProgressWindow::SetPercent(int v)
{
    v = std::clamp(v, 0, 100);
    Label_CP->setText(QString::number(v));
    placeBar(Img_CP, v);
    if (ClipCount == 0) {
        Label_TP->setText(QStringLiteral("0"));
        Img_TP->move(-280, Img_TP->y());
        return;
    }
    const int t = BatchPercent(m_host->currentClip(), v, ClipCount);
    Label_TP->setText(QString::number(t));
    placeBar(Img_TP, t);
}

void TProgressWindow::ParseStatusLine(const QString &text)
{
    // The engine explains a failure in a line of its own, before it ends.
    if (!text.contains(QLatin1String("time=")) && text.startsWith(QLatin1String("error")))
        m_lastError = text;
    const StatusProgress p = ReadStatusLine(text, ClipStart, ClipDuration);
    if (!p.apply)
        return;
    SetPercent(p.clipPercent);
    Label_CurrentTime->setText(TimeText(p.currentSecond));
}

int TProgressWindow::OnStatusLine(const char *text)
{
    // Called on the engine's thread: the display is changed on the UI
    // thread, in the order the lines came.
    const QString line = QString::fromUtf8(text ? text : "");
    if (ProgressWindow)
        QMetaObject::invokeMethod(
            ProgressWindow,
            [line] {
                if (ProgressWindow)
                    ProgressWindow->ParseStatusLine(line);
            },
            Qt::QueuedConnection);
    return 0;
}

int TProgressWindow::OnPercent(intptr_t)
{
    return 0;
}

void TProgressWindow::StartClick()
{
    if (!QFileInfo(path_Work).isDir() && !QDir().mkdir(path_Work)) {
        path_Work = DefaultOutputFolder();
        if (!QFileInfo(path_Work).isDir() && !QDir().mkdir(path_Work)) {
            TheShell().error(QStringLiteral("Can not create output folder!"));
            return;
        }
        Edit_WorkingFolder->setText(path_Work);
    }
    DllSetInfoCallBack(&TProgressWindow::OnStatusLine);
    DllSetPercentCallBack(&TProgressWindow::OnPercent);
    ResetDisplay();
    if (!m_host->ApplySelectedProfile())
        return;
    if (!m_host->PrepareClip(0))
        return;
    showRunning(true);
    b_StopRequested = false;
    b_Converting = true;
    m_failures.clear();
    m_completed = 0;
    m_lastResult = -1;
    m_host->RunEncoder();
}

void TProgressWindow::ClipEnded(int result)
{
    m_lastResult = result;
    if (result == CONVERT_DONE_COMPLETE) {
        ++m_completed;
    } else if (result == CONVERT_DONE_FAILED) {
        QString reason = m_lastError;
        if (reason.startsWith(QLatin1String("error: ")))
            reason = reason.mid(7);
        m_failures << FileNamePart(MyConvertDef.s_Input) +
                          (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason);
    } else if (!b_StopRequested) {
        m_failures << FileNamePart(MyConvertDef.s_Input) + QStringLiteral(": stopped");
    }
}

void TProgressWindow::FinishBatch()
{
    b_Converting = false;
    showRunning(false);
    if (b_StopRequested) {
        // A clip that completed just as Stop was pressed is kept: only an
        // unfinished output goes.
        if (m_lastResult != CONVERT_DONE_COMPLETE && !MyConvertDef.s_Output.isEmpty() &&
            QFileInfo(MyConvertDef.s_Output).isFile())
            QFile::remove(MyConvertDef.s_Output);
        TheShell().info(QStringLiteral("Stop converting process by user!"));
        return;
    }
    SetPercent(100);
    // A failed clip is never passed off as converted.
    if (!m_failures.isEmpty())
        TheShell().info(QStringLiteral("These clips could not be converted:\n") +
                        m_failures.join(QLatin1Char('\n')));
    if (m_completed > 0 || m_failures.isEmpty())
        TheShell().open(path_Work);
}

void TProgressWindow::StopClick()
{
    b_StopRequested = true;
    if (DllStop)
        DllStop();
}

void TProgressWindow::CloseClick()
{
    if (b_Converting) {
        TheShell().info(QStringLiteral("Converting clips now!\nPlease stop it first!"));
        return;
    }
    hide();
    emit closed();
}

void TProgressWindow::BrowseClick()
{
    // While a batch runs (Stop is the button shown) the folder stays.
    if (b_Converting)
        return;
    const QString folder =
        TheShell().chooseFolder(QStringLiteral("Please select \"Output Folder\" :"), QString());
    if (folder.isEmpty())
        return;
    path_Work = WithTrailingSeparator(folder);
    Edit_WorkingFolder->setText(path_Work);
}
