#include "app/helpmenu.h"

#include "app/aboutwindow.h"
#include "app/links.h"
#include "platform/pubfunction.h"
#include "skin/skin.h"

#include <QMenu>
#include <QWidget>

HelpMenu::HelpMenu(QWidget *owner) : QObject(owner), m_owner(owner) {}

HelpMenu::~HelpMenu()
{
    delete m_menu;
    delete m_about;
}

void HelpMenu::build()
{
    m_menu = new QMenu(m_owner);
    m_menu->setObjectName(QStringLiteral("HelpMenu"));
    const struct
    {
        const char *caption;
        const char *name;
    } entries[] = {{"Home Page", "Home"}, {"Contact us", "Contact"}, {"Help File", "Help"}};
    for (const auto &e : entries)
        m_menu->addAction(QString::fromLatin1(e.caption))->setObjectName(QLatin1String(e.name));
    m_menu->addSeparator();
    m_menu->addAction(QStringLiteral("About"))->setObjectName(QStringLiteral("About"));
    connect(m_menu, &QMenu::triggered, this, &HelpMenu::HelpMenuClick);
}

void HelpMenu::Popup(const QPoint &globalPos)
{
    if (!m_menu)
        build();
    m_menu->popup(globalPos);
}

void HelpMenu::HelpMenuClick(QAction *entry)
{
    const QString name = entry ? entry->objectName() : QString();
    if (name == QLatin1String("About"))
        ShowAbout();
    else if (name == QLatin1String("Home"))
        OpenHomePage();
    else if (name == QLatin1String("Contact"))
        ComposeSupportMail(QString());
    else if (name == QLatin1String("Help"))
        OpenHelpFile();
}

void HelpMenu::ShowAbout()
{
    if (!m_about) {
        m_about = new TAboutWindow(m_owner);
        // A skin that fails leaves the window as designed; it still opens.
        LoadSkin(m_about, path_Skin);
    }
    m_about->ShowModal();
}
