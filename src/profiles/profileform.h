#pragma once

#include "profiles/profilefile.h"

#include <QString>
#include <QStringList>

// The rules behind the profile editor's fields, apart from its widgets: the
// video bit-rate field and its arrows, what a new profile starts with, and
// how a stored line is spread over the fields.

// The arrows' range; the field is kept inside it too.
inline constexpr int MinVideoBitRate = 1;
inline constexpr int MaxVideoBitRate = 2500;
inline constexpr int InitialArrowPosition = 20;

// The field's text after a change: its leading whole number (0 when it has
// none) clamped to the arrows' range, in decimal. "3000" gives "2500", "" and
// "0" give "1", "020" gives "20", "12ab" gives "12".
QString ClampedBitRateText(const QString &text);
// The arrows' position after one step (+1 up, -1 down): no wrap-around, a
// step past either end leaves the position where it is.
int StepArrows(int position, int step);

// The channel list's fixed entries, mono first.
QStringList ChannelChoices();
// The channel list position of a stored channel count: its leading number
// less one ("1" mono, "2" stereo); -1, no selection, without a number.
int ChannelPosition(const QString &channels);

// The position a list shows after being set to text: the first entry equal
// to it (case-sensitive), or current when none is.
int PositionOfText(const QStringList &values, const QString &text, int current);
// The position an option list preselects: its index key when that is a
// position of the list, else none (-1).
int PreselectedPosition(const OptionList &list);

// What a new profile of a section starts with.
struct NewProfileDefaults
{
    OptionList resolution;
    OptionList videoFrameRate;
    OptionList audioQuality;
    OptionList audioFrameRate;
    QString name;
    QString videoBitRate; // as stored; the field clamps it
    int profileIndex = 0; // the entry number a new profile takes
};
NewProfileDefaults ReadNewProfileDefaults(const ProfileFile &file, const QString &section);

// A stored profile line as the editor shows it. Frame size and audio bit rate
// are shown as stored; the rates are lower-cased.
struct StoredProfileFields
{
    QString name;
    QString resolution;
    QString videoBitRate;
    QString videoFrameRate;
    QString audioQuality;
    QString audioFrameRate;
    int channelPosition = -1;
};
StoredProfileFields FieldsOfStoredLine(const QString &line);
