#include "controls/accessiblefactory.h"

#include "controls/accessibleclipitem.h"
#include "controls/accessibleimagebutton.h"
#include "controls/accessiblelistpanel.h"
#include "controls/accessibleprogressbar.h"
#include "controls/accessibleslider.h"
#include "controls/fixprogress.h"
#include "controls/image.h"
#include "controls/imagebutton.h"
#include "controls/imageitem.h"
#include "controls/listpanel.h"

namespace {
QAccessibleInterface *SkinnedControl(const QString &, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (qobject_cast<TImageButton *>(object))
        return new AccessibleImageButton(widget);
    if (qobject_cast<TListPanel *>(object))
        return new AccessibleListPanel(widget);
    if (qobject_cast<Image_Item *>(object))
        return new AccessibleClipItem(widget);
    if (qobject_cast<TFixProgress *>(object))
        return new AccessibleSlider(widget);
    // The skinned windows are frameless: a screen reader takes them for
    // windows, named by their titles, not for panels.
    if (widget->windowType() == Qt::Window &&
        widget->windowFlags().testFlag(Qt::FramelessWindowHint))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (qobject_cast<TImage *>(object))
        return new AccessibleProgressBar(widget);
    return nullptr;
}
} // namespace

void InstallAccessibleFactory()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(&SkinnedControl);
}
