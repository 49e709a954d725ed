#include "platform/nativepath.h"
#include "platform/pubfunction.h"
#include "tests/support/testpaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class FoldersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobals(dir.filePath("prog"));
        store = std::make_unique<SettingsStore>(dir.filePath("settings/Zuzudu4.conf"));
        settings = std::make_unique<Settings>(*store);
    }

    QTemporaryDir dir;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<Settings> settings;
};

TEST_F(FoldersTest, GlobalsStartWithTheirDefaults)
{
    EXPECT_EQ(path_Config, dir.filePath("prog/"));
    EXPECT_EQ(path_Skin, dir.filePath("prog/Skin/"));
    EXPECT_EQ(path_Snapshot, dir.filePath("prog/Snapshot/"));
    EXPECT_EQ(settings->path_Work(), QDir::homePath() + "/ZeloOutput/");
    EXPECT_FALSE(settings->b_KeepRatio());
}

TEST_F(FoldersTest, FirstRunCreatesFoldersAndSavesBothValues)
{
    settings->load();
    EXPECT_EQ(settings->path_Work(), DefaultOutputFolder());
    EXPECT_TRUE(EnsureFolders(*settings));
    EXPECT_TRUE(QFileInfo(path_Snapshot).isDir());
    EXPECT_TRUE(QFileInfo(settings->path_Work()).isDir());

    settings->save();
    EXPECT_EQ(store->readText("OutputFolder"), DefaultOutputFolder());
    EXPECT_EQ(store->readFlag("KeepRatio"), false);
    EXPECT_TRUE(ReadFileBytes(store->location()).contains("KeepRatio=0"));
}

TEST_F(FoldersTest, StoredValuesAreTakenAsStored)
{
    QString out = dir.filePath("out"); // no trailing separator
    ASSERT_TRUE(store->write("OutputFolder", out));
    ASSERT_TRUE(
        WriteFileBytes(store->location(), ReadFileBytes(store->location()) + "KeepRatio=7\n"));
    settings->load();
    EXPECT_EQ(settings->path_Work(), out);
    EXPECT_TRUE(settings->b_KeepRatio()); // any non-zero value
    EXPECT_TRUE(EnsureFolders(*settings));
    EXPECT_EQ(settings->path_Work(), out);
    EXPECT_TRUE(QFileInfo(out).isDir());
}

TEST_F(FoldersTest, UnusableOutputFolderFallsBackToTheDefault)
{
    for (const QString &stored : {QString(), dir.filePath("missing/parent/out")}) {
        InitGlobals(dir.filePath("prog"));
        ASSERT_TRUE(store->write("OutputFolder", stored));
        settings->load();
        EXPECT_EQ(settings->path_Work(), stored);
        EXPECT_TRUE(EnsureFolders(*settings)) << stored.toStdString();
        EXPECT_EQ(settings->path_Work(), DefaultOutputFolder());
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing/parent"))); // one level only
    }
}

TEST_F(FoldersTest, MissingProgramFolderParentFails)
{
    InitGlobals(dir.filePath("a/b/prog"));
    EXPECT_FALSE(EnsureFolders(*settings));
}

TEST_F(FoldersTest, ClearFolderKeepsFoldersAndOnlyRecursesWhenAsked)
{
    QDir root(dir.filePath("snap"));
    ASSERT_TRUE(root.mkpath("sub/deeper"));
    for (const char *f : {"snap0.pic", ".hidden", "sub/a.jpg", "sub/deeper/b.jpg"})
        ASSERT_TRUE(WriteFileBytes(root.filePath(f), "x"));
    QDir outside(dir.filePath("outside"));
    ASSERT_TRUE(outside.mkpath("."));
    ASSERT_TRUE(WriteFileBytes(outside.filePath("keep.txt"), "x"));
    ASSERT_TRUE(QFile::link(outside.path(), root.filePath("link")));

    ClearFolder(root.path(), false); // no trailing separator on purpose
    EXPECT_FALSE(QFile::exists(root.filePath("snap0.pic")));
    EXPECT_FALSE(QFile::exists(root.filePath(".hidden")));
    EXPECT_TRUE(QFile::exists(root.filePath("sub/a.jpg")));
    EXPECT_TRUE(QFile::exists(root.filePath("sub/deeper/b.jpg")));

    ClearFolder(root.path() + "/", true);
    EXPECT_FALSE(QFile::exists(root.filePath("sub/a.jpg")));
    EXPECT_FALSE(QFile::exists(root.filePath("sub/deeper/b.jpg")));
    EXPECT_TRUE(QDir(root.filePath("sub/deeper")).exists());
    EXPECT_TRUE(QFile::exists(outside.filePath("keep.txt"))); // links are not followed
}

TEST(FileSize, WholeKilobytesOrZero)
{
    QTemporaryDir dir;
    QString f = dir.filePath("f");
    WriteFileBytes(f, QByteArray(1023, 'a'));
    EXPECT_EQ(FileSizeKB(f), 0);
    WriteFileBytes(f, QByteArray(1024, 'a'));
    EXPECT_EQ(FileSizeKB(f), 1);
    WriteFileBytes(f, QByteArray(5000, 'a'));
    EXPECT_EQ(FileSizeKB(f), 4);
    EXPECT_EQ(FileSizeKB(dir.filePath("none")), 0);
    EXPECT_EQ(FileSizeKB(dir.path()), 0);
    EXPECT_EQ(FileSizeKB(""), 0);
}

} // namespace

TEST(NativePaths, AnyBytesComeBackAsTheyWereAndAreShownAndQuoted)
{
    for (const QByteArray bytes : {"a.avi", "\xE2\x82\xAC\xF0\x9F\x98\x80", "\xED\xA0\x80",
                                   "\xC0\xAF", "\xF4\x90\x80\x80", "tail\xC3", "\xED\xB3\xA9"})
        EXPECT_EQ(NativePath(PathFromNative(bytes)), bytes) << bytes.toHex().constData();
    const QString latin = PathFromNative("it's\t\xE9");
    EXPECT_EQ(ShownName(latin), QStringLiteral("it's\t\uFFFD"));
    EXPECT_EQ(QuotedName(latin), "$'it\\'s\\t\\351'");
}

TEST(NativePaths, ANameQtCouldNotDecodeIsFoundAgain)
{
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + "/caf\xE9";
    ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);
    std::ofstream(folder + "/\xE9t\xE9.mp4") << "clip";
    // A drop hands it over as an address; toLocalFile would lose the bytes.
    const QUrl url = QUrl::fromEncoded("file://" + folder.toPercentEncoding("/") + "/%E9t%E9.mp4");
    EXPECT_EQ(NativePath(PathFromUrl(url)), folder + "/\xE9t\xE9.mp4");
    const QString given = url.toLocalFile();
    EXPECT_EQ(NativePath(FaithfulPath(given)), folder + "/\xE9t\xE9.mp4");
    // Two names Qt shows alike: which one is meant cannot be told.
    std::ofstream(folder + "/\xE8t\xE9.mp4") << "other";
    EXPECT_EQ(FaithfulPath(given), given);
    for (const QByteArray name : {"/\xE9t\xE9.mp4", "/\xE8t\xE9.mp4", ""})
        std::remove((folder + name).constData()); // QTemporaryDir cannot list them
}
