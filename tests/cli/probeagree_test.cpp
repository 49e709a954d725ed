// The window and zelo-convert take the same clips: one probe rule, asked
// through the add button and through "zelo-convert --probe" on the same
// files, real and damaged.
#include "clips/clipadder.h"
#include "controls/listpanel.h"
#include "encoder/probe.h"
#include "tests/support/programwindows.h"

#include <QProcess>
#include <gtest/gtest.h>
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
    const std::pair<QString, QString> specials[] = {
        {missing, "no such file"},
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
    qunsetenv("ZELO_FAKE_ENGINE_PROBE");
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
