#include "skin/skin.h"

#include "controls/checkimagebutton.h"
#include "controls/colourregion.h"
#include "controls/dynamicimagebutton.h"
#include "controls/fixprogress.h"
#include "controls/image.h"
#include "controls/listpanel.h"
#include "controls/picture.h"
#include "platform/shell.h"
#include "platform/windowsystem.h"
#include "skin/components.h"
#include "skin/skinappliers.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QWidget>

namespace {
using Applier = bool (*)(QObject *, const SkinSource &);

template <class Control, bool (*Apply)(Control *, const SkinSource &)>
bool dress(QObject *component, const SkinSource &skin)
{
    return Apply(static_cast<Control *>(component), skin);
}

struct SkinnableKind
{
    const QMetaObject *kind;
    Applier apply;
};

// The kinds the skin dresses. A component is matched on its exact class, so
// a check button is never dressed as a plain one: its own applier does that
// part. A new skinnable control adds its line here.
const SkinnableKind kSkinnableKinds[] = {
    {&TImage::staticMetaObject, dress<TImage, SkinImage>},
    {&TImageButton::staticMetaObject, dress<TImageButton, SkinImageButton>},
    {&TCheckImageButton::staticMetaObject, dress<TCheckImageButton, SkinCheckImageButton>},
    {&TDynamicImageButton::staticMetaObject, dress<TDynamicImageButton, SkinDynamicImageButton>},
    {&TListPanel::staticMetaObject, dress<TListPanel, SkinListPanel>},
    {&TFixProgress::staticMetaObject, dress<TFixProgress, SkinFixProgress>},
};

Applier applierFor(const QObject *component)
{
    for (const SkinnableKind &k : kSkinnableKinds)
        if (component->metaObject() == k.kind)
            return k.apply;
    return nullptr; // panels, lists, labels and the like keep their design
}

// Where a mask only limits input (Wayland), the outline is what the window
// paints: it is see-through, and every control that reaches beyond the
// outline (the background, at least) is cut to it, since a window's mask
// does not clip the painting of its controls there.
void PaintOnlyInside(QWidget *window, const QRegion &outline)
{
    window->setAttribute(Qt::WA_TranslucentBackground);
    window->setAutoFillBackground(false);
    for (QWidget *child : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const QRegion inside = outline.translated(-child->pos()) & child->rect();
        if (inside != QRegion(child->rect()))
            child->setMask(child->mask().isEmpty() ? inside : child->mask() & inside);
    }
}
} // namespace

bool LoadSkin(QWidget *window, const QString &folder)
{
    const QString iniPath = folder + QStringLiteral("Skin.ini");
    if (!QFileInfo(iniPath).isFile())
        return false;
    const SkinSource skin{folder, window->objectName(), IniFile(iniPath)};
    for (QObject *component : Components(window)) {
        Applier apply = applierFor(component);
        if (apply && !apply(component, skin)) {
            TheShell().error(SkinErrorText);
            return false;
        }
    }
    ShapeWindow(window, skin);
    return true;
}

void ShapeWindow(QWidget *window, const SkinSource &skin)
{
    const QString path = skin.folder + skin.ini.readString(skin.section, QStringLiteral("MaskBmp"),
                                                           QStringLiteral("NoData"));
    if (!QFileInfo(path).isFile())
        return;
    const QImage mask = LoadPictureFile(path);
    // A mask that does not decode would cut the whole window away.
    if (mask.isNull())
        return;
    const QRegion outline = OutlineRegion(mask);
    if (!MaskShapesWindow(QGuiApplication::platformName()))
        PaintOnlyInside(window, outline);
    window->setMask(outline);
    window->update();
}
