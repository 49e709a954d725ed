#pragma once

#include <QObject>
#include <QPoint>

class QAction;
class QMenu;
class QWidget;
class TAboutWindow;

// The main window's help menu (home page, contact mail, user guide, about)
// and the about window it opens. Both are made on first use and kept until
// the owner lets this go.
class HelpMenu : public QObject
{
    Q_OBJECT

public:
    explicit HelpMenu(QWidget *owner);
    ~HelpMenu() override;

    // Shows the menu with its corner at globalPos, building it the first time.
    void Popup(const QPoint &globalPos);
    // Runs the entry's action, chosen by the entry's name.
    void HelpMenuClick(QAction *entry);
    // Makes and skins the about window on first use, then shows it modally.
    void ShowAbout();

    QMenu *menu() const { return m_menu; }
    TAboutWindow *aboutWindow() const { return m_about; }

private:
    void build();

    QWidget *m_owner;
    QMenu *m_menu = nullptr;
    TAboutWindow *m_about = nullptr;
};
