// encoder-run: the engine library loaded and driven as the program does it,
// in a process of its own.
#include "tests/engine/enginetestkit.h"
#include "tests/engine/fixturecatalog.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

const std::string kDriver = std::string(ZELO_ENGINE_BIN_DIR) + "/encoder-run";
constexpr int kCannotRunHere = 77; // the unprivileged child cannot reach its files

struct DriverRun
{
    int exitCode = -1;
    std::vector<std::string> lines;
    std::string text() const
    {
        std::string all;
        for (const std::string &l : lines)
            all += l + "\n";
        return all;
    }
};

// Runs the driver with the vector as its arguments. asNobody: when this
// test runs as root, the driver runs as user nobody, for whom permissions
// count. whileRunning gets the child's pid. addressSpace: RLIMIT_AS, if any.
DriverRun runDriver(const std::string &driver, const std::vector<std::string> &vector,
                    bool asNobody = false, const std::function<void(pid_t)> &whileRunning = {},
                    rlim_t addressSpace = 0)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        if (asNobody && geteuid() == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0 || access(driver.c_str(), X_OK) != 0 ||
                access(vector[7].c_str(), R_OK) != 0)
                _exit(kCannotRunHere);
        }
        const rlimit limit{addressSpace, addressSpace};
        if (addressSpace > 0 && setrlimit(RLIMIT_AS, &limit) != 0)
            _exit(127);
        std::vector<char *> argv{const_cast<char *>(driver.c_str())};
        for (const std::string &s : vector)
            argv.push_back(const_cast<char *>(s.c_str()));
        argv.push_back(nullptr);
        execv(driver.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    if (whileRunning)
        whileRunning(pid);
    DriverRun run;
    std::string buffer;
    char chunk[4096];
    ssize_t n;
    while ((n = read(out[0], chunk, sizeof chunk)) > 0)
        buffer.append(chunk, static_cast<size_t>(n));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    size_t at = 0;
    while (at < buffer.size()) {
        size_t end = buffer.find('\n', at);
        run.lines.push_back(buffer.substr(at, end - at));
        at = end == std::string::npos ? buffer.size() : end + 1;
    }
    return run;
}

class Driver : public ConversionTest
{
};

TEST_F(Driver, ConvertsAndPrintsStatusLinesTheProgressWindowCanRead)
{
    ConvertRequest r = request("h264_aac.mp4");
    DriverRun run = runDriver(kDriver, r.toVector());
    ASSERT_EQ(run.exitCode, 0) << run.text();
    ASSERT_FALSE(run.lines.empty());
    const std::regex shape(
        R"(frame= *\d+ q=\d+\.\d size= *\d+kB time=(\d+\.\d\d) bitrate= *\d+\.\dkbits/s)");
    std::smatch m;
    for (const std::string &line : run.lines)
        EXPECT_TRUE(std::regex_match(line, m, shape)) << line;
    ASSERT_TRUE(std::regex_match(run.lines.back(), m, shape));
    EXPECT_NEAR(std::stod(m[1]), 2.0, 0.1);
    EXPECT_TRUE(inspect(r.output).video());
}

TEST_F(Driver, AFailureExitsWithTwoAfterItsReason)
{
    ConvertRequest r = request("mpeg4_mp3.avi");
    r.input = scratch.file("gone.avi");
    DriverRun run = runDriver(kDriver, r.toVector());
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_EQ(run.lines.size(), 1u) << run.text();
    EXPECT_EQ(run.lines[0].rfind("error: ", 0), 0u);
    EXPECT_NE(run.lines[0].find("gone.avi"), std::string::npos);
}

TEST_F(Driver, AnUnwritableOutputFolderFailsWithAReason)
{
    // The folder is locked to everybody but root; as root the driver runs
    // as nobody so the lock holds.
    std::filesystem::permissions(scratch.path(), std::filesystem::perms(0755));
    const std::string locked = scratch.file("locked");
    std::filesystem::create_directory(locked);
    std::filesystem::permissions(locked, std::filesystem::perms(0555));
    ConvertRequest r = request("mpeg4_mp3.avi");
    r.output = locked + "/out.3gp";
    DriverRun run = runDriver(kDriver, r.toVector(), true);
    if (run.exitCode == kCannotRunHere)
        GTEST_SKIP() << "user nobody cannot reach the build folder";
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_FALSE(run.lines.empty());
    EXPECT_NE(run.lines.back().find("locked"), std::string::npos) << run.text();
    EXPECT_TRUE(std::filesystem::is_empty(locked));
}

TEST_F(Driver, TerminatedOrKilledMidWayItLeavesNothingBehind)
{
    ConvertRequest r = request("long.avi");
    r.length = "60";
    // SIGTERM stops the conversion as Stop does; SIGKILL leaves the
    // engine no chance to tidy up, so nothing may need tidying.
    for (const auto &[signal, exitCode] : {std::pair{SIGTERM, 1}, {SIGKILL, 128 + SIGKILL}}) {
        SCOPED_TRACE(strsignal(signal));
        bool writing = false;
        DriverRun run = runDriver(kDriver, r.toVector(), false, [&](pid_t pid) {
            writing = waitUntilWriting(pid);
            kill(pid, signal);
        });
        EXPECT_TRUE(writing);
        EXPECT_EQ(run.exitCode, exitCode) << run.text();
        EXPECT_TRUE(scratch.entries().empty());
    }
}

TEST_F(Driver, TwoConversionsRacingToOneNameKeepBothResults)
{
    ConvertRequest r = request("mpeg4_mp3.avi");
    r.length = "3";
    DriverRun second;
    DriverRun first = runDriver(kDriver, r.toVector(), false,
                                [&](pid_t) { second = runDriver(kDriver, r.toVector()); });
    ASSERT_EQ(first.exitCode, 0) << first.text();
    ASSERT_EQ(second.exitCode, 0) << second.text();
    const std::string renamed = "output: " + scratch.file("out1.3gp");
    EXPECT_NE(first.lines.back() == renamed, second.lines.back() == renamed)
        << first.text() << second.text();
    EXPECT_EQ(scratch.entries().size(), 2u);
    for (const char *name : {"out.3gp", "out1.3gp"}) {
        MediaReport m = inspect(scratch.file(name));
        ASSERT_TRUE(m.video()) << name;
        EXPECT_NEAR(m.video()->duration, 3.0, 0.1) << name;
    }
}

TEST_F(Driver, AHeldLastPictureTakesNoMoreMemoryThanAnyClip)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer maps terabytes of shadow memory";
#endif
    // The address space a short clip needs for MP4 at 720p (more on more cores), and a clip
    // of 1 s of pictures under 40 s of sound: 1199 held pictures of 1.3 MB each.
    ConvertRequest normal = request("mpeg4_mp3.avi", "normal.mp4");
    normal.size = "1280x720", normal.format = "mp4";
    rlim_t limit = 768 << 20;
    while (runDriver(kDriver, normal.toVector(), false, {}, limit).exitCode && limit < 8ul << 30)
        limit *= 2;
    ConvertRequest held = request("held_picture.mp4", "held.mp4");
    held.size = normal.size, held.format = normal.format, held.length = "40";
    DriverRun run = runDriver(kDriver, held.toVector(), false, {}, limit);
    ASSERT_EQ(run.exitCode, 0) << (limit >> 20) << " MB\n" << run.text();
    EXPECT_NEAR(inspect(held.output).video()->duration, 40.0, 0.1);
}

TEST_F(Driver, LoadsOnlyTheEngineBesideItself)
{
    const std::string lonely = scratch.file("encoder-run");
    std::filesystem::copy_file(kDriver, lonely);
    ConvertRequest r = request("mpeg4_mp3.avi");
    r.output = scratch.file("never.3gp");
    DriverRun run = runDriver(lonely, r.toVector());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_FALSE(std::filesystem::exists(r.output));
}

} // namespace
