#include "encoder/probe.h"
#include "platform/inifile.h"
#include "platform/pubfunction.h"
#include "profiles/profilefile.h"
#include "profiles/profileform.h"
#include "profiles/profileline.h"
#include "profiles/profilestore.h"
#include "tests/support/testpaths.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

namespace {

TEST(BitRateField, KeepsAWholeNumberFromOneTo2500)
{
    // A letter typed after digits is dropped.
    const std::pair<const char *, const char *> clampedBitRateTextCases[] = {
        {"3000", "2500"}, {"2500", "2500"}, {"0", "1"},
        {"", "1"},        {"020", "20"},    {"12ab", "12"},
        {"kbps", "1"},    {"-40", "1"},     {"99999999999", "2500"}};
    for (auto [typed, kept] : clampedBitRateTextCases)
        EXPECT_EQ(ClampedBitRateText(typed), kept) << typed;

    EXPECT_EQ(StepArrows(20, +1), 21);
    EXPECT_EQ(StepArrows(20, -1), 19);
    EXPECT_EQ(StepArrows(1, -1), 1); // stops at the ends, no wrap-around
    EXPECT_EQ(StepArrows(2500, +1), 2500);
    EXPECT_EQ(StepArrows(2499, +1), 2500);
}

TEST(ProfileFields, ChannelsAndListSelection)
{
    EXPECT_EQ(ChannelChoices(), (QStringList{MonoText, StereoText}));
    EXPECT_EQ(ChannelPosition("1"), 0);
    EXPECT_EQ(ChannelPosition("2"), 1);
    EXPECT_EQ(ChannelPosition(""), -1);
    EXPECT_EQ(ChannelPosition("St"), -1);

    const QStringList rates{"8", "11.025", "22.05"};
    EXPECT_EQ(PositionOfText(rates, "22.05", 0), 2);
    EXPECT_EQ(PositionOfText(rates, "44.1", 1), 1);            // not offered: the selection stays
    EXPECT_EQ(PositionOfText({"176x144"}, "176X144", -1), -1); // case counts

    EXPECT_EQ(PreselectedPosition({{"a", "b"}, 1}), 1);
    EXPECT_EQ(PreselectedPosition({{"a", "b"}, 2}), -1);
    EXPECT_EQ(PreselectedPosition({{"a", "b"}, -1}), -1);
    EXPECT_EQ(PreselectedPosition({{}, 0}), -1);
}

TEST(ProfileFields, AStoredLineAsTheEditorShowsIt)
{
    StoredProfileFields f = FieldsOfStoredLine(
        "Tv : Video: 320x240, 300KB kbps, 29.97FPS fps, Audio: 64 kbps, 44.1K khps, 2 Channels "
        "Stereo");
    EXPECT_EQ(f.name, "Tv");
    EXPECT_EQ(f.resolution, "320x240");
    EXPECT_EQ(f.videoBitRate, "300kb");
    EXPECT_EQ(f.videoFrameRate, "29.97fps");
    EXPECT_EQ(f.audioQuality, "64");
    EXPECT_EQ(f.audioFrameRate, "44.1k");
    EXPECT_EQ(f.channelPosition, 1);
    EXPECT_EQ(FieldsOfStoredLine(ComposeProfileLine("M", "1x1", "1", "1", "1", "8", MonoText))
                  .channelPosition,
              0);
}

class ProfileDefaultsTest : public ::testing::Test
{
protected:
    QString path() const { return dir.filePath("Output.dll"); }
    QTemporaryDir dir;
};

TEST_F(ProfileDefaultsTest, FromTheFileAndWithoutIt)
{
    WriteFileBytes(path(), "[pda]\nProfileCount=7\nResolutionCount=3\nResolution0=NoData\n"
                           "Resolution1=240x180\nResolution2=320x240\nResolutionIndex=1\n"
                           "VideoFrameRateCount=1\nVideoFrameRate0=15\nVideoFrameRateIndex=4\n"
                           "DefaultName=Pocket\nDefaultBitRate=5000\n");
    NewProfileDefaults d = ReadNewProfileDefaults(ProfileFile(path()), "pda");
    EXPECT_EQ(d.resolution.values, (QStringList{"240x180", "320x240"}));
    EXPECT_EQ(PreselectedPosition(d.resolution), 1); // a position, not an entry number
    EXPECT_EQ(PreselectedPosition(d.videoFrameRate), -1);
    EXPECT_TRUE(d.audioQuality.values.isEmpty());
    EXPECT_EQ(d.name, "Pocket");
    EXPECT_EQ(d.videoBitRate, "5000");
    EXPECT_EQ(d.profileIndex, 7);

    NewProfileDefaults none = ReadNewProfileDefaults(ProfileFile(dir.filePath("none")), "pda");
    EXPECT_TRUE(none.resolution.values.isEmpty());
    EXPECT_TRUE(none.audioFrameRate.values.isEmpty());
    EXPECT_EQ(none.name, "DefaultName");
    EXPECT_EQ(none.videoBitRate, "200");
    EXPECT_EQ(none.profileIndex, 0);
}

TEST_F(ProfileDefaultsTest, ListedProfilesKeepTheirEntryNumbers)
{
    WriteFileBytes(path(), "[3gp]\nProfileCount=4\nProfile0=a\nProfile1=NoData\nProfile3=d\n");
    const QList<ProfileEntry> entries = ProfileFile(path()).readProfileEntries("3gp");
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].number, 0);
    EXPECT_EQ(entries[1].number, 3);
    EXPECT_EQ(entries[1].line, "d");
}

// Which file is read and written, for a program folder this user can write.
// (A program folder the user cannot write is tried by the window's tests, as
// an ordinary user.)
class ProfileStoreTest : public ::testing::Test
{
protected:
    static auto globals()
    {
        return std::tie(path_Config, path_Data, path_Snapshot, path_Skin, b_Installed);
    }
    void SetUp() override
    {
        saved = globals();
        path_Config = path_Data = dir.filePath("prog/");
        b_Installed = false;
        QDir().mkpath(path_Config);
        QFile::remove(UserProfilePath());
    }
    void TearDown() override
    {
        QFile::remove(UserProfilePath());
        globals() = saved;
    }
    QTemporaryDir dir;
    std::tuple<QString, QString, QString, QString, bool> saved;
};

TEST_F(ProfileStoreTest, AWritableProgramFolderKeepsTheShippedFile)
{
    EXPECT_TRUE(UserProfilePath().startsWith(
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)));
    EXPECT_EQ(ProfileFilePath(ProfileAccess::Read), path_Config + "Output.dll");
    // Even with no file yet: the write creates it where it always lay.
    EXPECT_EQ(ProfileFilePath(ProfileAccess::Write), path_Config + "Output.dll");
    EXPECT_FALSE(QFile::exists(UserProfilePath()));
    ProfileFile::forWriting().writeProfile("3gp", 0, "x");
    EXPECT_EQ(ProfileFile(path_Config + "Output.dll").readProfileCount("3gp"), 1);
    EXPECT_TRUE(CanReplaceFile(path_Config + "Output.dll"));
    EXPECT_FALSE(CanReplaceFile(dir.filePath("no/such/folder/Output.dll")));
}

TEST_F(ProfileStoreTest, AnExistingUserCopyWinsForBoth)
{
    WriteFileBytes(path_Config + "Output.dll", "[3gp]\nProfileCount=1\nProfile0=shipped\n");
    QDir().mkpath(QFileInfo(UserProfilePath()).absolutePath());
    WriteFileBytes(UserProfilePath(), "[3gp]\nProfileCount=1\nProfile0=mine\n");
    EXPECT_EQ(ProfileFile::standard().readProfileLines("3gp"), QStringList{"mine"});
    ProfileFile::forWriting().writeProfile("3gp", 1, "second");
    EXPECT_EQ(ProfileFile(UserProfilePath()).readProfileLines("3gp"),
              (QStringList{"mine", "second"}));
    EXPECT_EQ(ReadFileBytes(path_Config + "Output.dll"),
              "[3gp]\nProfileCount=1\nProfile0=shipped\n");
}

// An installed program writes nothing under its prefix, even for a user who
// could (root): saves go to the per-user copy, scratch files to the cache.
TEST_F(ProfileStoreTest, AnInstalledProgramWritesOnlyTheUserCopy)
{
    const QString prefix = dir.filePath("usr/"), data = prefix + "share/zelo-converter/";
    const QByteArray shipped = "[3gp]\nProfileCount=1\nProfile0=shipped\n";
    QDir().mkpath(prefix + "lib/zelo-converter");
    QDir().mkpath(data);
    EXPECT_EQ(InstalledDataFolder(prefix + "lib/zelo-converter"), QString()); // no marker yet
    WriteFileBytes(data + "installed", "installed\n");
    WriteFileBytes(data + "Output.dll", shipped);
    InitGlobals(prefix + "lib/zelo-converter");
    EXPECT_TRUE(b_Installed);
    EXPECT_EQ(path_Skin, data + "Skin/");
    EXPECT_TRUE(CanReplaceFile(ShippedProfilePath())); // writable, yet not written
    ProfileFile::forWriting().writeProfile("3gp", 1, "mine");
    EXPECT_EQ(ProfileFile::standard().readProfileLines("3gp"), (QStringList{"shipped", "mine"}));
    EXPECT_EQ(ReadFileBytes(data + "Output.dll"), shipped);
    Settings settings(SettingsStore(dir.filePath("settings.conf")));
    EXPECT_TRUE(EnsureFolders(settings));
    EXPECT_FALSE(ScratchFolder().startsWith(prefix));
    ClearSnapshotFolder(path_Snapshot); // must not clear the current folder
    EXPECT_TRUE(QDir(prefix + "lib/zelo-converter").isEmpty());
}

} // namespace
