// The working file a conversion writes: named without replacing anything,
// and nothing left of a writer that was killed.
#include "engine/workingfile.h"
#include "tests/engine/enginetestkit.h"

#include <algorithm>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

namespace {

using zelo::WorkingFile;

const WorkingFile::Kind kBothKinds[] = {WorkingFile::Kind::Unnamed, WorkingFile::Kind::Hidden};

std::string kindName(WorkingFile::Kind kind)
{
    return kind == WorkingFile::Kind::Unnamed ? "unnamed" : "hidden";
}

// Writes text into a new working file of the given kind in folder.
bool makeWritten(WorkingFile &file, const std::string &folder, const std::string &text,
                 WorkingFile::Kind kind)
{
    std::string error;
    if (!file.create(folder, error, kind)) {
        ADD_FAILURE() << error;
        return false;
    }
    std::ofstream(file.path(), std::ios::binary) << text;
    return true;
}

TEST(NumberedName, PutsTheNumberBeforeTheExtensionAndFitsTheLimit)
{
    const std::string e = "\xC3\xA9"; // é in UTF-8
    // The last four: a character is never cut in two; other bytes are cut anywhere.
    const std::tuple<std::string, int, size_t, std::string> table[] = {
        {"/out/holiday.3gp", 2, 255, "/out/holiday2.3gp"},
        {"/out/a.b.mp4", 1, 255, "/out/a.b1.mp4"},
        {"/out.d/clip", 3, 255, "/out.d/clip3"},
        {"clip.3gp", 10, 255, "clip10.3gp"},
        {"/o/abcdef.3gp", 12, 8, "/o/ab12.3gp"},
        {"/o/abcdef", 0, 4, "/o/abcd"},
        {"/o/ab" + e + ".3gp", 0, 7, "/o/ab.3gp"},
        {"/o/a" + e + "b.3gp", 0, 7, "/o/a" + e + ".3gp"},
        {"/o/ab\xE9\xE9.3gp", 0, 7, "/o/ab\xE9.3gp"},
        {"/o/ab\xA9\xA9.3gp", 0, 7, "/o/ab\xA9.3gp"}};
    for (const auto &[path, number, longest, name] : table)
        EXPECT_EQ(zelo::numberedName(path, number, longest), name) << path;
}

TEST(WorkingFileTest, PublishingNeverReplacesAFile)
{
    for (WorkingFile::Kind kind : kBothKinds) {
        SCOPED_TRACE(kindName(kind));
        ScratchFolder scratch;
        const std::string wanted = scratch.file("holiday.3gp");
        std::ofstream(wanted) << "first";
        std::ofstream(scratch.file("holiday1.3gp")) << "second";

        WorkingFile file;
        ASSERT_TRUE(makeWritten(file, scratch.path(), "third", kind));
        std::string got, error;
        ASSERT_TRUE(file.publish(wanted, got, error)) << error;
        EXPECT_EQ(got, scratch.file("holiday2.3gp"));
        EXPECT_EQ(readBytes(got), "third");
        EXPECT_EQ(readBytes(wanted), "first");
        EXPECT_EQ(readBytes(scratch.file("holiday1.3gp")), "second");
        EXPECT_EQ(scratch.entries().size(), 3u);
    }
}

TEST(WorkingFileTest, TwoWritersOfOneNameBothKeepTheirResult)
{
    ScratchFolder scratch;
    const std::string wanted = scratch.file("clip.3gp");
    WorkingFile early, late;
    ASSERT_TRUE(makeWritten(early, scratch.path(), "early", WorkingFile::Kind::Unnamed));
    ASSERT_TRUE(makeWritten(late, scratch.path(), "late", WorkingFile::Kind::Hidden));
    std::string earlyGot, lateGot, error;
    ASSERT_TRUE(early.publish(wanted, earlyGot, error)) << error;
    ASSERT_TRUE(late.publish(wanted, lateGot, error)) << error;
    EXPECT_EQ(earlyGot, wanted);
    EXPECT_EQ(lateGot, scratch.file("clip1.3gp"));
    EXPECT_EQ(readBytes(wanted), "early");
    EXPECT_EQ(readBytes(lateGot), "late");
}

TEST(WorkingFileTest, FitsBesideTheLongestLegalName)
{
    for (WorkingFile::Kind kind : kBothKinds) {
        SCOPED_TRACE(kindName(kind));
        ScratchFolder scratch;
        const std::string wanted = scratch.file(std::string(251, 'n') + ".3gp");
        WorkingFile file;
        ASSERT_TRUE(makeWritten(file, scratch.path(), "data", kind));
        std::string got, error;
        ASSERT_TRUE(file.publish(wanted, got, error)) << error;
        EXPECT_EQ(readBytes(wanted), "data");
        // Taken: the numbered name makes room for its number.
        WorkingFile second;
        ASSERT_TRUE(makeWritten(second, scratch.path(), "more", kind));
        ASSERT_TRUE(second.publish(wanted, got, error)) << error;
        EXPECT_EQ(got, scratch.file(std::string(250, 'n') + "1.3gp"));
        EXPECT_EQ(readBytes(got), "more");
        EXPECT_EQ(scratch.entries().size(), 2u);
    }
}

// A child process opens a working file, writes into it and is killed.
void killWriterOf(const std::string &folder, WorkingFile::Kind kind)
{
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t pid = fork();
    if (pid == 0) {
        WorkingFile file;
        std::string error;
        if (file.create(folder, error, kind))
            std::ofstream(file.path()) << "half a clip";
        char done = 'x';
        if (write(ready[1], &done, 1) != 1)
            _exit(1);
        pause();
        _exit(0);
    }
    close(ready[1]);
    char done;
    ASSERT_EQ(read(ready[0], &done, 1), 1);
    close(ready[0]);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

TEST(WorkingFileTest, AKilledWriterLeavesNothingForLong)
{
    ScratchFolder scratch;
    killWriterOf(scratch.path(), WorkingFile::Kind::Unnamed);
    EXPECT_TRUE(scratch.entries().empty());

    // Where a working file needs a name, the next writer in the folder
    // removes the dead one's, but not a live one's.
    killWriterOf(scratch.path(), WorkingFile::Kind::Hidden);
    ASSERT_EQ(scratch.entries().size(), 1u);
    const std::string stale = scratch.entries().front();
    WorkingFile live, next;
    ASSERT_TRUE(makeWritten(live, scratch.path(), "live", WorkingFile::Kind::Hidden));
    ASSERT_TRUE(makeWritten(next, scratch.path(), "next", WorkingFile::Kind::Hidden));
    std::vector<std::string> left = scratch.entries();
    EXPECT_EQ(left.size(), 2u);
    EXPECT_EQ(std::count(left.begin(), left.end(), stale), 0);
    EXPECT_EQ(readBytes(live.path()), "live");
    live.discard();
    next.discard();
    EXPECT_TRUE(scratch.entries().empty());
}

} // namespace
