#include "encoder/profileapply.h"

#include "encoder/commandline.h"
#include "platform/textops.h"
#include "profiles/profileline.h"

ApplyResult ApplyProfileLine(const QString &line, const QString &format, ConvertDef &def,
                             int &width, int &height)
{
    if (line == AddMyProfileText)
        return ApplyResult::AddEntry;
    def.s_VideoCodec = QStringLiteral("mpeg4");
    def.s_AudioCodec = QStringLiteral("aac");
    const OutputProfile p = ParseProfileLine(line);
    if (p.Resolution.size() <= 2)
        return ApplyResult::BadResolution;
    width = p.Width;
    height = p.Height;
    def.s_Size = LowerCase(p.Resolution);
    def.s_VideoBitRate = LowerCase(p.VideoBitRate);
    def.s_FrameRate = LowerCase(p.VideoFrameRate);
    def.s_AudioBitRate = p.AudioQuality;
    def.s_SampleRate = SampleRateHz(p.AudioFrameRate);
    def.s_AudioChannels = p.AudioChannels;
    def.s_Format = format;
    return ApplyResult::Applied;
}
