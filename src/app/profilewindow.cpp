#include "app/profilewindow.h"

#include "controls/dynamicimagebutton.h"
#include "controls/image.h"
#include "platform/textops.h"
#include "profiles/devicekind.h"
#include "profiles/profilefile.h"
#include "profiles/profileform.h"
#include "profiles/profileline.h"
#include "skin/components.h"
#include "skin/modalwindow.h"
#include "skin/windowframe.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

TProfileWindow *ProfileWindow = nullptr;

namespace {
constexpr int kNameLength = 15;
const QColor kGroupBlue(234, 243, 250);

QFont tahoma()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    return font;
}

void label(QWidget *parent, int x, int y, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setFont(tahoma());
    l->adjustSize();
    l->move(x, y);
}

QComboBox *dropDown(QWidget *parent, const char *name, int x, int y)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(false);
    box->setFont(tahoma());
    box->setGeometry(x, y, 129, 21);
    return box;
}

QGroupBox *groupBox(QWidget *parent, const char *name, const QString &title, int y)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(40, y, 401, 121);
    box->setFont(tahoma());
    QPalette pal = box->palette();
    pal.setColor(QPalette::Window, kGroupBlue);
    box->setPalette(pal);
    box->setAutoFillBackground(true);
    // A group box is a control: a press on it is not a press on the face.
    box->setAttribute(Qt::WA_NoMousePropagation);
    return box;
}

void fill(QComboBox *box, const OptionList &options)
{
    box->clear();
    box->addItems(options.values);
    box->setCurrentIndex(PreselectedPosition(options));
}

void selectText(QComboBox *box, const QString &text)
{
    QStringList values;
    for (int i = 0; i < box->count(); ++i)
        values << box->itemText(i);
    box->setCurrentIndex(PositionOfText(values, text, box->currentIndex()));
}

QString shown(const QComboBox *box)
{
    return box->currentIndex() < 0 ? QString() : box->currentText();
}
} // namespace

TProfileWindow::TProfileWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("ProfileWindow"));
    setWindowTitle(QStringLiteral("Output Profile"));
    setFixedSize(480, 366);
    QFont face(QStringLiteral("MS Sans Serif"));
    face.setPixelSize(11);
    setFont(face);
    ProfileWindow = this;

    createFields();
    Img_Background = CreateSkinBackground(this);
    m_frame = new TWindowFrame(this);
    TB_Ok = CreateComponent<TDynamicImageButton>(this, this, QStringLiteral("TB_Ok"));
    TB_Cancel = CreateComponent<TDynamicImageButton>(this, this, QStringLiteral("TB_Cancel"));
    TB_Close = CreateComponent<TDynamicImageButton>(this, this, QStringLiteral("TB_Close"));
    connect(TB_Ok, &TImageButton::clicked, this, [this] {
        SaveProfile();
        close();
    });
    connect(TB_Cancel, &TImageButton::clicked, this, &QWidget::close);
    connect(TB_Close, &TImageButton::clicked, this, &QWidget::close);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, TB_Cancel,
            &TImageButton::click);
}

TProfileWindow::~TProfileWindow()
{
    if (ProfileWindow == this)
        ProfileWindow = nullptr;
}

void TProfileWindow::createFields()
{
    Edit_Name = new QLineEdit(this);
    Edit_Name->setObjectName(QStringLiteral("Edit_Name"));
    Edit_Name->setGeometry(136, 34, 225, 19);
    Edit_Name->setFrame(false);
    // Only typing is limited: a longer name stored by hand is shown and
    // written back whole, not cut.
    Edit_Name->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^.{0,%1}$").arg(kNameLength)), Edit_Name));

    GroupBox1 = groupBox(this, "GroupBox1", QStringLiteral(" Video Setting "), 64);
    label(GroupBox1, 16, 24, QStringLiteral("Video Resolution:"));
    ComboBox_VideoResolution = dropDown(GroupBox1, "ComboBox_VideoResolution", 136, 20);
    label(GroupBox1, 300, 24, QStringLiteral("Width x Height"));
    label(GroupBox1, 16, 56, QStringLiteral("Video Quality:"));
    Edit_VideoBitRate = new QLineEdit(GroupBox1);
    Edit_VideoBitRate->setObjectName(QStringLiteral("Edit_VideoBitRate"));
    Edit_VideoBitRate->setFont(tahoma());
    Edit_VideoBitRate->setGeometry(136, 52, 114, 21);
    connect(Edit_VideoBitRate, &QLineEdit::textChanged, this,
            &TProfileWindow::Edit_VideoBitRateChange);
    createArrows();
    label(GroupBox1, 300, 56, QStringLiteral("KB / Second"));
    label(GroupBox1, 16, 88, QStringLiteral("Frame Rate:"));
    ComboBox_VideoFramerate = dropDown(GroupBox1, "ComboBox_VideoFramerate", 136, 84);
    label(GroupBox1, 300, 88, QStringLiteral("Frame / Second"));

    GroupBox2 = groupBox(this, "GroupBox2", QStringLiteral(" Audio Setting "), 200);
    label(GroupBox2, 16, 24, QStringLiteral("Audio Channels:"));
    ComboBox_AudioChannel = dropDown(GroupBox2, "ComboBox_AudioChannel", 136, 20);
    ComboBox_AudioChannel->addItems(ChannelChoices());
    label(GroupBox2, 16, 56, QStringLiteral("Audio Quality:"));
    ComboBox_AudioBitRate = dropDown(GroupBox2, "ComboBox_AudioBitRate", 136, 52);
    label(GroupBox2, 300, 56, QStringLiteral("KB / Second"));
    label(GroupBox2, 16, 88, QStringLiteral("Frame Rate:"));
    ComboBox_AudioFrameRate = dropDown(GroupBox2, "ComboBox_AudioFrameRate", 136, 84);
    label(GroupBox2, 300, 88, QStringLiteral("KHertz"));
}

// The arrows beside the bit-rate field. They keep a position of their own;
// the field follows them only through UpDownClick, and they follow the field
// only through Edit_VideoBitRateChange.
void TProfileWindow::createArrows()
{
    UpDown = new QWidget(GroupBox1);
    UpDown->setObjectName(QStringLiteral("UpDown"));
    UpDown->setGeometry(251, 52, 12, 21);
    auto *column = new QVBoxLayout(UpDown);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    UpDown_Up = new QToolButton(UpDown);
    UpDown_Up->setArrowType(Qt::UpArrow);
    UpDown_Down = new QToolButton(UpDown);
    UpDown_Down->setArrowType(Qt::DownArrow);
    for (QToolButton *arrow : {UpDown_Up, UpDown_Down}) {
        arrow->setFixedSize(12, 10);
        arrow->setAutoRepeat(true);
        column->addWidget(arrow);
    }
    connect(UpDown_Up, &QToolButton::clicked, this, [this] { UpDownClick(+1); });
    connect(UpDown_Down, &QToolButton::clicked, this, [this] { UpDownClick(-1); });
    m_arrowPosition = InitialArrowPosition;
}

void TProfileWindow::LoadNewProfileDefaults(int kind)
{
    if (const DeviceKindInfo *info = FindDeviceKind(kind))
        s_Section = info->section;
    const NewProfileDefaults d = ReadNewProfileDefaults(ProfileFile::standard(), s_Section);
    fill(ComboBox_VideoResolution, d.resolution);
    fill(ComboBox_VideoFramerate, d.videoFrameRate);
    fill(ComboBox_AudioBitRate, d.audioQuality);
    fill(ComboBox_AudioFrameRate, d.audioFrameRate);
    Edit_Name->setText(d.name);
    Edit_VideoBitRate->setText(d.videoBitRate);
    m_arrowPosition = LeadingInteger(Edit_VideoBitRate->text());
    ProfileIndex = d.profileIndex;
    Edit_Name->setReadOnly(false);
    ComboBox_AudioChannel->setCurrentIndex(1);
    b_Saved = false;
}

void TProfileWindow::LoadProfileForEdit(int number)
{
    ProfileIndex = number;
    Edit_Name->setReadOnly(true);
    const QString line = ProfileFile::standard().readProfileLine(s_Section, number);
    if (line == ProfileFile::NoData)
        return;
    const StoredProfileFields f = FieldsOfStoredLine(line);
    Edit_Name->setText(f.name);
    selectText(ComboBox_VideoResolution, f.resolution);
    Edit_VideoBitRate->setText(f.videoBitRate);
    selectText(ComboBox_VideoFramerate, f.videoFrameRate);
    selectText(ComboBox_AudioBitRate, f.audioQuality);
    selectText(ComboBox_AudioFrameRate, f.audioFrameRate);
    ComboBox_AudioChannel->setCurrentIndex(
        f.channelPosition < ComboBox_AudioChannel->count() ? f.channelPosition : -1);
}

void TProfileWindow::SaveProfile()
{
    const QString line = ComposeProfileLine(
        Trim(Edit_Name->text()), shown(ComboBox_VideoResolution), Edit_VideoBitRate->text(),
        shown(ComboBox_VideoFramerate), shown(ComboBox_AudioBitRate),
        shown(ComboBox_AudioFrameRate), shown(ComboBox_AudioChannel));
    ProfileFile::forWriting().writeProfile(s_Section, ProfileIndex, line);
    b_Saved = true;
}

void TProfileWindow::UpDownClick(int step)
{
    m_arrowPosition = StepArrows(m_arrowPosition, step);
    Edit_VideoBitRate->setText(QString::number(m_arrowPosition));
}

void TProfileWindow::Edit_VideoBitRateChange()
{
    const QString clamped = ClampedBitRateText(Edit_VideoBitRate->text());
    // Setting the same text again raises no further change.
    if (clamped != Edit_VideoBitRate->text())
        Edit_VideoBitRate->setText(clamped);
    m_arrowPosition = LeadingInteger(Edit_VideoBitRate->text());
}

void TProfileWindow::ShowModal()
{
    ShowModalUntilClosed(this);
}

void TProfileWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}
