#include "skin/skinappliers.h"

#include "controls/checkimagebutton.h"
#include "controls/dynamicimagebutton.h"
#include "controls/fixprogress.h"
#include "controls/image.h"
#include "controls/listpanel.h"
#include "controls/picture.h"
#include "skin/skinrecord.h"

namespace {
// Field numbers shared by every kind of record.
enum Field
{
    File = 1,
    SecondFile = 2,
    ThirdFile = 3,
    Left = 4,
    Top = 5,
    Width = 6,
    Height = 7,
    Visible = 8,
    Enabled = 9,
    Outline = 10,
    Transparent = 11,
    Hint = 12,
};

// Fields 13 to 15 mean something of their own for each kind of record.
enum ImageField
{
    FitParentWidth = 13,
    FitParentHeight = 14,
};
enum ButtonField // a button's strip, and a check button's checked strip
{
    HasHover = 13,
    HasPressed = 14,
    HasDisabled = 15,
};
enum AnimationField
{
    FrameInterval = 13,
    AnimationPause = 14,
};
enum ListField
{
    TrackFile = 13,
    GroundFile = 14,
    BottomFile = 15,
};
enum SliderField
{
    StartMarkerFile = 13,
    StopMarkerFile = 14,
};

void vanish(QWidget *control)
{
    control->setGeometry(0, 0, 0, 0);
    control->hide();
}

// The skin's pictures follow the screens' density; geometry stays the record's.
QImage SkinPicture(const QString &path)
{
    return LoadSkinPicture(path, ScreenPixelRatio());
}
} // namespace

bool SkinImage(TImage *image, const SkinSource &skin)
{
    const QString record = skin.record(image->objectName());
    if (record == SkinWrong)
        return false;
    if (record == SkinClear) {
        image->ClearPicture();
        return true;
    }
    if (record == SkinInvisible) {
        image->ClearPicture();
        vanish(image);
        return true;
    }
    const QString file = skin.existingFile(record, File);
    if (file.isEmpty() || !image->LoadPicture(file))
        return false;
    const int w = SkinNumber(record, Width), h = SkinNumber(record, Height);
    image->move(SkinNumber(record, Left), SkinNumber(record, Top));
    if (QWidget *parent = image->parentWidget()) {
        if (SkinFlag(record, FitParentWidth))
            parent->resize(w, parent->height());
        if (SkinFlag(record, FitParentHeight))
            parent->resize(parent->width(), h);
    }
    image->resize(w, h);
    image->setVisible(SkinFlag(record, Visible));
    image->setEnabled(SkinFlag(record, Enabled));
    image->SetTransparent(SkinFlag(record, Transparent));
    image->update();
    return true;
}

bool SkinImageButton(TImageButton *button, const SkinSource &skin)
{
    return SkinImageButton(button, skin, false, false, false);
}

bool SkinImageButton(TImageButton *button, const SkinSource &skin, bool forceHover,
                     bool forcePressed, bool forceDisabled)
{
    const QString record = skin.record(button->objectName());
    if (record == SkinWrong)
        return false;
    if (record == SkinInvisible) {
        vanish(button);
        return true;
    }
    const QString file = skin.existingFile(record, File);
    if (file.isEmpty())
        return false;
    const bool loaded =
        button->LoadStates(SkinPicture(file), SkinNumber(record, Width), SkinNumber(record, Height),
                           SkinFlag(record, Outline), forceHover || SkinFlag(record, HasHover),
                           forcePressed || SkinFlag(record, HasPressed),
                           forceDisabled || SkinFlag(record, HasDisabled));
    // Placed and labelled even when the strip was bad, so a broken skin still
    // shows where things are.
    button->move(SkinNumber(record, Left), SkinNumber(record, Top));
    button->setVisible(SkinFlag(record, Visible));
    button->SetButtonEnabled(SkinFlag(record, Enabled));
    button->setToolTip(SkinField(record, Hint));
    button->update();
    return loaded;
}

bool SkinCheckImageButton(TCheckImageButton *button, const SkinSource &skin)
{
    if (!SkinImageButton(button, skin))
        return false;
    const QString record = skin.record(button->objectName());
    if (record == SkinInvisible)
        return true;
    if (SkinFieldIsStatic(record, SecondFile)) {
        button->show();
        return true;
    }
    const QString file = skin.existingFile(record, SecondFile);
    if (file.isEmpty())
        return false;
    const bool loaded =
        button->LoadCheckedStates(SkinPicture(file), SkinFlag(record, HasHover),
                                  SkinFlag(record, HasPressed), SkinFlag(record, HasDisabled));
    button->SetHints(SkinField(record, Hint));
    button->SetChecked(button->Checked());
    button->show();
    return loaded;
}

bool SkinDynamicImageButton(TDynamicImageButton *button, const SkinSource &skin)
{
    if (!SkinImageButton(button, skin, true, true, false))
        return false;
    const QString record = skin.record(button->objectName());
    if (record == SkinInvisible)
        return true;
    if (SkinFieldIsStatic(record, SecondFile)) {
        button->LoadAnimation(QImage(), 0, 0);
        button->show();
        return true;
    }
    const QString file = skin.existingFile(record, SecondFile);
    if (file.isEmpty())
        return false;
    const bool loaded = button->LoadAnimation(SkinPicture(file), SkinNumber(record, FrameInterval),
                                              SkinNumber(record, AnimationPause));
    button->show();
    return loaded;
}

bool SkinListPanel(TListPanel *list, const SkinSource &skin)
{
    const QString record = skin.record(list->objectName());
    if (record == SkinInvisible) {
        list->hide();
        return true;
    }
    const QString thumb = skin.existingFile(record, File);
    const QString track = skin.existingFile(record, TrackFile);
    const QString ground = skin.existingFile(record, GroundFile);
    if (thumb.isEmpty() || track.isEmpty() || ground.isEmpty())
        return false;
    list->show();
    // Every part is tried, so one bad bitmap does not leave the rest undone.
    bool ok = list->SetBackgroundImage(SkinPicture(ground));
    const QString bottom = skin.existingFile(record, BottomFile);
    if (!bottom.isEmpty())
        ok &= list->SetBottomImage(SkinPicture(bottom));
    ok &= list->SetThumbBitmap(SkinPicture(thumb));
    ok &= list->SetTrackImage(SkinPicture(track));
    // A scroll button without a file is left out; one whose file does not
    // decode is a broken skin.
    const QString up = skin.existingFile(record, SecondFile);
    const QImage upStrip = up.isEmpty() ? QImage() : SkinPicture(up);
    ok &= (up.isEmpty() || !upStrip.isNull()) && list->SetUpButtonBitmap(upStrip);
    const QString down = skin.existingFile(record, ThirdFile);
    const QImage downStrip = down.isEmpty() ? QImage() : SkinPicture(down);
    ok &= (down.isEmpty() || !downStrip.isNull()) && list->SetDownButtonBitmap(downStrip);
    list->resize(SkinNumber(record, Width), SkinNumber(record, Height));
    ok &= list->FinishSkin();
    list->move(SkinNumber(record, Left), SkinNumber(record, Top));
    return ok;
}

bool SkinFixProgress(TFixProgress *slider, const SkinSource &skin)
{
    const QString record = skin.record(slider->objectName());
    if (record == SkinInvisible) {
        vanish(slider);
        return true;
    }
    const QString thumb = skin.existingFile(record, File);
    const QString background = skin.existingFile(record, ThirdFile);
    const QString range = skin.existingFile(record, SecondFile);
    if (thumb.isEmpty() || background.isEmpty() || range.isEmpty())
        return false;
    bool ok = slider->SetBackgroundBitmap(SkinPicture(background));
    ok &= slider->SetRangeBitmap(SkinPicture(range));
    // Markers come in pairs: with either strip missing the slider has none.
    const QString in = skin.existingFile(record, StartMarkerFile);
    const QString out = skin.existingFile(record, StopMarkerFile);
    const bool markers = !in.isEmpty() && !out.isEmpty();
    ok &= slider->SetThumbBitmaps(SkinPicture(thumb), markers ? SkinPicture(in) : QImage(),
                                  markers ? SkinPicture(out) : QImage());
    slider->FinishSkin();
    slider->move(SkinNumber(record, Left), SkinNumber(record, Top));
    slider->setVisible(SkinFlag(record, Visible));
    slider->setEnabled(SkinFlag(record, Enabled));
    slider->setToolTip(SkinField(record, Hint));
    slider->show();
    return ok;
}
