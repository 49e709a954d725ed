#include "encoder/clipprepare.h"
#include "encoder/commandline.h"
#include "encoder/convertdef.h"
#include "encoder/statusline.h"
#include "platform/nativepath.h"

#include <gtest/gtest.h>

namespace {

TEST(KeepRatioPads, WorkedExamples)
{
    Pads a = KeepRatioPads(320, 240, 176, 144);
    EXPECT_EQ(a.top, 6);
    EXPECT_EQ(a.bottom, 6);
    EXPECT_EQ(a.left, 0);
    EXPECT_EQ(a.right, 0);

    Pads portrait = KeepRatioPads(240, 320, 320, 240);
    EXPECT_EQ(portrait.left, 70);
    EXPECT_EQ(portrait.right, 70);
    EXPECT_EQ(portrait.top, 0);

    Pads same = KeepRatioPads(640, 480, 320, 240); // equal ratios: the top/bottom branch
    EXPECT_EQ(same.top, 0);
    EXPECT_EQ(same.left, 0);

    Pads wide = KeepRatioPads(1920, 800, 176, 144); // 2.4:1 into 11:9
    EXPECT_EQ(wide.top % 2, 0);
    EXPECT_EQ(wide.top, (144 - int(176 / (1920.0f / 800.0f))) / 2 / 2 * 2);
}

TEST(KeepRatioPads, AlwaysEvenNeverNegativeNeverUndefined)
{
    for (int w : {1, 2, 3, 99, 176, 320, 1279, 4096})
        for (int h : {1, 2, 7, 144, 240, 721, 3000})
            for (auto [W, H] : {std::pair{128, 96}, {176, 144}, {320, 240}, {480, 272}}) {
                Pads p = KeepRatioPads(w, h, W, H);
                for (int v : {p.top, p.bottom, p.left, p.right}) {
                    EXPECT_GE(v, 0);
                    EXPECT_EQ(v % 2, 0);
                }
                // The picture always keeps some width and height.
                EXPECT_LE(p.left + p.right, W - 2);
                EXPECT_LE(p.top + p.bottom, H - 2);
            }
    // A clip whose size is unknown gets no pads instead of a division by zero.
    for (auto [w, h] : {std::pair{0, 0}, {320, 0}, {0, 240}, {-4, 240}}) {
        Pads p = KeepRatioPads(w, h, 176, 144);
        EXPECT_EQ(p.top + p.bottom + p.left + p.right, 0);
    }
    Pads p = KeepRatioPads(320, 240, 0, 0);
    EXPECT_EQ(p.top + p.left, 0);
}

TEST(OutputNames, TheSourceNameNeverHidden)
{
    const QString out = "/home/u/ZeloOutput/";
    const QStringList sources =
        QString("/v/holiday.avi|/v/a.b.avi|/v.d/clip|/v/.mp4|/v/.hidden.avi|/v/...|/v/a.")
            .split('|');
    const QStringList names = QString("holiday|a.b|clip|mp4|hidden|clip|a").split('|');
    for (qsizetype i = 0; i < sources.size(); ++i)
        EXPECT_EQ(OutputPath(sources[i], out, ".3gp"), out + names[i] + ".3gp");
    EXPECT_EQ(NativePath(OutputPath(PathFromNative("/v/.caf\xE9.avi"), out, ".3gp")),
              NativePath(out) + "caf\xE9.3gp");
}

TEST(SampleRate, KiloHertzTextToHertz)
{
    // The last shows single precision.
    const std::pair<const char *, const char *> sampleRateHzCases[] = {
        {"22.05", "22050"}, {"11.025", "11025"}, {"44.1", "44100"}, {"8", "8000"},
        {"48", "48000"},    {"", "0"},           {"abc", "0"},      {"22.0501", "22050.099609375"}};
    for (auto [khz, hz] : sampleRateHzCases)
        EXPECT_EQ(SampleRateHz(khz), hz) << khz;
}

TEST(EncoderVector, TheDocumentedExampleLine)
{
    ConvertDef d;
    d.s_StartTime = "00:01:10";
    d.s_Duration = "35";
    d.s_Input = "/v/holiday.avi";
    d.s_Volume = "100";
    d.s_VideoCodec = "mpeg4";
    d.s_PadTop = d.s_PadBottom = d.s_PadLeft = d.s_PadRight = "0";
    d.s_Size = "176x144";
    d.s_FrameRate = "15";
    d.s_VideoBitRate = "128";
    d.s_AudioCodec = "aac";
    d.s_AudioChannels = "1";
    d.s_SampleRate = "22050";
    d.s_AudioBitRate = "32";
    d.s_Format = "3gp";
    d.s_Output = "/out/holiday.3gp";
    QStringList v = EncoderArguments(d);
    ASSERT_EQ(v.size(), EncoderArgumentCount);
    EXPECT_EQ(v.join(' '),
              "Moviforge.exe -y -ss 00:01:10 -t 35 -i /v/holiday.avi -vol 100 -bitexact "
              "-vcodec mpeg4 -padtop 0 -padbottom 0 -padleft 0 -padright 0 -s 176x144 -r 15 "
              "-b 128 -acodec aac -ac 1 -ar 22050 -ab 32 -f 3gp /out/holiday.3gp");

    QStringList empty = EncoderArguments(ConvertDef{});
    ASSERT_EQ(empty.size(), EncoderArgumentCount); // empty fields stay as entries
    EXPECT_EQ(empty[3], "");
    EXPECT_EQ(empty[37], "");
}

// A time shown as 00:00:00 past a day would start the engine at the clip's
// beginning.
TEST(EncoderVector, ATrimPastADayStartsWhereItSays)
{
    ConvertDef d;
    PrepareClipDef(d, ClipToConvert{"/v/long.ts", 90001, 90061, 320, 240},
                   OutputTarget{"/out/", ".3gp", false, 176, 144});
    const QStringList v = EncoderArguments(d);
    EXPECT_EQ(v[3], "25:00:01");
    EXPECT_EQ(v[5], "60");
}

TEST(StatusLine, WorkedExampleAndEdges)
{
    const QString line = "frame=   90 q=2.0 size=     120kB time=6.00 bitrate= 163.8kbits/s";
    EXPECT_FLOAT_EQ(StatusLineSeconds(line), 6.0f);
    StatusProgress p = ReadStatusLine(line, 70, 35);
    EXPECT_TRUE(p.apply);
    EXPECT_EQ(p.clipPercent, 17);
    EXPECT_EQ(p.currentSecond, 76); // 00:01:16

    StatusProgress none = ReadStatusLine("error: cannot open", 70, 35);
    EXPECT_TRUE(none.apply);
    EXPECT_EQ(none.clipPercent, 0);
    EXPECT_EQ(none.currentSecond, 70);

    EXPECT_TRUE(ReadStatusLine("time=35.99 bitrate=1", 0, 35).apply);          // within length + 1
    EXPECT_EQ(ReadStatusLine("time=35.99 bitrate=1", 0, 35).clipPercent, 102); // clamped later
    EXPECT_FALSE(ReadStatusLine("time=36.00 bitrate=1", 0, 35).apply);         // beyond it: ignored
    EXPECT_FALSE(ReadStatusLine("time=1.00 bitrate=1", 0, 0).apply);

    StatusProgress zero = ReadStatusLine("time=0.50 bitrate=1", 5, 0); // no length: 0 %
    EXPECT_TRUE(zero.apply);
    EXPECT_EQ(zero.clipPercent, 0);
    EXPECT_EQ(zero.currentSecond, 5);

    EXPECT_FLOAT_EQ(StatusLineSeconds("bitrate= 1 time=5.00"), 0.0f); // markers out of order
    EXPECT_FLOAT_EQ(StatusLineSeconds("time=   12.5  bitrate"), 12.5f);
    EXPECT_FLOAT_EQ(StatusLineSeconds("time=nan bitrate=1"), 0.0f);
}

TEST(BatchPercent, ThreeClipsAndEmptyList)
{
    EXPECT_EQ(BatchPercent(1, 0, 3), 33);
    EXPECT_EQ(BatchPercent(2, 100, 3), 100);
    EXPECT_EQ(BatchPercent(0, 50, 3), 16);
    EXPECT_EQ(BatchPercent(0, 50, 0), 0);
    EXPECT_EQ(BarLeft(0, 280), -280);
    EXPECT_EQ(BarLeft(100, 280), 0);
    EXPECT_EQ(BarLeft(50, 280), -140);
    EXPECT_EQ(BarLeft(33, 100), -247);
}

} // namespace
