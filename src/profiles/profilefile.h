#pragma once

#include "platform/inifile.h"

#include <QList>
#include <QString>
#include <QStringList>

// One option list of a section ("Resolution", "VideoFrameRate", ...): the
// values that are not "NoData", and the position to preselect.
struct OptionList
{
    QStringList values;
    int index = 0;
};

// One listed profile: its line and the entry number it was read from. The
// list skips empty slots, so positions and entry numbers can differ.
struct ProfileEntry
{
    int number = 0;
    QString line;
};

// The profile file Output.dll: one section per device kind holding its
// profile lines and the editor's option lists. Opened for each call.
class ProfileFile
{
public:
    static const QString NoData; // "NoData": an empty slot

    explicit ProfileFile(const QString &path);
    // The Output.dll the program reads (see profilestore.h).
    static ProfileFile standard();
    // The Output.dll a save goes to; may make the per-user copy first, and
    // throws IniWriteError when that cannot be made.
    static ProfileFile forWriting();

    const QString &path() const { return m_ini.path(); }

    // The section's profile lines in entry order, empty slots left out.
    QStringList readProfileLines(const QString &section) const;
    // The same, each with its entry number.
    QList<ProfileEntry> readProfileEntries(const QString &section) const;
    // The line of entry number i, or NoData.
    QString readProfileLine(const QString &section, int i) const;
    int readProfileCount(const QString &section) const;
    // The entry number a new profile takes (see NewProfileNumber), from one
    // reading of the section; -1 when there is none.
    int newProfileNumber(const QString &section) const;
    int readDefaultIndex(const QString &section) const;

    // keyword is "Resolution", "VideoFrameRate", "AudioQuality" or
    // "AudioFrameRate"; reads <keyword>Count, <keyword>0.. and <keyword>Index.
    OptionList readOptionList(const QString &section, const QString &keyword) const;
    QString readDefaultName(const QString &section) const;
    QString readDefaultBitRate(const QString &section) const;

    // Writes line as entry i; an entry the count does not reach yet raises
    // the count to i + 1, so that it is listed. Throws IniWriteError when the
    // file cannot be written or i is no entry number (below 0, or one the
    // count could not reach).
    void writeProfile(const QString &section, int i, const QString &line) const;

private:
    IniFile m_ini;
};

// The entry number a new profile takes: past both the count and the highest
// numbered entry present, so it never lands on a profile, whatever a
// hand-edited count says (one that reads as 0 or below lists nothing but
// hides nothing either). The count must reach past it, so at the largest
// integer a free number the count already lists is taken instead; -1 when
// there is none. highest is -1 when no entry is present.
int NewProfileNumber(int count, int highest);
