#include "profiles/devicekind.h"
#include "profiles/profilefile.h"
#include "profiles/profileline.h"
#include "tests/support/testpaths.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

namespace {

TEST(ProfileLine, ParsesTheDocumentedExample)
{
    OutputProfile p = ParseProfileLine(
        "A : Video: 320x240, 300 kbps, 25 fps, Audio: 64 kbps, 44.1 khps, 2 Channels Stereo");
    EXPECT_EQ(p.Name, "A");
    EXPECT_EQ(p.Resolution, "320x240");
    EXPECT_EQ(p.Width, 320);
    EXPECT_EQ(p.Height, 240);
    EXPECT_EQ(p.VideoBitRate, "300");
    EXPECT_EQ(p.VideoFrameRate, "25");
    EXPECT_EQ(p.AudioQuality, "64");
    EXPECT_EQ(p.AudioFrameRate, "44.1");
    EXPECT_EQ(p.AudioChannels, "2");
}

TEST(ProfileLine, ComposeAndParseRoundTrip)
{
    QString line = ComposeProfileLine("Phone", "176x144", "200", "15", "32", "22.05", MonoText);
    EXPECT_EQ(line, "Phone : Video: 176x144, 200 kbps, 15 fps, Audio: 32 kbps, 22.05 khps, "
                    "1 Channel Mono");
    OutputProfile p = ParseProfileLine(line);
    EXPECT_EQ(p.Name, "Phone");
    EXPECT_EQ(p.AudioFrameRate, "22.05");
    EXPECT_EQ(p.AudioChannels, "1");
    EXPECT_EQ(p.Width, 176);
    EXPECT_EQ(p.Height, 144);
}

TEST(ProfileLine, OddResolutionsAndMarkers)
{
    auto parse = [](const QString &res) {
        return ParseProfileLine("N : Video: " + res + ", 1 kbps, 2 fps, Audio: 3 kbps, 8 khps, " +
                                MonoText);
    };
    OutputProfile upper = parse("320X240");
    EXPECT_EQ(upper.Width, 0);    // no lower-case x
    EXPECT_EQ(upper.Height, 320); // taken from the first four characters
    OutputProfile tall = parse("320x24000");
    EXPECT_EQ(tall.Height, 2400); // at most four digits
    OutputProfile none = parse("");
    EXPECT_EQ(none.Resolution, "");
    EXPECT_EQ(none.Width, 0);

    // Nothing of the format at all: every field empty, nothing throws.
    OutputProfile empty = ParseProfileLine("");
    EXPECT_EQ(empty.Name, "");
    EXPECT_EQ(empty.Resolution, "");
    EXPECT_EQ(empty.AudioChannels, "");
    OutputProfile add = ParseProfileLine("Add my profile...");
    EXPECT_LE(add.Resolution.size(), 2);
}

TEST(ProfileLine, NameWithMarkersShiftsTheFields)
{
    // The editor accepts such names; the fields then come out wrong, since the
    // markers are all the format has. What matters is that nothing breaks.
    OutputProfile p = ParseProfileLine(
        "Audio: x : Video: 176x144, 200 kbps, 15 fps, Audio: 32 kbps, 22.05 khps, 1 Channel Mono");
    EXPECT_EQ(p.Name, "Audio: x");
    EXPECT_EQ(p.Resolution, "");     // the video part ends before it starts
    EXPECT_NE(p.AudioQuality, "32"); // the audio part starts at the name
    OutputProfile q = ParseProfileLine(
        "Video: a : Video: 176x144, 200 kbps, 15 fps, Audio: 32 kbps, 22.05 khps, 1 Channel Mono");
    EXPECT_NE(q.Resolution, "176x144");
}

class ProfileFileTest : public ::testing::Test
{
protected:
    QString path() const { return dir.filePath("Output.dll"); }
    QTemporaryDir dir;
};

TEST_F(ProfileFileTest, ListsSkipEmptySlots)
{
    WriteFileBytes(path(), "[3gp]\nProfileCount=3\nProfile0=first\nProfile1=NoData\n"
                           "Profile2=third\nDefaultIndex=5\n"
                           "ResolutionCount=4\nResolution0=128x96\nResolution2=352x288\n"
                           "Resolution3=NoData\nResolutionIndex=1\n");
    ProfileFile file(path());
    EXPECT_EQ(file.readProfileLines("3gp"), (QStringList{"first", "third"}));
    EXPECT_EQ(file.readProfileLines("3GP"), (QStringList{"first", "third"}));
    EXPECT_EQ(file.readDefaultIndex("3gp"), 5);
    OptionList res = file.readOptionList("3gp", "Resolution");
    EXPECT_EQ(res.values, (QStringList{"128x96", "352x288"}));
    EXPECT_EQ(res.index, 1);
    EXPECT_EQ(file.readDefaultName("3gp"), "DefaultName");
    EXPECT_EQ(file.readDefaultBitRate("3gp"), "200");
    EXPECT_TRUE(file.readProfileLines("psp").isEmpty());
    EXPECT_TRUE(file.readOptionList("psp", "AudioQuality").values.isEmpty());
}

TEST_F(ProfileFileTest, HugeCountsCostNothingAndNegativeOnesListNothing)
{
    WriteFileBytes(path(), "[mp4]\nProfileCount=2147483647\nProfile0=only\nProfile7=late\n");
    EXPECT_EQ(ProfileFile(path()).readProfileLines("mp4"), (QStringList{"only", "late"}));
    for (const char *count : {"-2147483648", "0x80000000", "$80000000", "-1", "0"}) {
        WriteFileBytes(path(), QByteArray("[mp4]\nProfileCount=") + count + "\nProfile0=only\n");
        EXPECT_TRUE(ProfileFile(path()).readProfileEntries("mp4").isEmpty()) << count;
    }
}

TEST_F(ProfileFileTest, WritingRaisesTheCountOnlyForANewEntry)
{
    ProfileFile file(path()); // no file yet
    file.writeProfile("psp", 0, "new one");
    EXPECT_EQ(ReadFileBytes(path()), "[psp]\r\nProfile0=new one\r\nProfileCount=1\r\n");
    file.writeProfile("psp", 0, "edited");
    EXPECT_EQ(file.readProfileCount("psp"), 1);
    EXPECT_EQ(file.readProfileLines("psp"), QStringList{"edited"});
    file.writeProfile("psp", 1, "second");
    EXPECT_EQ(file.readProfileCount("psp"), 2);
    file.writeProfile("psp", 5, "far"); // past the count: raised so it is listed
    EXPECT_EQ(file.readProfileCount("psp"), 6);
}

// Whatever a hand-edited count says, a new profile lands on no existing one
// and is listed; the count never overflows.
TEST_F(ProfileFileTest, ANewProfileNeverTakesAnEntryInUse)
{
    const QByteArray two = "Profile0=Phone Standard\nProfile1=Two\n";
    const QStringList both = {"Phone Standard", "Two"};
    // The count and entries in the file, the new number, the profiles listed after the save.
    for (const auto &[count, entries, number, listed] :
         std::vector<std::tuple<QByteArray, QByteArray, int, QStringList>>{
             {"2", two, 2, both + QStringList{"Mine"}},
             {"5abc", two, 2, both + QStringList{"Mine"}},
             {"-1", two, 2, both + QStringList{"Mine"}},
             {"4", two, 4, both + QStringList{"Mine"}},
             {"2147483647", two + "Profile9=Top\n", 10, both + QStringList{"Top", "Mine"}},
         }) {
        WriteFileBytes(path(), "[3gp]\nProfileCount=" + count + "\n" + entries);
        ProfileFile file(path());
        EXPECT_EQ(file.newProfileNumber("3gp"), number) << count.data();
        file.writeProfile("3gp", number, "Mine");
        EXPECT_EQ(file.readProfileLines("3gp"), listed) << count.data();
    }
    EXPECT_EQ(NewProfileNumber(INT_MAX, INT_MAX - 1), -1);
    EXPECT_EQ(NewProfileNumber(INT_MAX, INT_MAX), -1);
    EXPECT_EQ(NewProfileNumber(5, INT_MAX), -1);
    EXPECT_EQ(NewProfileNumber(INT_MAX, 4), 5);
    EXPECT_EQ(NewProfileNumber(INT_MAX - 1, -1), INT_MAX - 1);
}

TEST(ShippedProfiles, EverySectionIsCompleteAndParses)
{
    ProfileFile file(BuildBinDir() + "/Output.dll");
    for (int kind = 0; kind < DeviceKindCount; ++kind) {
        const QString section = FindDeviceKind(kind)->section;
        SCOPED_TRACE(section.toStdString());
        QStringList lines = file.readProfileLines(section);
        ASSERT_GE(lines.size(), 3);
        EXPECT_LT(file.readDefaultIndex(section), lines.size());
        for (const QString &line : lines) {
            OutputProfile p = ParseProfileLine(line);
            EXPECT_LE(p.Name.size(), 15) << line.toStdString();
            EXPECT_GT(p.Width, 0);
            EXPECT_EQ(p.Width % 2, 0);
            EXPECT_EQ(p.Height % 2, 0);
            EXPECT_TRUE(p.AudioChannels == "1" || p.AudioChannels == "2");
            EXPECT_EQ(ComposeProfileLine(p.Name, p.Resolution, p.VideoBitRate, p.VideoFrameRate,
                                         p.AudioQuality, p.AudioFrameRate,
                                         p.AudioChannels == "1" ? MonoText : StereoText),
                      line);
            if (kind == 1) {
                EXPECT_TRUE(p.Width % 16 == 0 && p.Height % 16 == 0) << line.toStdString();
            }
        }
        for (const char *list :
             {"Resolution", "VideoFrameRate", "AudioQuality", "AudioFrameRate"}) {
            OptionList o = file.readOptionList(section, list);
            EXPECT_FALSE(o.values.isEmpty()) << list;
            EXPECT_LT(o.index, o.values.size()) << list;
        }
    }
}

TEST(DeviceKinds, TableAndLookups)
{
    EXPECT_EQ(FindDeviceKind(0)->extension, ".3gp");
    EXPECT_EQ(FindDeviceKind(1)->format, "psp");
    EXPECT_EQ(FindDeviceKind(4)->picture, "mp4.jpg");
    EXPECT_EQ(FindDeviceKind(5), nullptr);
    EXPECT_EQ(FindDeviceKind(-1), nullptr);
    EXPECT_EQ(DeviceKindBySection("iPod"), 2);
    EXPECT_EQ(DeviceKindBySection("dvd"), -1);
}

} // namespace
