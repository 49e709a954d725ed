#include "profiles/profileform.h"

#include "platform/textops.h"
#include "profiles/profileline.h"

#include <algorithm>

QString ClampedBitRateText(const QString &text)
{
    const int value = std::clamp(LeadingInteger(text), MinVideoBitRate, MaxVideoBitRate);
    return QString::number(value);
}

int StepArrows(int position, int step)
{
    const int next = position + step;
    if (next < MinVideoBitRate || next > MaxVideoBitRate)
        return std::clamp(position, MinVideoBitRate, MaxVideoBitRate);
    return next;
}

QStringList ChannelChoices()
{
    return {MonoText, StereoText};
}

int ChannelPosition(const QString &channels)
{
    const int n = LeadingInteger(channels);
    return n > 0 ? n - 1 : -1;
}

int PositionOfText(const QStringList &values, const QString &text, int current)
{
    const int found = int(values.indexOf(text));
    return found >= 0 ? found : current;
}

int PreselectedPosition(const OptionList &list)
{
    return list.index >= 0 && list.index < list.values.size() ? list.index : -1;
}

NewProfileDefaults ReadNewProfileDefaults(const ProfileFile &file, const QString &section)
{
    NewProfileDefaults d;
    d.resolution = file.readOptionList(section, QStringLiteral("Resolution"));
    d.videoFrameRate = file.readOptionList(section, QStringLiteral("VideoFrameRate"));
    d.audioQuality = file.readOptionList(section, QStringLiteral("AudioQuality"));
    d.audioFrameRate = file.readOptionList(section, QStringLiteral("AudioFrameRate"));
    d.name = file.readDefaultName(section);
    d.videoBitRate = file.readDefaultBitRate(section);
    d.profileIndex = file.newProfileNumber(section);
    return d;
}

StoredProfileFields FieldsOfStoredLine(const QString &line)
{
    const OutputProfile p = ParseProfileLine(line);
    StoredProfileFields f;
    f.name = p.Name;
    f.resolution = p.Resolution;
    f.videoBitRate = LowerCase(p.VideoBitRate);
    f.videoFrameRate = LowerCase(p.VideoFrameRate);
    f.audioQuality = p.AudioQuality;
    f.audioFrameRate = LowerCase(p.AudioFrameRate);
    f.channelPosition = ChannelPosition(p.AudioChannels);
    return f;
}
