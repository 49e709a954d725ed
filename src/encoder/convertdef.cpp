#include "encoder/convertdef.h"

#include "platform/nativepath.h"

ConvertDef MyConvertDef;

QStringList EncoderArguments(const ConvertDef &d)
{
    return {QStringLiteral("Moviforge.exe"),
            QStringLiteral("-y"),
            QStringLiteral("-ss"),
            d.s_StartTime,
            QStringLiteral("-t"),
            d.s_Duration,
            QStringLiteral("-i"),
            d.s_Input,
            QStringLiteral("-vol"),
            d.s_Volume,
            QStringLiteral("-bitexact"),
            QStringLiteral("-vcodec"),
            d.s_VideoCodec,
            QStringLiteral("-padtop"),
            d.s_PadTop,
            QStringLiteral("-padbottom"),
            d.s_PadBottom,
            QStringLiteral("-padleft"),
            d.s_PadLeft,
            QStringLiteral("-padright"),
            d.s_PadRight,
            QStringLiteral("-s"),
            d.s_Size,
            QStringLiteral("-r"),
            d.s_FrameRate,
            QStringLiteral("-b"),
            d.s_VideoBitRate,
            QStringLiteral("-acodec"),
            d.s_AudioCodec,
            QStringLiteral("-ac"),
            d.s_AudioChannels,
            QStringLiteral("-ar"),
            d.s_SampleRate,
            QStringLiteral("-ab"),
            d.s_AudioBitRate,
            QStringLiteral("-f"),
            d.s_Format,
            d.s_Output};
}

EncoderArgv::EncoderArgv(const QStringList &entries)
{
    m_texts.reserve(entries.size());
    for (const QString &entry : entries)
        m_texts.push_back(NativePath(entry));
    for (QByteArray &text : m_texts)
        m_pointers.push_back(text.data());
    m_pointers.push_back(nullptr);
}
