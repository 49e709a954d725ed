// File names as the file system has them. Qt decodes names as UTF-8 and
// turns every byte that is not into U+FFFD, so a file whose name an old
// camera wrote in Latin-1 could never be opened again. Here a byte that is
// not UTF-8 rides in the QString as the lone surrogate U+DC80 + byte (the
// way Python escapes such names), and goes back to the same byte whenever
// the path reaches the file system or a library.
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// The bytes of a name as a QString; lossless for any bytes.
QString PathFromNative(const QByteArray &bytes);
inline QString PathFromNative(const char *bytes)
{
    return PathFromNative(QByteArray(bytes ? bytes : ""));
}
// The bytes a PathFromNative string came from; UTF-8 for any other text.
QByteArray NativePath(const QString &path);

// The local file a file: address names, its percent-escaped bytes kept
// (QUrl::toLocalFile turns those that are no UTF-8 into U+FFFD).
QString PathFromUrl(const QUrl &url);

// A path Qt handed over (a file dialog, a drop, a folder listing) in which
// undecodable bytes became U+FFFD: the path on disk it stands for, when the
// folder holds exactly one such name; otherwise the path as given.
QString FaithfulPath(const QString &path);

// A name for a label or a box: escaped bytes shown as U+FFFD.
QString ShownName(const QString &name);

// A name for a terminal line, quoted as a shell would take it back
// ($'a\nb', $'caf\351.mp4') when it holds control characters or bytes that
// are not UTF-8; other names as they are.
QString QuotedName(const QString &name);
