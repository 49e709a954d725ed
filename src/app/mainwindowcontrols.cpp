// The main window's composition: its designed components and the skinned
// controls it creates at start, in the order the skin visits them.
#include "app/mainwindow.h"

#include "app/helpmenu.h"
#include "app/messages.h"
#include "app/profilechooser.h"
#include "clips/clipadder.h"
#include "clips/cliplist.h"
#include "controls/checkimagebutton.h"
#include "controls/comboelider.h"
#include "controls/dynamicimagebutton.h"
#include "controls/fixprogress.h"
#include "controls/image.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"
#include "controls/previewpanel.h"
#include "encoder/playerlib.h"
#include "skin/components.h"
#include "skin/windowframe.h"

#include <QComboBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QTimer>

namespace {
// The window as designed, before the skin sizes it.
constexpr QSize kDesignedSize(792, 566);
const QColor kCream(255, 251, 240);
const QColor kComboGrey(160, 160, 160);

TDynamicImageButton *commandButton(QWidget *window, const char *name)
{
    return CreateComponent<TDynamicImageButton>(window, window, QLatin1String(name));
}

template <class T> void release(T *&control)
{
    delete control;
    control = nullptr;
}
} // namespace

void TMainWindow::CreateDesignedComponents()
{
    setObjectName(QStringLiteral("MainWindow"));
    resize(kDesignedSize);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kCream);
    setPalette(pal);
    setAutoFillBackground(true);
    QFont face(QStringLiteral("MS Sans Serif"));
    face.setPixelSize(11);
    setFont(face);

    Panel_Preview = CreateComponent<PreviewPanel>(this, this, QStringLiteral("Panel_Preview"));
    Panel_Preview->setGeometry(421, 68, 300, 224);
    Panel_Preview->setRenderer(&Player::RenderFrame);
    // The panel is an enabled control: a press on it is not a press on the face.
    Panel_Preview->setAttribute(Qt::WA_NoMousePropagation);

    ComboBox_OutputSetting =
        CreateComponent<QComboBox>(this, this, QStringLiteral("ComboBox_OutputSetting"));
    ComboBox_OutputSetting->setGeometry(24, 358, 497, 21);
    ComboBox_OutputSetting->setEditable(false);
    ComboBox_OutputSetting->setFrame(false);
    QPalette grey = ComboBox_OutputSetting->palette();
    grey.setColor(QPalette::Button, kComboGrey);
    grey.setColor(QPalette::Base, kComboGrey);
    ComboBox_OutputSetting->setPalette(grey);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPixelSize(11);
    ComboBox_OutputSetting->setFont(tahoma);
    new ComboElider(ComboBox_OutputSetting);
    // The file dialog of adding files is the Shell's, not a component here.
}

void TMainWindow::CreateSkinControls()
{
    TP_ImageList = CreateComponent<TListPanel>(this, this, QStringLiteral("TP_ImageList"));
    Img_Background = CreateSkinBackground(this);
    TB_Play = commandButton(this, "TB_Play");
    TB_Stop = commandButton(this, "TB_Stop");
    TB_Pause = commandButton(this, "TB_Pause");
    TB_Next = commandButton(this, "TB_Next");
    TB_Previous = commandButton(this, "TB_Previous");
    TP_Progress = CreateComponent<TFixProgress>(this, this, QStringLiteral("TP_Progress"));
    TB_Close = commandButton(this, "TB_Close");
    TB_AS_Keep = CreateComponent<TCheckImageButton>(this, this, QStringLiteral("TB_AS_Keep"));
    TB_Min = commandButton(this, "TB_Min");
    TB_Help = commandButton(this, "TB_Help");
    TB_AddFile = commandButton(this, "TB_AddFile");
    TB_DelFile = commandButton(this, "TB_DelFile");
    TB_Edit = commandButton(this, "TB_Edit");
    TB_Convert = commandButton(this, "TB_Convert");

    Img_VideoPic = CreateComponent<TImage>(this, Panel_Preview, QStringLiteral("Img_VideoPic"));
    Img_VideoPic->setEnabled(false);
    Img_VideoPic->SetCenter(true);
    auto *fill = new QHBoxLayout(Panel_Preview);
    fill->setContentsMargins(0, 0, 0, 0);
    fill->addWidget(Img_VideoPic);
    Img_VideoPic->lower();

    // The device kinds come last, so a skin visits the other controls in the
    // same order whether or not it has records for the kinds.
    const char *const kinds[] = {"TB_3GP", "TB_PSP", "TB_iPod", "TB_PDA", "TB_MP4"};
    for (size_t kind = 0; kind < TB_Kinds.size(); ++kind)
        TB_Kinds[kind] = CreateComponent<TCheckImageButton>(this, this, QLatin1String(kinds[kind]));
    PollTimer = new QTimer(this);
    PollTimer->setInterval(500);
}

void TMainWindow::WireSkinControls()
{
    m_frame = new TWindowFrame(this);

    TP_ImageList->setClips(clips());
    m_adder = new ClipAdder(
        clips(), [this] { WindowProc(WM_PROBE_FAILED, 0, 0); }, this);
    m_chooser = new ProfileChooser(ComboBox_OutputSetting, Img_VideoPic, this);

    connect(TP_ImageList, &TListPanel::filesDropped, m_adder, &ClipAdder::addFiles);
    connect(TP_ImageList, &TListPanel::clipSelect, this, &TMainWindow::ClipSelect);
    connect(TP_ImageList, &TListPanel::clipPreview, this, &TMainWindow::StartPreview);
    connect(TB_AddFile, &TImageButton::clicked, this, &TMainWindow::AddFilesClick);
    connect(TB_DelFile, &TImageButton::clicked, TP_ImageList, &TListPanel::RemoveSelected);
    connect(TB_Close, &TImageButton::clicked, this, [this] {
        TP_ImageList->ClearItems();
        close();
    });
    connect(TB_Min, &TImageButton::clicked, this, [this] { showMinimized(); });
    connect(TB_AS_Keep, &TImageButton::clicked, this, &TMainWindow::KeepRatioClick);
    connect(TB_Edit, &TImageButton::clicked, m_chooser, &ProfileChooser::EditSelectedProfile);
    connect(TB_Convert, &TImageButton::clicked, this, &TMainWindow::ConvertClick);
    for (size_t kind = 0; kind < TB_Kinds.size(); ++kind)
        connect(TB_Kinds[kind], &TImageButton::clicked, this,
                [this, kind] { DeviceKindClick(int(kind)); });
    connect(m_chooser, &ProfileChooser::deviceKindSelected, this, [this](int current) {
        for (size_t kind = 0; kind < TB_Kinds.size(); ++kind)
            TB_Kinds[kind]->SetChecked(int(kind) == current);
    });
    m_help = new HelpMenu(this);
    connect(TB_Help, &TImageButton::clicked, this, [this] { m_help->Popup(QCursor::pos()); });
    connect(TB_Play, &TImageButton::clicked, this, &TMainWindow::StartPreview);
    connect(TB_Stop, &TImageButton::clicked, this, &TMainWindow::StopPreview);
    connect(TB_Pause, &TImageButton::clicked, this, [] { Player::Pause(); });
    connect(TB_Next, &TImageButton::clicked, this, [this] { MarkClip(false); });
    connect(TB_Previous, &TImageButton::clicked, this, [this] { MarkClip(true); });
    TP_Progress->SetOnPositionChange(
        [this](double percent, bool held, TFixProgress *) { SliderPositionChange(percent, held); });
    connect(TP_Progress, &TFixProgress::markerDropped, clips(), &ClipList::dropMarker);
    connect(PollTimer, &QTimer::timeout, this, &TMainWindow::PollTick);
}

void TMainWindow::FreeSkinControls()
{
    release(Img_VideoPic);
    release(TB_Edit);
    release(TB_Convert);
    release(TB_AddFile);
    release(TB_DelFile);
    release(TB_Close);
    release(TB_AS_Keep);
    release(PollTimer);
    release(TB_Play);
    release(TB_Stop);
    release(TB_Pause);
    release(TB_Next);
    release(TB_Previous);
    release(TP_Progress);
    release(TP_ImageList);
    release(TB_Min);
    release(TB_Help);
    for (TCheckImageButton *&kind : TB_Kinds)
        release(kind);
    release(m_help);
}

void TMainWindow::DeviceKindClick(int kind)
{
    m_chooser->SelectDeviceKind(kind);
}
