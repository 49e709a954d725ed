// Reading the option vector, and the status line's shape.
#include "engine/convertoptions.h"
#include "engine/picturepackets.h"
#include "engine/probe.h"
#include "engine/progressreporter.h"
#include "engine/unseenpictures.h"
#include "tests/engine/enginetestkit.h"

#include <gtest/gtest.h>

using zelo::ConvertOptions;
using zelo::parseConvertOptions;

namespace {

ConvertRequest example()
{
    // The program's own example: 00:01:10 - 00:01:45 of a clip, 3gp kind.
    ConvertRequest r;
    r.start = "00:01:10";
    r.length = "35";
    r.input = "/clips/holiday.avi";
    r.output = "/out/holiday.3gp";
    return r;
}

bool parse(const std::vector<std::string> &v, ConvertOptions &o, std::string &error)
{
    return parseConvertOptions(v, o, error);
}

TEST(ConvertOptions, ReadsTheProgramsVector)
{
    ConvertRequest r = example();
    r.padTop = "6";
    r.padBottom = "8";
    r.padLeft = "2";
    r.padRight = "4";
    r.volume = "80";
    std::vector<std::string> v = r.toVector();
    ASSERT_EQ(v.size(), 38u);
    ConvertOptions o;
    std::string error;
    ASSERT_TRUE(parse(v, o, error)) << error;
    EXPECT_TRUE(o.overwrite);
    EXPECT_TRUE(o.bitexact);
    EXPECT_EQ(o.startUs, 70'000'000);
    EXPECT_EQ(o.lengthUs, 35'000'000);
    EXPECT_EQ(o.input, "/clips/holiday.avi");
    EXPECT_EQ(o.output, "/out/holiday.3gp");
    EXPECT_EQ(o.volumePercent, 80);
    EXPECT_EQ(o.width, 176);
    EXPECT_EQ(o.height, 144);
    EXPECT_EQ(o.pictureWidth(), 170);
    EXPECT_EQ(o.pictureHeight(), 130);
    EXPECT_EQ(o.frameRate.num, 15);
    EXPECT_EQ(o.frameRate.den, 1);
    EXPECT_EQ(o.videoBitRate, 128000);
    EXPECT_EQ(o.channels, 1);
    EXPECT_EQ(o.sampleRate, 22050);
    EXPECT_EQ(o.audioBitRate, 32000);
    EXPECT_EQ(o.format, "3gp");
}

TEST(ConvertOptions, TakesValuesVerbatimEvenWhenTheyLookLikeOptions)
{
    ConvertRequest r = example();
    r.input = "-y.avi";
    r.output = "-f";
    ConvertOptions o;
    std::string error;
    ASSERT_TRUE(parse(r.toVector(), o, error)) << error;
    EXPECT_EQ(o.input, "-y.avi");
    EXPECT_EQ(o.output, "-f");
    EXPECT_EQ(o.format, "3gp");
}

TEST(ConvertOptions, RefusesBrokenVectorsWithAReason)
{
    using Spoil = std::function<void(std::vector<std::string> &)>;
    for (const auto &[what, spoil, reason] :
         std::vector<std::tuple<const char *, Spoil, const char *>>{
             {"empty frame rate", [](auto &v) { v[24] = ""; }, "-r"},
             {"negative start", [](auto &v) { v[3] = "-00:00:05"; }, "-ss"},
             {"words for a length", [](auto &v) { v[5] = "ten"; }, "-t"},
             {"unknown option", [](auto &v) { v[10] = "-deinterlace"; }, "-deinterlace"},
             {"repeated option", [](auto &v) { v[23] = "-s"; }, "twice"},
             {"missing option", [](auto &v) { v.erase(v.begin() + 8, v.begin() + 10); }, "-vol"},
             {"odd frame size", [](auto &v) { v[22] = "175x144"; }, "-s"},
             {"bands wider than the frame", [](auto &v) { v[18] = v[20] = "88"; }, "room"},
             {"sample rate AAC cannot carry", [](auto &v) { v[32] = "12345"; }, "-ar"},
             {"another video codec", [](auto &v) { v[12] = "h264"; }, "h264"},
             {"another container", [](auto &v) { v[36] = "avi"; }, "avi"},
             {"no output", [](auto &v) { v.back() = ""; }, "output"},
             {"option without value", [](auto &v) { v.resize(6); }, "no value"},
             {"nothing at all", [](auto &v) { v.clear(); }, "output"},
         }) {
        SCOPED_TRACE(what);
        std::vector<std::string> v = example().toVector();
        spoil(v);
        ConvertOptions o;
        std::string error;
        EXPECT_FALSE(parse(v, o, error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}

TEST(ConvertOptions, FrameRateTextsBecomeExactRates)
{
    for (const auto &[text, num, den] :
         std::vector<std::tuple<const char *, int, int>>{{"15", 15, 1},
                                                         {"29.97", 30000, 1001},
                                                         {"23.976", 24000, 1001},
                                                         {"59.94", 60000, 1001},
                                                         {"12.5", 25, 2},
                                                         {"0", 0, 1},
                                                         {"-5", 0, 1},
                                                         {"fast", 0, 1},
                                                         {"15fps", 0, 1}}) {
        SCOPED_TRACE(text);
        const AVRational q = zelo::parseFrameRate(text);
        EXPECT_EQ(q.num, num);
        EXPECT_EQ(q.den, den);
    }
}

TEST(ClipLength, RoundsUpSoThatATrimKeepsTheEnd)
{
    EXPECT_EQ(zelo::wholeSecondsUp(0), 0);
    EXPECT_EQ(zelo::wholeSecondsUp(40'000), 1); // one frame
    EXPECT_EQ(zelo::wholeSecondsUp(3'000'000), 3);
    EXPECT_EQ(zelo::wholeSecondsUp(3'000'500), 3); // container rounding
    EXPECT_EQ(zelo::wholeSecondsUp(3'200'000), 4);
}

TEST(UnseenPictures, OnlyPicturesNoOutputSlotWillShow)
{
    // 25 pictures a second from second 1 to second 3, converted to 10: of
    // the pictures in one slot the last one shows.
    const int64_t s = 1000000, frame = 40000;
    zelo::UnseenPictures unseen(s, 3 * s, AVRational{10, 1});
    for (int i = 0; i < 30; ++i)
        unseen.noteRead(i * frame);
    EXPECT_TRUE(unseen.neverShown(23 * frame)) << "lead-in: 24 follows before the start";
    EXPECT_FALSE(unseen.neverShown(25 * frame)) << "the first may stand in for more";
    EXPECT_FALSE(unseen.neverShown(26 * frame)) << "the last of slot 0";
    EXPECT_TRUE(unseen.neverShown(27 * frame)) << "28 takes slot 1";
    EXPECT_FALSE(unseen.neverShown(28 * frame));
    EXPECT_FALSE(unseen.neverShown(AV_NOPTS_VALUE));
    // Only the latest packets are remembered, as many as any decoder holds.
    for (int i = 30; i < 100; ++i)
        unseen.noteRead(i * frame);
    EXPECT_TRUE(unseen.neverShown(70 * frame)) << "71 takes slot 18";
    EXPECT_FALSE(unseen.neverShown(74 * frame)) << "75, in its slot, is past the end";

    // Converted to the source's own rate, every picture shows.
    zelo::UnseenPictures same(s, 3 * s, AVRational{25, 1});
    for (int i = 0; i < 76; ++i) {
        same.noteRead((i + 1) * frame);
        EXPECT_FALSE(i >= 25 && same.neverShown(i * frame)) << i;
    }
}

TEST(PicturePackets, WholeOnlyOnceEveryPacketMadeAPictureOfItsOwn)
{
    // Packets sent (at 100 more: the decoder may skip it), pictures received.
    using Case = std::tuple<std::vector<int64_t>, std::vector<int64_t>, bool, bool>;
    for (const auto &[sent, received, fields, whole] : std::vector<Case>{
             {{0, 3, 1, 2, 6, 4, 5}, {0, 1, 2, 3, 4, 5, 6}, false, true}, // B pictures
             {{0, 3}, {0}, false, false},                                 // one picture so far
             {{0, 1, 2, 3, 4}, {0, 2, 4}, false, false},                  // each field a packet
             {{0, 1, 2}, {0, 1, 2}, true, false},                         // the parser saw fields
             {{0, 101, 2}, {0, 2}, false, true}}) {                       // a skipped picture
        zelo::PicturePackets packets;
        if (fields)
            packets.noteFieldCoded();
        for (int64_t pts : sent)
            packets.sent(pts >= 100 ? pts - 100 : pts, pts >= 100);
        for (int64_t pts : received)
            packets.received(pts);
        EXPECT_EQ(packets.wholePictures(), whole) << testing::PrintToString(sent);
    }
}

TEST(StatusLine, HasTheShapeTheProgressWindowReads)
{
    zelo::Progress p;
    p.frames = 90;
    p.quality = 2.0;
    p.bytes = 120 * 1024;
    p.seconds = 6.0;
    EXPECT_EQ(zelo::ProgressReporter::format(p),
              "frame=   90 q=2.0 size=     120kB time=6.00 bitrate= 163.8kbits/s");
}

TEST(StatusLine, HoldsBackLinesWithinTheIntervalButNeverTheLastOrAnError)
{
    std::vector<std::string> lines;
    zelo::ProgressReporter reporter([&](const std::string &l) { lines.push_back(l); },
                                    std::chrono::hours(1));
    zelo::Progress p;
    reporter.update(p);
    reporter.update(p);
    EXPECT_TRUE(lines.empty());
    reporter.finalLine(p);
    reporter.error("disk full");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "error: disk full");
}

} // namespace
