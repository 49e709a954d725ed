// Probing and thumbnails on every kind of file a user may add.
#include "engine/cliplength.h"
#include "engine/mediainput.h"
#include "tests/engine/enginetestkit.h"
#include "tests/engine/fixturecatalog.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tuple>

namespace {

std::string codecOf(const std::string &encoder)
{
    if (encoder.empty())
        return "";
    const AVCodec *codec = avcodec_find_encoder_by_name(encoder.c_str());
    return codec ? avcodec_get_name(codec->id) : "?";
}

// How long the file really plays, from its packets: from the first start to
// the last end of its picture and its sound.
double measuredLength(const std::string &path)
{
    MediaReport r = inspect(path);
    double first = 1e9, last = -1e9;
    for (const StreamReport *s : {r.video(), r.audio()}) {
        if (s) {
            first = std::min(first, s->start);
            last = std::max(last, s->start + s->duration);
        }
    }
    return last > first ? last - first : 0;
}

class Probe : public ::testing::Test
{
protected:
    void SetUp() override { MyDll_Init(); }
};

TEST_F(Probe, ReportsEveryFixtureAsAViewerSeesIt)
{
    for (const ClipRecipe &recipe : fixtureCatalog()) {
        SCOPED_TRACE(recipe.file);
        const std::string path = fixturePath(recipe.file);
        ClipInfo info{};
        ASSERT_EQ(Mydll_GetFileinfo(path.c_str(), &info), 0);
        EXPECT_STREQ(info.ClipPath, path.c_str());
        const std::string video = codecOf(recipe.videoEncoder);
        const std::string audio = codecOf(recipe.audioEncoder);
        EXPECT_EQ(info.VideoFormat, video.empty() ? "unknown" : video);
        EXPECT_EQ(info.AudioFormat, audio.empty() ? "none" : audio);
        // Rounded up: a trim from 0 to Duration keeps the whole clip (give
        // or take a codec's padding), and overshoots by less than a second.
        // A single picture lasts at least a second.
        const double length = measuredLength(path);
        EXPECT_GE(info.Duration, std::max(1.0, std::ceil(length - 0.02))) << length;
        EXPECT_LT(info.Duration, std::max(2.0, length + 1.0)) << length;
        if (!video.empty() && recipe.rotation == 0 && recipe.sar.num == recipe.sar.den) {
            EXPECT_EQ(info.VideoWidth, recipe.width);
            EXPECT_EQ(info.VideoHeight, recipe.height);
        }
    }
}

TEST_F(Probe, AppliesRotationAndPixelAspect)
{
    ClipInfo info{};
    ASSERT_EQ(Mydll_GetFileinfo(fixturePath("phone_upright.mp4").c_str(), &info), 0);
    EXPECT_EQ(info.VideoWidth, 120);
    EXPECT_EQ(info.VideoHeight, 160);
    ASSERT_EQ(Mydll_GetFileinfo(fixturePath("anamorphic.vob").c_str(), &info), 0);
    EXPECT_EQ(info.VideoWidth, 1024);
    EXPECT_EQ(info.VideoHeight, 576);
}

TEST_F(Probe, LengthIsWhatThePacketsHoldWhateverTheHeaderSays)
{
    // A lying header changes nothing: each damaged file probes as the file
    // it was made from.
    for (const auto &[damagedFile, originalFile] : {std::pair{kFragmentedHuge, "fragmented.mp4"},
                                                    {kShortAsfHeader, "wmv2_wma.wmv"},
                                                    {kDamagedTrackLength, "h264_aac.mp4"},
                                                    {kJunkTail, "mpeg1_mp2.mpg"}}) {
        SCOPED_TRACE(damagedFile);
        ClipInfo damaged{}, original{};
        const auto started = std::chrono::steady_clock::now();
        ASSERT_EQ(Mydll_GetFileinfo(fixturePath(damagedFile).c_str(), &damaged), 0);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(500));
        ASSERT_EQ(Mydll_GetFileinfo(fixturePath(originalFile).c_str(), &original), 0);
        EXPECT_EQ(damaged.Duration, original.Duration);
    }
    // Whatever stream lasts longer makes the length: sound 3 s past the
    // pictures, pictures 2 s after the sound, sound a few hundredths of a
    // second past the pictures.
    for (const auto &[file, seconds] : {std::pair{"long_sound.mp4", 6},
                                        {"late_picture.ts", 5},
                                        {"sound_outlasts_8k.3gp", 2},
                                        {"late_picture.mp4", 2}}) {
        ClipInfo info{};
        ASSERT_EQ(Mydll_GetFileinfo(fixturePath(file).c_str(), &info), 0);
        EXPECT_EQ(info.Duration, seconds) << file;
    }
}

TEST(ContentRuns, LeaveOutTimesFarFromTheirStreamsRun)
{
    // Packet starts in seconds in file order (each lasts one), and the span.
    const int64_t s = 1000000;
    const std::vector<std::tuple<std::vector<int64_t>, int64_t, int64_t>> cases = {
        {{0, 1, 9000, 9001, 2, 3}, 0, 4},     // a run that leaps away and back
        {{0, 1, 2, 5000}, 0, 3},              // a lone last packet
        {{0, 1, 2, 60, 61}, 0, 62},           // a real break: it never comes back
        {{0, 40}, 0, 41},                     // nothing but lone packets
        {{0, 1, 9000, 9001, 50000, 2}, 0, 3}, // two leaps, then back
        {{0, 1500, 1}, 0, 2},                 // a lone leap among lone pictures
    };
    for (const auto &[starts, from, to] : cases) {
        std::vector<zelo::PacketTimes> packets;
        for (int64_t start : starts)
            packets.push_back({start * s, (start + 1) * s});
        const std::vector<zelo::PacketTimes> runs = zelo::contentRuns(packets);
        EXPECT_EQ(runs.front().fromUs, from * s) << ::testing::PrintToString(starts);
        EXPECT_EQ(runs.back().toUs, to * s) << ::testing::PrintToString(starts);
    }
}

TEST_F(Probe, MeasuresALargeFileFromItsTailAsFromItsWhole)
{
    // Reading only the tail (as of a large file) must agree with reading
    // everything, on every container that can tell its times.
    for (const std::string file :
         {"h264_aac.mp4", "mpeg1_mp2.mpg", "mpeg2_mp2.vob", "wmv2_wma.wmv", "flv1_mp3.flv",
          "vp8_vorbis.mkv", "video_only.avi", "mpeg4_pcm.mov", "late_picture.mp4", kShortAsfHeader,
          kDamagedTrackLength, kFragmentedHuge, kCutIndexFirst}) {
        SCOPED_TRACE(file);
        const zelo::Interrupter deadline = zelo::Interrupter::withDeadline(std::chrono::seconds(5));
        zelo::MediaInput whole, tail, shortTail;
        std::string error;
        ASSERT_TRUE(whole.open(fixturePath(file), &deadline, error)) << error;
        ASSERT_TRUE(tail.open(fixturePath(file), &deadline, error)) << error;
        ASSERT_TRUE(shortTail.open(fixturePath(file), &deadline, error)) << error;
        const zelo::ClipExtent all = zelo::measureExtent(whole, deadline);
        ASSERT_NE(all.lengthUs(), AV_NOPTS_VALUE);
        // A tail of a megabyte (the index's way), and one of 16 KiB (a jump
        // into the middle of the file where the index does not reach).
        const zelo::ClipExtent end = zelo::measureExtent(tail, deadline, 0);
        const zelo::ClipExtent last = zelo::measureExtent(shortTail, deadline, 0, 16 << 10);
        EXPECT_NEAR(double(end.lengthUs()), double(all.lengthUs()), 1000.0);
        if (file != "video_only.avi") { // AVI's times are lost after a jump
            EXPECT_NEAR(double(last.lengthUs()), double(all.lengthUs()), 1000.0);
        }
        EXPECT_NEAR(all.lengthUs() / 1e6, measuredLength(fixturePath(file)), 0.002);
    }
}

TEST_F(Probe, ReadsWhatSurvivesOfACutOffAvi)
{
    ClipInfo info{};
    ASSERT_EQ(Mydll_GetFileinfo(fixturePath(kTruncatedAvi).c_str(), &info), 0);
    EXPECT_STREQ(info.VideoFormat, "mpeg4");
}

TEST_F(Probe, RefusesWhatIsNoClipAndLeavesTheRecordAlone)
{
    ScratchFolder scratch;
    const std::string fifo = scratch.file("pipe.avi");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<std::string> refused = {
        scratch.file("missing.avi"),
        scratch.path(),
        fifo,
        "/dev/zero",
        "",
        fixturePath(kEmpty),
        fixturePath(kTruncatedMp4),
        fixturePath(kText),
        fixturePath(kGarbage),
    };
    for (const std::string &path : refused) {
        SCOPED_TRACE(path);
        ClipInfo info;
        std::memset(&info, 0x5A, sizeof info);
        ClipInfo before = info;
        EXPECT_NE(Mydll_GetFileinfo(path.c_str(), &info), 0);
        EXPECT_EQ(std::memcmp(&info, &before, sizeof info), 0);
    }
    ClipInfo info{};
    EXPECT_NE(Mydll_GetFileinfo(nullptr, &info), 0);
    EXPECT_NE(Mydll_GetFileinfo(fixturePath("h264_aac.mp4").c_str(), nullptr), 0);
}

class Thumbnail : public Probe
{
protected:
    std::string target() const { return scratch.file("snap0.pic"); }
    Picture make(const std::string &file, int second)
    {
        EXPECT_EQ(Mydll_GetPicure(fixturePath(file).c_str(), second, "80x60", target().c_str()), 0);
        std::vector<Picture> pictures = decodePictures(target(), 1);
        return pictures.empty() ? Picture{} : pictures.front();
    }
    ScratchFolder scratch;
};

TEST_F(Thumbnail, IsAnExactlySizedJpegOfAtLeastOneKilobyte)
{
    for (const ClipRecipe &recipe : fixtureCatalog()) {
        if (recipe.videoEncoder.empty())
            continue;
        SCOPED_TRACE(recipe.file);
        Picture p = make(recipe.file, 5);
        std::string bytes = readBytes(target());
        EXPECT_GE(bytes.size(), 1024u);
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xD8");
        EXPECT_EQ(p.width, 80);
        EXPECT_EQ(p.height, 60);
        std::remove(target().c_str());
    }
}

TEST_F(Thumbnail, KeepsThePictureAspectInsideBlackBands)
{
    // 1024x576 as displayed: a band above and below.
    Picture wide = make("anamorphic.vob", 5);
    ASSERT_EQ(wide.width, 80);
    EXPECT_LT(wide.meanLuma(0, 0, 80, 4), 24);
    EXPECT_LT(wide.meanLuma(0, 56, 80, 4), 24);
    EXPECT_GT(wide.meanLuma(0, 20, 80, 20), 40);
    // Upright phone picture: bands left and right.
    Picture upright = make("phone_upright.mp4", 5);
    ASSERT_EQ(upright.width, 80);
    EXPECT_LT(upright.meanLuma(0, 0, 12, 60), 24);
    EXPECT_LT(upright.meanLuma(68, 0, 12, 60), 24);
    EXPECT_GT(upright.meanLuma(20, 0, 40, 60), 40);
}

TEST_F(Thumbnail, PadsAFlatBlackPictureToOneKilobyte)
{
    Picture black = make("black.avi", 5);
    EXPECT_GE(readBytes(target()).size(), 1024u);
    ASSERT_EQ(black.width, 80);
    EXPECT_LT(black.meanLuma(0, 0, 80, 60), 24);
}

TEST_F(Thumbnail, TakesTheAskedSecondOrTheMiddleOfShorterClips)
{
    const std::vector<uint8_t> first = make("long.avi", 0).luma;
    EXPECT_NE(make("long.avi", 5).luma, first);
    // Second 5 of a 3-second clip: its middle, not its first picture.
    const std::vector<uint8_t> start = make("mpeg4_mp3.avi", 0).luma;
    EXPECT_NE(make("mpeg4_mp3.avi", 5).luma, start);
    EXPECT_EQ(make("one_frame.mp4", 5).width, 80);
}

TEST_F(Thumbnail, WritesNothingWithoutAPicture)
{
    for (const auto &[path, size] : std::vector<std::pair<std::string, std::string>>{
             {fixturePath("audio_only.mp3"), "80x60"},
             {fixturePath(kGarbage), "80x60"},
             {scratch.file("missing.avi"), "80x60"},
             {fixturePath(kEmpty), "80x60"},
             {fixturePath("h264_aac.mp4"), "80x"},
             {fixturePath("h264_aac.mp4"), "0x0"},
             {fixturePath("h264_aac.mp4"), "9000x60"}}) {
        SCOPED_TRACE(path + " " + size);
        EXPECT_NE(Mydll_GetPicure(path.c_str(), 5, size.c_str(), target().c_str()), 0);
        struct stat st;
        EXPECT_NE(stat(target().c_str(), &st), 0);
    }
}

} // namespace
