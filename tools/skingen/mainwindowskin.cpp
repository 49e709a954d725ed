// The main window: clip list on the left, preview on the right, the profile
// row and the convert button at the bottom. The preview panel (421, 68,
// 300 x 224) and the profile list (24, 358, 497 wide) are the window's own
// and fixed; everything here is laid out around them.
#include "tools/skingen/buttonart.h"
#include "tools/skingen/canvas.h"
#include "tools/skingen/icons.h"
#include "tools/skingen/parts.h"
#include "tools/skingen/theme.h"
#include "tools/skingen/windowart.h"
#include "tools/skingen/windows.h"

#include <QLinearGradient>

namespace {
constexpr int kWidth = 733, kHeight = 402, kTitle = 44;
// Whole rows only: three rows of 66 (the first after a 2-pixel margin) and
// the list's 6-pixel floor over the next row's top, so no clip shows cut.
const QRect kList(12, 68, 404, 3 * 66 + 6);
const QRect kPreview(421, 68, 300, 224);
const QRect kProfile(24, 358, 497, 21);
const QPoint kSlider(421, 295);

QImage face()
{
    QImage img = ChromeWindow(kWidth, kHeight);
    QPainter p(&img);
    Smooth(p);
    QLinearGradient bar(0, 0, 0, kTitle);
    bar.setColorAt(0, QColor(0x1D, 0x24, 0x31));
    bar.setColorAt(1, QColor(0x17, 0x1C, 0x27));
    p.setClipPath(Rounded(QRectF(1, 1, kWidth - 2, kHeight - 2), WindowRadius - 1));
    p.fillRect(QRect(0, 0, kWidth, kTitle), bar);
    p.fillRect(QRect(0, kTitle, kWidth, 1), QColor(0x28, 0x30, 0x3F));
    p.setClipping(false);

    DrawLogo(p, QRectF(14, 10, 24, 24));
    Text(p, QRectF(48, 7, 300, 18), "Zelo 3GP Converter", 15, true, Theme::TextHi);
    Text(p, QRectF(48, 24, 360, 14), "Video for phones, players and handhelds", 11, false,
         Theme::TextLow);

    Caption(p, 14, 61, "Clips", Theme::TextLow);
    Caption(p, kPreview.x(), 61, "Preview", Theme::TextLow);
    Caption(p, kProfile.x(), 351, "Output profile", Theme::TextLow);

    // Frames around the list and the preview, a pixel outside each.
    p.setPen(QPen(QColor(0x2A, 0x32, 0x42), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Rounded(QRectF(kList).adjusted(-1.5, -1.5, 1.5, 1.5), 4));
    p.drawPath(Rounded(QRectF(kPreview).adjusted(-1.5, -1.5, 1.5, 1.5), 4));
    // A well for the profile list, whose own face takes the skin's colours.
    p.setPen(QPen(QColor(0x3A, 0x44, 0x56), 1));
    p.setBrush(QColor(0x0C, 0x10, 0x16));
    p.drawPath(Rounded(QRectF(kProfile).adjusted(-2.5, -2.5, 2.5, 2.5), 4));
    return img;
}
} // namespace

void WriteMainWindow(SkinFile &ini, const QString &folder)
{
    const QImage bg = face();
    ini.section("MainWindow");
    QString mask;
    ini.add("Img_Background", WriteBackground(bg, "main", folder, &mask));
    ini.add("Img_VideoPic", Record()
                                .set(1, "3gp.jpg")
                                .set(4, 0)
                                .set(5, 0)
                                .set(6, kPreview.width())
                                .set(7, kPreview.height())
                                .set(8, 1)
                                .set(9, 0)
                                .set(11, 0)
                                .set(13, 0)
                                .set(14, 0));
    ini.add("TP_ImageList", WriteClipListParts(kList, folder));
    ini.add("TP_Progress", WriteSliderParts(kSlider, kPreview.width(), bg, folder));

    const int row = 316;
    const QList<ButtonArt> buttons = {
        {"TB_Previous",
         "main_markin",
         {421, row, 32, 32},
         Look::Ghost,
         Icon::MarkIn,
         {},
         "Start the clip here"},
        {"TB_Play", "main_play", {457, row, 44, 32}, Look::Primary, Icon::Play, {}, "Play"},
        {"TB_Pause", "main_pause", {505, row, 32, 32}, Look::Ghost, Icon::Pause, {}, "Pause"},
        {"TB_Stop", "main_stop", {541, row, 32, 32}, Look::Ghost, Icon::Stop, {}, "Stop"},
        {"TB_Next",
         "main_markout",
         {577, row, 32, 32},
         Look::Ghost,
         Icon::MarkOut,
         {},
         "End the clip here"},
        {"TB_Help", "main_help", {kWidth - 114, 8, 34, 28}, Look::Ghost, Icon::Help, {}, "Help"},
        {"TB_Min",
         "main_min",
         {kWidth - 78, 8, 34, 28},
         Look::Ghost,
         Icon::Minimise,
         {},
         "Minimise"},
        {"TB_Close",
         "main_close",
         {kWidth - 42, 8, 34, 28},
         Look::GhostDanger,
         Icon::Close,
         {},
         "Close"},
        {"TB_AddFile",
         "main_add",
         {12, 300, 112, 32},
         Look::Secondary,
         Icon::Add,
         "Add files",
         "Add video files to the list"},
        {"TB_DelFile",
         "main_remove",
         {128, 300, 100, 32},
         Look::Secondary,
         Icon::Remove,
         "Remove",
         "Remove the selected clips"},
        {"TB_Edit",
         "main_edit",
         {527, 355, 28, 28},
         Look::Secondary,
         Icon::Edit,
         {},
         "Edit this profile"},
        {"TB_Convert",
         "main_convert",
         {563, 350, 158, 40},
         Look::Primary,
         Icon::Convert,
         "Convert",
         "Convert every clip in the list",
         Motion::Sheen,
         9,
         14},
    };
    for (const ButtonArt &art : buttons)
        ini.add(art.key, WriteAnimatedButton(art, bg, folder));

    const QRect keep(689, row, 32, 32);
    ini.add("TB_AS_Keep", WriteToggleButton({"TB_AS_Keep",
                                             "main_ratio_free",
                                             keep,
                                             Look::Ghost,
                                             Icon::RatioFree,
                                             {},
                                             "Stretch to the frame size"},
                                            {"TB_AS_Keep",
                                             "main_ratio_kept",
                                             keep,
                                             Look::Selected,
                                             Icon::RatioKept,
                                             {},
                                             "Keep the aspect ratio"},
                                            bg, folder));

    // The device kinds as a row of toggles in the title bar, right above the
    // device picture; the one on is the kind whose profiles are listed.
    struct Kind
    {
        const char *key, *file, *label, *tip;
    };
    const Kind kinds[] = {
        {"TB_3GP", "main_kind_3gp", "3GP", "Mobile phones (3GP)"},
        {"TB_PSP", "main_kind_psp", "PSP", "Handheld console (MP4)"},
        {"TB_iPod", "main_kind_ipod", "iPod", "Music and video player (MP4)"},
        {"TB_PDA", "main_kind_pda", "PDA", "Pocket PC (MP4)"},
        {"TB_MP4", "main_kind_mp4", "MP4", "Any MP4 player"},
    };
    int x = kPreview.x();
    for (const Kind &k : kinds) {
        const QRect r(x, 8, 36, 28);
        x += 39;
        ButtonArt off{k.key, QString(k.file) + "_off", r, Look::Ghost, Icon::None, k.label, k.tip};
        off.textPixels = 11;
        ButtonArt on = off;
        on.file = QString(k.file) + "_on";
        on.look = Look::Selected;
        ini.add(k.key, WriteToggleButton(off, on, bg, folder));
    }
    ini.add("MaskBmp", mask);
}
