#pragma once

// Keeps a fixed-size drop-down list readable whatever its lines' length and
// the fonts installed: a shown line that does not fit ends in "…" and has
// the whole line as its tooltip, and the popup opens wide enough for the
// longest line.

#include <QObject>

class QComboBox;

class ComboElider : public QObject
{
    Q_OBJECT

public:
    // Watches list for its lifetime (it becomes the parent).
    explicit ComboElider(QComboBox *list);

    // The text the closed list shows for its current line in its width.
    QString shownText() const;
    // The width the popup needs for its longest line.
    int popupWidth() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int textWidth() const;
    void refresh();

    QComboBox *m_list;
};
