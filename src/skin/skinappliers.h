#pragma once

#include "skin/skinsource.h"

class TImage;
class TImageButton;
class TCheckImageButton;
class TDynamicImageButton;
class TListPanel;
class TFixProgress;

// Each dresses one control from the record under the control's name and
// returns whether the record was good. A failing control may be partly
// dressed; the loader reports the failure.
bool SkinImage(TImage *image, const SkinSource &skin);
bool SkinImageButton(TImageButton *button, const SkinSource &skin);
// The force flags give the strip a hover, pressed or disabled slice whatever
// the record says (the dynamic button's fields 13 and 14 hold timings).
bool SkinImageButton(TImageButton *button, const SkinSource &skin, bool forceHover,
                     bool forcePressed, bool forceDisabled);
bool SkinCheckImageButton(TCheckImageButton *button, const SkinSource &skin);
bool SkinDynamicImageButton(TDynamicImageButton *button, const SkinSource &skin);
// The clip list: its scrollbar parts and ground, then its place.
bool SkinListPanel(TListPanel *list, const SkinSource &skin);
// The position and trim slider: face, range, thumb and (both or neither)
// marker strips, then its place.
bool SkinFixProgress(TFixProgress *slider, const SkinSource &skin);
