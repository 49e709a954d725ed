#pragma once

#include <QString>

// The values of one profile line
//   Name : Video: 176x144, 200 kbps, 15 fps, Audio: 32 kbps, 22.05 khps, 1 Channel Mono
// All texts as they stand in the line (trimmed); Width and Height are the
// two numbers of Resolution.
struct OutputProfile
{
    QString Name;
    QString Resolution;
    int Width = 0;
    int Height = 0;
    QString VideoBitRate;
    QString VideoFrameRate;
    QString AudioQuality;
    QString AudioFrameRate;
    QString AudioChannels; // "1" or "2"
};

// Takes a profile line apart by its markers. Never fails: missing markers
// give empty or partial fields, and a name that itself contains "Video: " or
// "Audio:" shifts them: the markers are all the format has to go by.
OutputProfile ParseProfileLine(const QString &line);

// The channel texts of a profile line.
inline const QString MonoText = QStringLiteral("1 Channel Mono");
inline const QString StereoText = QStringLiteral("2 Channels Stereo");

// Builds a profile line from the editor's values; channelText is MonoText or
// StereoText.
QString ComposeProfileLine(const QString &name, const QString &resolution,
                           const QString &videoBitRate, const QString &videoFrameRate,
                           const QString &audioQuality, const QString &audioFrameRate,
                           const QString &channelText);
