#pragma once

#include "platform/inifile.h"

#include <QString>

// What the appliers read a window's skin from: the skin folder (file names
// in records are joined to it as they stand) and the window's section of
// Skin.ini.
struct SkinSource
{
    QString folder; // ends with a separator
    QString section;
    IniFile ini;

    // The record of a control, "Wrong" when its key is missing.
    QString record(const QString &key) const;
    // Folder + field n of record; empty when that is no existing file.
    QString existingFile(const QString &record, int n) const;
};
