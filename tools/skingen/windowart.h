#pragma once

#include "tools/skingen/skinfile.h"

#include <QImage>
#include <QString>

// Corner radius of every window's outline.
inline constexpr int WindowRadius = 10;

// The dark chrome every window shares: a rounded face with a hairline edge.
QImage ChromeWindow(int w, int h);
// A dialog: a slim dark title bar with the mark and the title over a light
// surface, where the program's own black labels stay readable; or, dark,
// over the main window's chrome, for a window whose labels take the skin's
// text colour.
QImage DialogWindow(int w, int h, const QString &title, bool dark = false);
inline constexpr int DialogTitleHeight = 28;

// Writes the window's background and its outline mask; returns the record of
// Img_Background (which also gives the window its size).
Record WriteBackground(const QImage &face, const QString &stem, const QString &folder,
                       QString *maskFile);
// Small upper-case caption, as section headings are set.
void Caption(QPainter &p, int x, int y, const QString &text, const QColor &colour);
