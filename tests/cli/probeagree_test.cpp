// The window and zelo-convert take the same clips: one probe rule, asked
// through the add button and through "zelo-convert --probe" on the same
// files, real and damaged.
#include "clips/clipadder.h"
#include "controls/listpanel.h"
#include "encoder/probe.h"
#include "platform/nativepath.h"
#include "tests/support/programwindows.h"

#include <QProcess>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Answer
{
    Listed,
    Refused, // the window says so in a box
    Skipped, // no picture: the window passes over it without a word
};

const char *name(Answer a)
{
    return a == Answer::Listed ? "listed" : a == Answer::Refused ? "refused" : "skipped";
}

class SameProbeDecision : public ProgramWindows
{
protected:
    void start(const QString &engineDir)
    {
        startProgram(engineDir);
        ASSERT_TRUE(QFile::copy(BuildBinDir() + "/zelo-convert", prog + "zelo-convert"));
        QDir().mkpath(prog + "Snapshot");
    }

    Answer window(const QString &file)
    {
        const int before = window_list()->count();
        shell.boxes.clear();
        window_adder()->addFiles({file});
        if (window_list()->count() > before)
            return Answer::Listed;
        return shell.boxes.isEmpty() ? Answer::Skipped : Answer::Refused;
    }

    // zelo-convert's answer, and its words for a refusal.
    Answer cli(const QString &file, QString *words = nullptr)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", dir.filePath("home"));
        p.setProcessEnvironment(env);
        p.start(prog + "zelo-convert", {"--probe", file});
        EXPECT_TRUE(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        if (p.exitCode() == 0)
            return Answer::Listed;
        const QString why = out.section(file + ": ", 1).trimmed();
        if (words)
            *words = why;
        return why == NoPictureText ? Answer::Skipped : Answer::Refused;
    }

    void expectSame(const QString &file, Answer expected)
    {
        const Answer w = window(file);
        const Answer c = cli(file);
        EXPECT_EQ(name(w), std::string(name(c))) << file.toStdString();
        EXPECT_EQ(name(w), std::string(name(expected))) << file.toStdString();
    }

    TListPanel *window_list() const { return ProgramWindows::window->TP_ImageList; }
    ClipAdder *window_adder() const { return ProgramWindows::window->adder(); }
};

TEST_F(SameProbeDecision, RealAndDamagedFilesWithTheRealEngine)
{
    ASSERT_TRUE(QFileInfo(MediaFile("mpeg4_mp3.avi")).isFile()) << "fixture step missing";
    start(BuildBinDir());
    for (const char *good : {"mpeg4_mp3.avi", "h264_aac.mp4", "h263_aac.3gp", "mpeg1_mp2.mpg",
                             "vp8_vorbis.mkv", "video_only.avi"})
        expectSame(MediaFile(good), Answer::Listed);
    expectSame(MediaFile("rv10_ra144.rm"), Answer::Refused);  // RealVideo
    expectSame(MediaFile("audio_only.mp3"), Answer::Refused); // no picture format at all

    // Every generated clip, the damaged ones included, gets one answer.
    const QDir media(QFileInfo(MediaFile("mpeg4_mp3.avi")).path());
    for (const QString &file : media.entryList(QDir::Files)) {
        const QString path = media.filePath(file);
        EXPECT_EQ(name(window(path)), std::string(name(cli(path)))) << file.toStdString();
    }

    const QByteArray whole = ReadFileBytes(MediaFile("mpeg4_mp3.avi"));
    const QString cut = dir.filePath("cut.avi");
    WriteFileBytes(cut, whole.left(whole.size() / 40)); // a download that broke off
    const Answer w = window(cut);
    EXPECT_EQ(name(w), std::string(name(cli(cut))));
    QByteArray noise(64 * 1024, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    WriteFileBytes(dir.filePath("noise.avi"), noise);
    expectSame(dir.filePath("noise.avi"), Answer::Refused);
    WriteFileBytes(dir.filePath("empty.avi"), "");
    expectSame(dir.filePath("empty.avi"), Answer::Refused);

    // Files that are no files: both refuse, and zelo-convert says why.
    const QString fifo = dir.filePath("pipe.avi");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath("folder.avi");
    QDir().mkpath(folder);
    const QString missing = dir.filePath("missing.avi");
    const QString loop = dir.filePath("loop.avi");
    ASSERT_TRUE(QFile::link(loop, loop));
    const std::pair<QString, QString> specials[] = {
        {missing, "no such file"},
        {loop, "a loop of symbolic links"},
        {folder, "a folder, not a clip"},
        {fifo, "not a regular file (a FIFO, socket or device)"}};
    for (const auto &[file, words] : specials) {
        EXPECT_EQ(name(window(file)), std::string("refused")) << file.toStdString();
        QString said;
        EXPECT_EQ(name(cli(file, &said)), std::string("refused"));
        EXPECT_EQ(said, words);
    }
    EXPECT_EQ(QDir(path_Snapshot).entryList(QDir::Files), QStringList());
}

TEST_F(SameProbeDecision, AThumbnailThatIsNoPictureIsSkippedByBoth)
{
    qputenv("ZELO_FAKE_ENGINE_PROBE", "40,mpeg4,mp3,320,240");
    qputenv("ZELO_FAKE_ENGINE_PICTURE", "garbage");
    start(FakeEngineDir("full"));
    const QString file = dir.filePath("clip.avi");
    WriteFileBytes(file, "media");
    expectSame(file, Answer::Skipped);
    QString said;
    cli(file, &said);
    EXPECT_EQ(said, NoPictureText);
    qunsetenv("ZELO_FAKE_ENGINE_PICTURE");
    expectSame(file, Answer::Listed);
}

// Names that are no UTF-8, would be hidden, hold a line break or fill the limit.
TEST_F(SameProbeDecision, EveryNameConvertsAndKeepsItsBytes)
{
    const QByteArray clip = ReadFileBytes(MediaFile("mpeg4_mp3.avi"));
    const QByteArray here = QFile::encodeName(dir.path()) + "/";
    const QByteArray longName(251, 'l'), noExtension(255, 'n');
    const QByteArrayList twice = {".mp4", "a\nb.avi", longName + ".avi", noExtension};
    for (const QByteArray &name : twice + QByteArrayList{"caf\xE9.avi"})
        std::ofstream(here + name, std::ios::binary) << clip.toStdString();
    // Dead writers' leftovers go when the program starts; a live one's stays.
    const QString work = QDir::homePath() + "/ZeloOutput/";
    QDir().mkpath(work);
    const QStringList leftovers = {".zelo-dead00.part", ".zelo-live00.part"};
    for (const QString &name : leftovers)
        WriteFileBytes(work + name, "half a clip");
    const int live = ::open(QFile::encodeName(work + leftovers[1]).constData(), O_RDONLY);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);
    start(BuildBinDir());
    EXPECT_EQ(QDir(work).entryList(QDir::Files | QDir::Hidden), QStringList{leftovers[1]});
    // The window, given the name as Qt's own conversions hand it over.
    window_adder()->addFiles({dir.path() + "/" + QFile::decodeName("caf\xE9.avi")});
    ASSERT_EQ(window_list()->count(), 1);
    progress->StartClick();
    ASSERT_TRUE(waitForBatch());
    struct stat st;
    EXPECT_EQ(::stat((QFile::encodeName(settings().path_Work()) + "caf\xE9.3gp").constData(), &st),
              0);
    const QString out = dir.filePath("cli/");
    QProcess p;
    QStringList args =
        QString("-c|exec \"$0\" \"$@\" \"$(printf '%3caf\\351.avi')\"|%1zelo-convert|"
                "--stop|00:00:01|--output-dir|%2")
            .arg(prog, out, dir.path() + "/")
            .split('|');
    for (const QByteArray &name : twice)
        args << QString::fromUtf8(here + name) << QString::fromUtf8(here + name);
    p.start("/bin/sh", args);
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString said = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 0) << said.toStdString();
    EXPECT_TRUE(said.contains("$'a\\nb.avi' -> $'" + out + "a\\nb1.3gp'")) << said.toStdString();
    EXPECT_TRUE(said.contains("$'caf\\351.avi' -> $'" + out + "caf\\351.3gp'"));
    QByteArrayList made = QByteArray("a\nb.3gp|a\nb1.3gp|caf\xE9.3gp|mp4.3gp|mp41.3gp").split('|');
    made << longName + ".3gp" << longName.left(250) + "1.3gp" << noExtension.left(251) + ".3gp"
         << noExtension.left(250) + "1.3gp";
    for (const QByteArray &name : made)
        EXPECT_EQ(::stat((QFile::encodeName(out) + name).constData(), &st), 0)
            << QuotedName(PathFromNative(name)).toStdString();
    // Nothing else (Qt lists no name that is no UTF-8, nor can QTemporaryDir remove it).
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), made.size() - 1);
    for (const char *name : {"caf\xE9.avi", "out/caf\xE9.3gp", "cli/caf\xE9.3gp"})
        std::remove((here + name).constData());
}

// An installed program folder belongs to root: a user's zelo-convert still
// probes, writing its pictures to the user's cache folder instead. Run for
// real as the unprivileged user "nobody" when the tests run as root.
TEST_F(SameProbeDecision, AReadOnlyProgramFolderStillProbes)
{
    if (::geteuid() != 0 || !QFileInfo::exists("/usr/bin/setpriv"))
        GTEST_SKIP() << "needs root and setpriv to act as another user";
    ASSERT_TRUE(QFileInfo(MediaFile("mpeg4_mp3.avi")).isFile()) << "fixture step missing";
    start(BuildBinDir());
    const QString home = dir.filePath("nobody");
    QDir().mkpath(home);
    ASSERT_EQ(::chown(QFile::encodeName(home).constData(), 65534, 65534), 0);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    const QString clip = dir.filePath("clip.avi");
    ASSERT_TRUE(QFile::copy(MediaFile("mpeg4_mp3.avi"), clip));
    ::chmod(QFile::encodeName(clip).constData(), 0644);

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    env.remove("XDG_CACHE_HOME");
    env.remove("XDG_CONFIG_HOME");
    env.remove("XDG_RUNTIME_DIR");
    p.setProcessEnvironment(env);
    p.start("/usr/bin/setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                                 prog + "zelo-convert", "--probe", clip});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("Video Format : mpeg4")) << out.toStdString();
    EXPECT_EQ(QDir(prog + "Snapshot").entryList(QDir::Files), QStringList());
}

} // namespace
