// Stopping, refusing and failing: every request that starts ends with one
// end message, and nothing half-written is left behind.
#include "tests/engine/enginetestkit.h"
#include "tests/engine/fixturecatalog.h"

#include <atomic>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

class Failures : public ConversionTest
{
};

struct CountingTarget : MessageTarget
{
    std::atomic<int> messages{0};
    CountingTarget()
    {
        post = [](MessageTarget *self, unsigned, uintptr_t, intptr_t) {
            ++static_cast<CountingTarget *>(self)->messages;
        };
    }
};

TEST_F(Failures, StopEndsTheConversionAndLeavesNoFileBehind)
{
    ConvertRequest r = request("long.avi");
    r.length = "60";
    for (const bool halfWay : {true, false}) {
        SCOPED_TRACE(halfWay ? "half-way" : "right after the start");
        bool writing = !halfWay;
        RunResult result = runConversion(r.toVector(), [&] {
            if (halfWay)
                writing = waitUntilWriting();
            Mydll_Stop();
        });
        ASSERT_TRUE(writing);
        EXPECT_EQ(result.code, uintptr_t(CONVERT_DONE_STOPPED));
        EXPECT_EQ(result.messages, 1);
        EXPECT_TRUE(scratch.entries().empty());
    }
}

TEST_F(Failures, UnInitStopsAndWaitsForTheEngine)
{
    ConvertRequest r = request("long.avi");
    r.length = "60";
    std::vector<std::string> leftAtReturn{"not called"};
    RunResult result = runConversion(r.toVector(), [&] {
        waitUntilWriting();
        MyDll_UnInit();
        leftAtReturn = scratch.entries();
    });
    EXPECT_TRUE(leftAtReturn.empty());
    EXPECT_EQ(result.code, uintptr_t(CONVERT_DONE_STOPPED));
    EXPECT_EQ(result.messages, 1);
}

TEST_F(Failures, EveryRefusedRequestEndsWithOneMessageAndAReason)
{
    const std::string fifo = scratch.file("pipe.avi");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = scratch.file("folder");
    std::filesystem::create_directory(folder);
    using Request = std::function<void(ConvertRequest &)>;
    using Vector = std::function<void(std::vector<std::string> &)>;
    for (const auto &[what, spoilRequest, spoilVector] :
         std::vector<std::tuple<const char *, Request, Vector>>{
             {"short vector", {}, [](auto &v) { v.resize(5); }},
             {"no vector at all", {}, [](auto &v) { v.clear(); }},
             {"another codec", {}, [](auto &v) { v[28] = "mp3"; }},
             {"missing source", [&](auto &r) { r.input = scratch.file("gone.avi"); }, {}},
             {"folder as source", [&](auto &r) { r.input = folder; }, {}},
             {"FIFO as source", [&](auto &r) { r.input = fifo; }, {}},
             {"device as source", [](auto &r) { r.input = "/dev/zero"; }, {}},
             {"garbage source", [](auto &r) { r.input = fixturePath(kGarbage); }, {}},
             {"missing output folder", [&](auto &r) { r.output = scratch.file("no/out.3gp"); }, {}},
             {"output is a folder", [&](auto &r) { r.output = folder; }, {}},
             {"start after the end", [](auto &r) { r.start = "00:01:00"; }, {}},
         }) {
        SCOPED_TRACE(what);
        ConvertRequest r = request("mpeg4_mp3.avi");
        if (spoilRequest)
            spoilRequest(r);
        std::vector<std::string> v = r.toVector();
        if (spoilVector)
            spoilVector(v);
        RunResult result = runConversion(v);
        EXPECT_EQ(result.code, uintptr_t(CONVERT_DONE_FAILED));
        EXPECT_EQ(result.messages, 1);
        EXPECT_TRUE(result.hasErrorLine()) << result.text();
        std::vector<std::string> left = scratch.entries();
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, (std::vector<std::string>{"folder", "pipe.avi"}));
    }
}

TEST_F(Failures, AnEmptyRangeOrACutShortSourceFailsWithAReasonAndLeavesNothing)
{
    ClipInfo info{};
    ASSERT_EQ(Mydll_GetFileinfo(fixturePath("mpeg4_mp3.avi").c_str(), &info), 0);
    ASSERT_LT(info.Duration, 10);
    struct Case
    {
        const char *what, *source;
        std::string start, length;
        const char *reason = "nothing to convert: the range is empty";
    };
    const std::vector<Case> cases = {
        {"start equals stop", "mpeg4_mp3.avi", "00:00:01", "0"},
        {"start at the clip's end", "mpeg4_mp3.avi", "00:00:0" + std::to_string(info.Duration),
         "1"},
        // A fifth of a 60 s clip, converted as the whole it was when probed.
        {"cut short", kCutShort, "00:00:00", "60", "the source could not be read to its end: "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ConvertRequest r = request(c.source);
        r.start = c.start;
        r.length = c.length;
        RunResult result = runConversion(r.toVector());
        EXPECT_EQ(result.code, uintptr_t(CONVERT_DONE_FAILED));
        EXPECT_EQ(result.messages, 1);
        ASSERT_FALSE(result.lines.empty());
        EXPECT_EQ(result.lines.back().rfind(std::string("error: ") + c.reason, 0), 0u)
            << result.text();
        EXPECT_TRUE(scratch.entries().empty());
    }
}

TEST_F(Failures, ABusyEngineRefusesASecondRequestWithoutAMessage)
{
    ConvertRequest first = request("long.avi");
    first.length = "60";
    ConvertRequest second = request("mpeg4_mp3.avi");
    second.output = scratch.file("second.3gp");
    std::vector<std::string> v = second.toVector();
    std::vector<char *> argv;
    for (std::string &s : v)
        argv.push_back(s.data());
    CountingTarget other;
    int refused = 0;
    RunResult result = runConversion(first.toVector(), [&] {
        refused = _X(&other, static_cast<int>(argv.size()), argv.data());
        Mydll_Stop();
    });
    EXPECT_NE(refused, 0);
    EXPECT_EQ(other.messages, 0);
    EXPECT_EQ(result.messages, 1);
    EXPECT_EQ(result.code, uintptr_t(CONVERT_DONE_STOPPED));
}

TEST_F(Failures, WithoutAWindowNothingStarts)
{
    std::vector<std::string> v = request("mpeg4_mp3.avi").toVector();
    std::vector<char *> argv;
    for (std::string &s : v)
        argv.push_back(s.data());
    MessageTarget deaf{nullptr};
    EXPECT_NE(_X(nullptr, static_cast<int>(argv.size()), argv.data()), 0);
    EXPECT_NE(_X(&deaf, static_cast<int>(argv.size()), argv.data()), 0);
    MyDll_UnInit();
    EXPECT_TRUE(scratch.entries().empty());
}

TEST_F(Failures, AFullDiskFailsTheConversionAndCleansUp)
{
    // A file size limit stands in for a full disk: writes fail alike.
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ConvertRequest r = request("long.avi");
    r.length = "30";
    r.videoKbits = "512";
    RunResult result = runConversion(r.toVector());
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result.code, uintptr_t(CONVERT_DONE_FAILED));
    EXPECT_EQ(result.messages, 1);
    EXPECT_TRUE(result.hasErrorLine()) << result.text();
    EXPECT_TRUE(scratch.entries().empty());
}

// FAT mounted through FUSE takes an output of megabytes, index moved first.
TEST_F(Failures, AnOutputOfSeveralMegabytesFinishesOnFatThroughFuse)
{
    if (::access("/dev/fuse", R_OK | W_OK) != 0 ||
        std::system("command -v fusefat mkfs.vfat fusermount >/dev/null") != 0)
        GTEST_SKIP() << "no usable /dev/fuse, or fusefat, mkfs.vfat or fusermount missing";
    const std::string image = scratch.file("fat.img"), mount = scratch.file("fat");
    std::filesystem::create_directory(mount);
    if (std::system(("mkfs.vfat -C " + image + " 32768 >/dev/null && fusefat -o rw+ " + image +
                     " " + mount + " >/dev/null 2>&1")
                        .c_str()) != 0)
        GTEST_SKIP() << "fusefat cannot mount here (no FUSE rights?)";
    ConvertRequest r = request("long.avi");
    r.output = mount + "/out.mp4", r.format = "mp4", r.size = "640x480";
    r.videoKbits = "2000", r.length = "20";
    const RunResult result = runConversion(r.toVector());
    const int64_t size =
        std::filesystem::exists(r.output) ? int64_t(std::filesystem::file_size(r.output)) : 0;
    const MediaReport out = inspect(r.output);
    EXPECT_EQ(std::system(("fusermount -u " + mount).c_str()), 0);
    EXPECT_EQ(result.code, uintptr_t(CONVERT_DONE_COMPLETE)) << result.text();
    EXPECT_GT(size, 2 << 20);
    EXPECT_TRUE(out.video() && std::abs(out.video()->duration - 20.0) < 0.1);
}

} // namespace
