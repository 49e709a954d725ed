#include "app/aboutwindow.h"
#include "app/application.h"
#include "app/helpmenu.h"
#include "app/links.h"
#include "app/mainwindow.h"
#include "controls/dynamicimagebutton.h"
#include "controls/image.h"
#include "platform/pubfunction.h"
#include "skin/skin.h"
#include "tests/support/programwindows.h"

#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

void Click(QWidget *button)
{
    const QPoint middle(button->width() / 2, button->height() / 2);
    QTest::mousePress(button, Qt::LeftButton, {}, middle);
    QTest::mouseRelease(button, Qt::LeftButton, {}, middle);
}

QString DecodedBody(const QString &mailto)
{
    const qsizetype at = mailto.indexOf("&body=");
    return at < 0 ? QString() : QUrl::fromPercentEncoding(mailto.mid(at + 6).toUtf8());
}

// Throws from inside an event handler, as any handler of the program might.
class Thrower : public QObject
{
public:
    explicit Thrower(std::string message) : m_message(std::move(message)) {}
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error(m_message);
        return QObject::event(e);
    }

private:
    std::string m_message;
};

class HelpMenuTest : public ProgramWindows
{
protected:
    void SetUp() override { startProgram(FakeEngineDir("full")); }

    // Runs check once the modal about window is up, then closes it with its
    // own Close button.
    TAboutWindow *showAbout(const std::function<void(TAboutWindow *)> &check)
    {
        TAboutWindow *seen = nullptr;
        QTimer::singleShot(0, [&] {
            seen = window->helpMenu()->aboutWindow();
            if (!seen)
                return;
            check(seen);
            Click(seen->TB_Close);
        });
        entry("About")->trigger();
        return seen;
    }

    QAction *entry(const char *name)
    {
        if (!window->helpMenu()->menu())
            window->helpMenu()->Popup(QPoint(0, 0));
        return window->helpMenu()->menu()->findChild<QAction *>(QLatin1String(name));
    }

    void raise(const std::string &message)
    {
        Thrower thrower(message);
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
    }
};

TEST_F(HelpMenuTest, BuiltOnceAndShownAtTheCursor)
{
    EXPECT_EQ(window->helpMenu()->menu(), nullptr);
    QCursor::setPos(120, 140);
    Click(window->TB_Help);
    QMenu *menu = window->helpMenu()->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), QPoint(120, 140));

    QStringList captions, names;
    for (QAction *a : menu->actions()) {
        captions << (a->isSeparator() ? "-" : a->text());
        names << a->objectName();
    }
    EXPECT_EQ(captions, (QStringList{"Home Page", "Contact us", "Help File", "-", "About"}));
    EXPECT_EQ(names, (QStringList{"Home", "Contact", "Help", "", "About"}));

    menu->close();
    QCursor::setPos(200, 90);
    Click(window->TB_Help);
    EXPECT_EQ(window->helpMenu()->menu(), menu);
    EXPECT_EQ(menu->actions().size(), 5);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), QPoint(200, 90));
    menu->close();
}

TEST_F(HelpMenuTest, EntriesHandTheirAddressesToTheShell)
{
    entry("Home")->trigger();
    entry("Contact")->trigger();
    entry("Help")->trigger();
    EXPECT_EQ(shell.opened,
              (QStringList{HomePageAddress,
                           "mailto:" + SupportMailAddress + "?subject=Zelo%203GP%20Converter",
                           prog + "help/index.html"}));
    EXPECT_TRUE(HomePageAddress.contains(".example/"));
    EXPECT_TRUE(shell.boxes.isEmpty());
}

TEST_F(HelpMenuTest, AboutIsMadeSkinnedOnceAndReused)
{
    TAboutWindow *first = showAbout([&](TAboutWindow *about) {
        EXPECT_TRUE(about->isVisible());
        EXPECT_TRUE(about->isModal());
        EXPECT_EQ(about->size(), QSize(392, 216));
        EXPECT_FALSE(about->Img_Background->Picture().isNull());
        EXPECT_EQ(about->Label5->text(), "Zelo 3GP Converter 2.1");
        EXPECT_EQ(about->Label1->text(), about->Label5->text());
        EXPECT_EQ(about->Label1->pos() - about->Label5->pos(), QPoint(1, 1));
        EXPECT_EQ(about->Label2->text(), "2.1.6 Build on 20070503");
        EXPECT_EQ(about->Label3->text(), MakerName);
        EXPECT_EQ(about->Label3->x(), about->Label5->x());
        Click(about->TB_Home);
        Click(about->TB_Contact);
    });
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(shell.opened, (QStringList{HomePageAddress, "mailto:" + ContactMailAddress}));
    const QRect home = first->TB_Home->geometry();

    // A skin read again now would fail on this record and say so.
    QByteArray ini = ReadFileBytes(path_Skin + "Skin.ini");
    const qsizetype at = ini.indexOf("TB_Home=");
    ASSERT_GE(at, 0);
    ini.replace(at, ini.indexOf('\n', at) - at, "TB_Home=broken");
    ASSERT_TRUE(WriteFileBytes(path_Skin + "Skin.ini", ini));

    TAboutWindow *second = showAbout([](TAboutWindow *) {});
    EXPECT_EQ(second, first);
    EXPECT_EQ(second->TB_Home->geometry(), home);
    EXPECT_TRUE(shell.boxes.isEmpty()) << shell.texts().join("|").toStdString();
    // ...as a fresh window shows.
    TAboutWindow fresh(nullptr);
    LoadSkin(&fresh, path_Skin);
    EXPECT_EQ(shell.texts(), QStringList{SkinErrorText});
}

TEST_F(HelpMenuTest, EscapedExceptionOffersAMailedReport)
{
    const QString question =
        "Zelo 3GP Converter has found an error.\nWould you be willing to send this data to "
        "us?\nPlease click \"Yes\" to send this message to us, thank you very much!";
    raise("Unable to write to /home/u/my profiles & more.ini");
    raise("");
    shell.confirmAnswer = false;
    raise("not sent");

    ASSERT_EQ(shell.boxes.size(), 3);
    for (const auto &box : shell.boxes) {
        EXPECT_EQ(box.kind, "confirm");
        EXPECT_EQ(box.text, question);
    }
    ASSERT_EQ(shell.opened.size(), 2);
    for (const QString &mail : shell.opened)
        EXPECT_TRUE(mail.startsWith("mailto:" + SupportMailAddress +
                                    "?subject=Zelo%203GP%20Converter&body="));
    EXPECT_EQ(DecodedBody(shell.opened[0]),
              "There are some errors : Unable to write to /home/u/my profiles & "
              "more.ini\r\n@ Version : 2.1.6 Build on 20070503");
    EXPECT_EQ(DecodedBody(shell.opened[1]),
              "There are some errors : \r\n@ Version : 2.1.6 Build on 20070503");

    // Once the main window is gone, the handler before it is back.
    window->FormDestroy();
    shell.boxes.clear();
    raise("after");
    EXPECT_EQ(shell.texts(), QStringList{"after"});
    EXPECT_EQ(shell.opened.size(), 2);
}

} // namespace
