#include "app/aboutwindow.h"

#include "app/links.h"
#include "controls/dynamicimagebutton.h"
#include "controls/image.h"
#include "platform/pubfunction.h"
#include "skin/components.h"
#include "skin/modalwindow.h"
#include "skin/windowframe.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QShortcut>

namespace {
QFont tahoma(int pixels, bool bold)
{
    QFont font(QStringLiteral("Tahoma"));
    if (pixels > 0)
        font.setPixelSize(pixels);
    else
        font.setPointSize(8);
    font.setBold(bold);
    return font;
}
} // namespace

TAboutWindow::TAboutWindow(QWidget *owner) : QWidget(owner, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("AboutWindow"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(392, 216);
    setFont(tahoma(0, false));

    // The title twice: the silver copy one pixel down and right of the black
    // one reads as its shadow.
    const QString title = QStringLiteral("Zelo 3GP Converter") + QStringLiteral(" 2.1");
    Label1 = makeLabel(38, 55, title, tahoma(20, true), QColor(192, 192, 192));
    Label5 = makeLabel(37, 54, title, tahoma(20, true), Qt::black);
    Label2 = makeLabel(184, 88, g_s_Version, font(), Qt::black);
    // The maker's name stands under the title, flush with it.
    Label3 = makeLabel(Label5->x(), 176, MakerName, tahoma(13, true), Qt::black);

    Img_Background = CreateSkinBackground(this);
    m_frame = new TWindowFrame(this);
    TB_Home = CreateComponent<TDynamicImageButton>(this, this, QStringLiteral("TB_Home"));
    TB_Contact = CreateComponent<TDynamicImageButton>(this, this, QStringLiteral("TB_Contact"));
    TB_Close = CreateComponent<TDynamicImageButton>(this, this, QStringLiteral("TB_Close"));
    connect(TB_Home, &TImageButton::clicked, this, [] { OpenHomePage(); });
    connect(TB_Contact, &TImageButton::clicked, this, [] { ComposeContactMail(); });
    connect(TB_Close, &TImageButton::clicked, this, &QWidget::close);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
}

QLabel *TAboutWindow::makeLabel(int x, int y, const QString &text, const QFont &font,
                                const QColor &colour)
{
    auto *label = new QLabel(text, this);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
    // Presses on the texts drag the window like presses on the face.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->adjustSize();
    label->move(x, y);
    return label;
}

void TAboutWindow::ShowModal()
{
    ShowModalUntilClosed(this);
}

void TAboutWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}
