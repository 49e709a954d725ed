// The engine command line's record, ConvertDef, and its 38-entry vector.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// The values of one engine command line. The batch fills the profile fields
// from the applied profile line (ApplyProfileLine) and the clip fields from
// each clip (PrepareClipDef).
struct ConvertDef
{
    int StartTime = 0; // trim start, seconds
    int StopTime = 0;  // trim stop, seconds
    int Duration = 0;  // StopTime - StartTime
    QString s_StartTime;
    QString s_StopTime;
    QString s_Duration;
    QString s_Input;
    QString s_Volume;
    QString s_Output;
    QString s_VideoCodec;
    QString s_PadTop;
    QString s_PadBottom;
    QString s_PadLeft;
    QString s_PadRight;
    QString s_Size;
    QString s_FrameRate;
    QString s_VideoBitRate;
    QString s_AudioCodec;
    QString s_AudioChannels;
    QString s_AudioBitRate;
    QString s_SampleRate;
    QString s_Format;
};

// The command line of the clip the running batch has handed to the engine;
// BatchRun alone fills it, from the clip's job.
extern ConvertDef MyConvertDef;

// The engine's 38 entries, in their fixed order; empty fields stay as empty
// entries so the count never changes.
inline constexpr int EncoderArgumentCount = 38;
QStringList EncoderArguments(const ConvertDef &def);

// Entries as the engine takes them: zero-terminated texts (paths in the
// file system's own bytes, see NativePath), followed by
// a null, that live as long as this object.
class EncoderArgv
{
public:
    explicit EncoderArgv(const QStringList &entries);
    EncoderArgv(const EncoderArgv &) = delete;
    EncoderArgv &operator=(const EncoderArgv &) = delete;

    int argc() const { return int(m_texts.size()); }
    char **argv() { return m_pointers.data(); }

private:
    std::vector<QByteArray> m_texts;
    std::vector<char *> m_pointers;
};
