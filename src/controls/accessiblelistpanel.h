#pragma once

#include <QAccessibleWidget>

class TListPanel;

// The clip list as a screen reader sees it: a list whose children are the
// clips' entries in list order (the scrollbar's parts are not the list's).
class AccessibleListPanel : public QAccessibleWidget
{
public:
    explicit AccessibleListPanel(QWidget *list);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

private:
    TListPanel *list() const;
};
