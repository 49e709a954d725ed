#pragma once

#include <QWidget>

class QLabel;
class TDynamicImageButton;
class TImage;
class TWindowFrame;

// The about window: the product's title with its shadow, the version, the
// maker, and buttons to the home page and to a contact mail. Made on first
// use, skinned once from the section "AboutWindow", then reused.
class TAboutWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TAboutWindow(QWidget *owner);

    // Shows the window application-modal and returns when it is closed.
    void ShowModal();

    QLabel *Label1 = nullptr; // the title's silver shadow
    QLabel *Label2 = nullptr; // the version
    QLabel *Label3 = nullptr; // the maker
    QLabel *Label5 = nullptr; // the title

    TImage *Img_Background = nullptr;
    TDynamicImageButton *TB_Home = nullptr, *TB_Contact = nullptr, *TB_Close = nullptr;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *makeLabel(int x, int y, const QString &text, const QFont &font, const QColor &colour);

    TWindowFrame *m_frame = nullptr;
};
