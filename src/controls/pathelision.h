#pragma once

#include <QString>

class QFontMetrics;

// A path shortened to fit width pixels in the given face: the folders lose
// their middle ("/home/…/Videos/"), or go altogether ("…/"), so the file's
// own name, the part that tells clips apart, stays whole. Only a name too
// wide by itself is cut, in its middle, keeping its start and its extension.
// A path that fits is returned as it is.
QString ElidePathKeepingName(const QString &path, const QFontMetrics &metrics, int width);
