#pragma once

#include <QString>

// Which Output.dll the program and zelo-convert read, and which one a saved
// profile goes to. The shipped file lies in the data folder (path_Data). An
// installed program's files belong to the package, and a user who cannot
// write there has none to write anyway, so a save made there by anyone, root
// included, goes to a copy of their own in their config folder, and from
// then on every reader takes that copy. In a build folder that can be
// written, the shipped file is read and written in place. Plain
// QtCore, for zelo-convert too.

enum class ProfileAccess
{
    Read,
    Write,
};

// The shipped profiles: the data folder's Output.dll.
QString ShippedProfilePath();
// The per-user copy: <config folder>/Zuzudu4/Output.dll.
QString UserProfilePath();

// The one rule. Read: the per-user copy once it exists, else the shipped
// file. Write: the per-user copy once it exists; else the shipped file when
// the program is not installed and the file's folder (and the file, if
// present) can be written; else a per-user copy
// made now from the shipped file (an empty start when there is none). Throws
// IniWriteError naming the per-user copy when that cannot be made.
QString ProfileFilePath(ProfileAccess access);

// Whether a file at path could be replaced atomically by this user: its
// folder takes a new file and an existing file is writable.
bool CanReplaceFile(const QString &path);
