#pragma once

#include <QString>

// A target device kind: which section of the profile file it reads, the
// extension of the files it writes, the container the engine writes, and
// the picture the main window shows for it.
struct DeviceKindInfo
{
    int kind;
    QString section;   // "3gp"
    QString extension; // ".3gp"
    QString format;    // "3gp", "psp" or "mp4"
    QString picture;   // "3gp.jpg", in the skin folder
};

inline constexpr int DeviceKindCount = 5;

// Null for a kind outside 0 to 4.
const DeviceKindInfo *FindDeviceKind(int kind);
// The kind whose section is named so ("psp"), compared without regard to
// case; -1 when none is.
int DeviceKindBySection(const QString &section);
