// The three dialogs: progress, profile editor and about. Their labels, edit
// fields and group boxes are the program's own (black text, fixed places);
// the skin gives them a light surface and draws what goes around them.
#include "tools/skingen/buttonart.h"
#include "tools/skingen/canvas.h"
#include "tools/skingen/icons.h"
#include "tools/skingen/theme.h"
#include "tools/skingen/windowart.h"
#include "tools/skingen/windows.h"

#include <QLinearGradient>

namespace {
// The red close button at the right end of a dialog's title bar.
ButtonArt closeButton(const QString &stem, int windowWidth)
{
    return {
        "TB_Close", stem + "_close", {windowWidth - 34, 3, 26, 22}, Look::GhostDanger, Icon::Close,
        {},         "Close"};
}

void card(QPainter &p, const QRectF &r, bool dark = false)
{
    p.setPen(QPen(dark ? Theme::Line : Theme::SurfaceLine, 1));
    p.setBrush(dark ? Theme::Card : Theme::SurfaceCard);
    p.drawPath(Rounded(r.adjusted(0.5, 0.5, -0.5, -0.5), 8));
}

// A well under one of the window's own edit fields.
void well(QPainter &p, const QRectF &r, bool dark = false)
{
    p.setPen(QPen(dark ? Theme::Line : Theme::SurfaceLine, 1));
    p.setBrush(dark ? Theme::Sunken : Theme::SurfaceCard);
    p.drawPath(Rounded(r, 4));
}

void label(QPainter &p, const QRectF &r, const QString &text, bool bold = false, bool dark = false)
{
    const QColor colour =
        dark ? (bold ? Theme::TextHi : Theme::TextLow) : (bold ? Theme::Ink : Theme::InkMuted);
    Text(p, r, text, 11, bold, colour);
}

QImage bar(int w, int h, const QColor &from, const QColor &to)
{
    QImage img = NewCanvas(w, h, Theme::SurfaceLine);
    QPainter p(&img);
    Smooth(p);
    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    const QPainterPath shape = Rounded(QRectF(0, 0, w, h), h / 2.0);
    p.fillPath(shape, g);
    p.end();
    // The bottom-left pixel's colour is the see-through one.
    CutOutside(img, shape);
    return img;
}

void writeImage(const QImage &img, const QString &folder, const QString &name)
{
    if (!SaveBitmap(img, folder + name))
        qFatal("cannot write %s", qPrintable(folder + name));
}

Record picture(const QString &file, int x, int y, int w, int h, bool transparent)
{
    Record r;
    r.set(1, file).set(4, x).set(5, y).set(6, w).set(7, h).set(8, 1).set(9, 0);
    return r.set(11, transparent ? 1 : 0).set(13, 0).set(14, 0);
}

// A dialog's section: its background first, then its buttons, then its outline.
void writeDialog(SkinFile &ini, const QString &section, const QString &stem, const QImage &bg,
                 const QList<ButtonArt> &buttons, const QString &folder,
                 const QList<QPair<QString, Record>> &pictures = {})
{
    ini.section(section);
    QString mask;
    ini.add("Img_Background", WriteBackground(bg, stem, folder, &mask));
    for (const auto &[key, record] : pictures)
        ini.add(key, record);
    for (const ButtonArt &art : buttons)
        ini.add(art.key, WriteAnimatedButton(art, bg, folder));
    ini.add("MaskBmp", mask);
}

ButtonArt lightButton(const QString &key, const QString &file, const QRect &rect, Icon icon,
                      const QString &text, const QString &tip, int textPixels = 12)
{
    return {key, file, rect, Look::Light, icon, text, tip, Motion::Fade, 7, textPixels};
}
} // namespace

void WriteProgressWindow(SkinFile &ini, const QString &folder)
{
    constexpr int w = 546, h = 346;
    // The main window's chrome: the labels take the skin's text colour.
    QImage bg = DialogWindow(w, h, "Converting", true);
    {
        QPainter p(&bg);
        Smooth(p);
        label(p, QRectF(32, 34, 80, 21), "Save to", false, true);
        well(p, QRectF(109.5, 31.5, 302, 26), true);
        p.fillRect(QRect(20, 68, w - 40, 1), Theme::Line);
        card(p, QRectF(20, 78, w - 40, 132), true);
        label(p, QRectF(32, 222, 200, 14), "Progress", true, true);
        label(p, QRectF(32, 241, 100, 13), "This clip", false, true);
        label(p, QRectF(32, 260, 100, 13), "All clips", false, true);
        Text(p, QRectF(32, 294, 340, 36),
             "When every clip is done, the output folder\nopens by itself.", 11, false,
             Theme::TextLow);
    }
    // The bars' panel shows the face under it.
    QImage tracks = CopyPart(bg, QRect(139, 241, 280, 33));
    {
        QPainter p(&tracks);
        Smooth(p);
        for (int y : {1, 20})
            p.fillPath(Rounded(QRectF(0, y, 280, 12), 6), Theme::Raised);
    }
    writeImage(tracks, folder, "progress_tracks.bmp");
    writeImage(bar(280, 12, QColor(0x7D, 0xB4, 0xFF), Theme::Accent), folder, "progress_clip.bmp");
    writeImage(bar(280, 12, QColor(0xB0, 0x9C, 0xFF), Theme::Violet), folder, "progress_batch.bmp");
    const QRect main(396, 294, 130, 36);
    writeDialog(ini, "ProgressWindow", "progress", bg,
                {{"TB_Start", "progress_start", main, Look::Primary, Icon::Play, "Start",
                  "Convert every clip", Motion::Sheen, 8, 13},
                 {"TB_Stop", "progress_stop", main, Look::Danger, Icon::Stop, "Stop",
                  "Stop converting", Motion::Fade, 8, 13},
                 closeButton("progress", w),
                 {"TB_Browse",
                  "progress_browse",
                  {417, 32, 97, 25},
                  Look::Secondary,
                  Icon::Folder,
                  "Browse",
                  "Choose the output folder",
                  Motion::Fade,
                  7,
                  11}},
                folder,
                {{"Img_Progress", picture("progress_tracks.bmp", 0, 0, 280, 33, false)},
                 {"Img_CP", picture("progress_clip.bmp", -280, 1, 280, 12, true)},
                 {"Img_TP", picture("progress_batch.bmp", -280, 20, 280, 12, true)}});
}

void WriteProfileWindow(SkinFile &ini, const QString &folder)
{
    constexpr int w = 480, h = 366;
    QImage bg = DialogWindow(w, h, "Output profile");
    {
        QPainter p(&bg);
        Smooth(p);
        label(p, QRectF(40, 34, 90, 19), "Profile name");
        well(p, QRectF(133.5, 31.5, 230, 24));
        // The window's two group boxes (video at 64, audio at 200) fill
        // their own light blue; a frame a pixel outside sets them off.
        for (int top : {64, 200}) {
            p.setPen(QPen(Theme::SurfaceLine, 1));
            p.setBrush(QColor(234, 243, 250));
            p.drawPath(Rounded(QRectF(38.5, top - 1.5, 404, 124), 4));
        }
        Text(p, QRectF(40, 330, 210, 24), "Saved with the profiles of the\ndevice kind shown now.",
             10, false, Theme::InkMuted);
    }
    ButtonArt ok =
        lightButton("TB_Ok", "profile_ok", {258, 328, 88, 28}, Icon::Ok, "OK", "Save this profile");
    ok.look = Look::Primary;
    writeDialog(ini, "ProfileWindow", "profile", bg,
                {ok,
                 lightButton("TB_Cancel", "profile_cancel", {352, 328, 89, 28}, Icon::Close,
                             "Cancel", "Close without saving"),
                 closeButton("profile", w)},
                folder);
}

void WriteAboutWindow(SkinFile &ini, const QString &folder)
{
    constexpr int w = 392, h = 216;
    QImage bg = DialogWindow(w, h, "About");
    {
        QPainter p(&bg);
        Smooth(p);
        // A wash of the accent behind the mark, fading into the surface.
        QRadialGradient glow(QPointF(344, 74), 90);
        glow.setColorAt(0, QColor(0x3D, 0x8B, 0xFD, 46));
        glow.setColorAt(1, QColor(0x3D, 0x8B, 0xFD, 0));
        p.fillRect(QRect(200, 30, w - 201, 150), glow);
        Shadow(p, QRectF(316, 46, 56, 56), 14, 8, 60);
        DrawLogo(p, QRectF(316, 46, 56, 56));
        // On the baseline of the version label beside it (Tahoma 8 pt at 88).
        Text(p, QRectF(110, 86, 68, 14), "Release", 11, false, Theme::InkMuted,
             Qt::AlignRight | Qt::AlignVCenter);
        Text(p, QRectF(37, 112, 270, 30),
             "Converts your videos for phones, players\nand handhelds.", 11, false,
             Theme::InkMuted);
        p.fillRect(QRect(20, 156, w - 40, 1), Theme::SurfaceLine);
    }
    writeDialog(ini, "AboutWindow", "about", bg,
                // The buttons end where the rule above them ends, 20 pixels in.
                {lightButton("TB_Home", "about_home", {214, 170, 74, 28}, Icon::Home, "Home",
                             "Visit our home page"),
                 lightButton("TB_Contact", "about_contact", {292, 170, 80, 28}, Icon::Mail,
                             "Contact", "Write to us"),
                 closeButton("about", w)},
                folder);
}

void WriteColours(SkinFile &ini)
{
    ini.section("Colours");
    const std::pair<const char *, QColor> roles[] = {
        {"Window", Theme::Card},        {"WindowText", Theme::TextHi},
        {"Base", Theme::Sunken},        {"AlternateBase", Theme::Chrome},
        {"Text", Theme::TextHi},        {"Button", Theme::Raised},
        {"ButtonText", Theme::TextHi},  {"Highlight", Theme::Accent},
        {"HighlightedText", Qt::white}, {"ToolTipBase", Theme::Raised},
        {"ToolTipText", Theme::TextHi}};
    for (const auto &[key, colour] : roles)
        ini.add(key, colour.name());
}
