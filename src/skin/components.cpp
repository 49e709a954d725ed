#include "skin/components.h"

#include <QList>
#include <QPointer>

namespace {
const char *const kListName = "zelo_components";

// Kept as a hidden child of the owner so the list lives and dies with it.
class ComponentList : public QObject
{
public:
    using QObject::QObject;
    QList<QPointer<QObject>> items;
};

ComponentList *listOf(const QWidget *owner, bool create)
{
    for (QObject *child : owner->children())
        if (child->objectName() == QLatin1String(kListName))
            if (auto *list = dynamic_cast<ComponentList *>(child))
                return list;
    if (!create)
        return nullptr;
    auto *list = new ComponentList(const_cast<QWidget *>(owner));
    list->setObjectName(QLatin1String(kListName));
    return list;
}
} // namespace

void AddComponent(QWidget *owner, QObject *component)
{
    if (owner && component)
        listOf(owner, true)->items.append(component);
}

QObjectList Components(const QWidget *owner)
{
    QObjectList out;
    if (const ComponentList *list = owner ? listOf(owner, false) : nullptr)
        for (const QPointer<QObject> &item : list->items)
            if (item)
                out.append(item.data());
    return out;
}
