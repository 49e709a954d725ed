#pragma once

#include <QAccessibleWidget>

struct Clip;

// A clip's entry read aloud: its file name, then the facts the entry shows
// under their own captions.
QString ClipEntryName(const Clip &clip);
// Its trim, as the entry shows it.
QString ClipEntryDescription(const Clip &clip);

// One entry of the clip list: a list item, named after its clip, selectable,
// with the selection it shows.
class AccessibleClipItem : public QAccessibleWidget
{
public:
    explicit AccessibleClipItem(QWidget *item);

    QAccessibleInterface *parent() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
};
