#pragma once

#include <QColor>
#include <QWidget>

// The ring that shows which skinned control has the keyboard focus. It lies
// over its control and takes no input. It shows only for focus that came
// from the keyboard (Tab, a shortcut) or once a key went to the control, so
// a mouse user never sees it and the windows look as they always did.
class FocusRing : public QWidget
{
    Q_OBJECT

public:
    explicit FocusRing(QWidget *control);

    // The skin's accent colour, for every ring of the program.
    static void setColour(const QColor &colour);
    static QColor colour();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void showRing(bool on);
};
