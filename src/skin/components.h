#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

// The components a window owns, in the order it made them. Qt parents a
// widget to the control it sits in (a picture inside a panel), but the skin
// dresses a window by the window's own list: its designed components first,
// then the skinned controls it creates at start, and not the parts that a
// composite control makes inside itself. Every window the skin dresses adds
// its components here as it creates them.
void AddComponent(QWidget *owner, QObject *component);
QObjectList Components(const QWidget *owner);

// Creates a component of kind T inside parent, named after its skin key,
// and adds it to owner's list.
template <class T> T *CreateComponent(QWidget *owner, QWidget *parent, const QString &name)
{
    auto *component = new T(parent);
    component->setObjectName(name);
    AddComponent(owner, component);
    return component;
}
