#include "profiles/profileline.h"

#include "platform/textops.h"

OutputProfile ParseProfileLine(const QString &s)
{
    OutputProfile p;
    p.Name = Trim(Sub(s, 1, Pos(" : Video", s)));

    const QString v = Sub(s, Pos("Video: ", s), Pos("Audio:", s) - Pos("Video: ", s));
    p.Resolution = Trim(Sub(v, 8, Pos(",", v) - 8));
    p.VideoBitRate = Trim(Sub(v, Pos(",", v) + 1, Pos("kbps,", v) - Pos(",", v) - 1));
    p.VideoFrameRate = Trim(Sub(v, Pos("kbps,", v) + 5, Pos("fps", v) - Pos("kbps,", v) - 5));

    const QString a = Sub(s, Pos("Audio: ", s), 100);
    p.AudioQuality = Trim(Sub(a, 7, Pos("kbps,", a) - 7));
    p.AudioFrameRate = Trim(Sub(a, Pos("kbps,", a) + 5, Pos("khps", a) - Pos("kbps,", a) - 5));
    p.AudioChannels = Trim(Sub(a, Pos("khps, ", a) + 5, 2));

    const QString &r = p.Resolution;
    p.Width = LeadingInteger(Trim(Sub(r, 1, Pos("x", r))));
    p.Height = LeadingInteger(Trim(Sub(r, Pos("x", r) + 1, 4)));
    return p;
}

QString ComposeProfileLine(const QString &name, const QString &resolution,
                           const QString &videoBitRate, const QString &videoFrameRate,
                           const QString &audioQuality, const QString &audioFrameRate,
                           const QString &channelText)
{
    return name + QStringLiteral(" : Video: ") + resolution + QStringLiteral(", ") + videoBitRate +
           QStringLiteral(" kbps, ") + videoFrameRate + QStringLiteral(" fps, Audio: ") +
           audioQuality + QStringLiteral(" kbps, ") + audioFrameRate + QStringLiteral(" khps, ") +
           channelText;
}
