// The batch on its own, over the fake engine library: no window is made.
#include "encoder/batchrun.h"
#include "encoder/commandline.h"
#include "encoder/convertdef.h"
#include "encoder/encoderlib.h"
#include "encoder/profileapply.h"
#include "platform/pubfunction.h"
#include "tests/support/testpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ListSource : public BatchSource
{
public:
    std::optional<QList<ConvertJob>> takeJobs(const QString &folder) override
    {
        ++applied;
        ConvertDef def;
        int w = 0, h = 0;
        if (ApplyProfileLine(profile, QStringLiteral("3gp"), def, w, h) != ApplyResult::Applied)
            return std::nullopt;
        return MakeJobs(clips, {folder, ".3gp", false, 176, 144}, def);
    }

    QList<ClipToConvert> clips;
    QString profile = "Phone : Video: 176x144, 128 kbps, 15 fps, Audio: 32 kbps, 22.05 khps, 1 "
                      "Channel Mono";
    int applied = 0;
};

class BatchRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitGlobals(dir.filePath("prog"));
        qputenv("ZELO_FAKE_ENGINE_LOG", QFile::encodeName(dir.filePath("engine.log")));
        ASSERT_TRUE(LoadEncoder(FakeEngineDir("full")));
        // Everything the batch reports, in order, as text.
        QObject::connect(&batch, &BatchRun::runningChanged,
                         [this](bool on) { events << (on ? "running" : "idle"); });
        QObject::connect(&batch, &BatchRun::clipStarted,
                         [this](int i) { events << QString("clip %1").arg(i); });
        QObject::connect(&batch, &BatchRun::progressed, [this](int clip, int whole) {
            percents << QString("%1/%2").arg(clip).arg(whole);
        });
        QObject::connect(&batch, &BatchRun::outputRenamed,
                         [this](const QString &p) { events << "renamed " + p; });
        QObject::connect(
            &batch, &BatchRun::clipCompleted,
            [this](const QString &, const QString &out) { events << "done " + FileNamePart(out); });
        QObject::connect(&batch, &BatchRun::clipFailed,
                         [this](const QString &in, const QString &why) {
                             events << "failed " + FileNamePart(in) + " (" + why + ")";
                         });
        QObject::connect(&batch, &BatchRun::noClipToConvert, [this] { events << "no clip"; });
        QObject::connect(&batch, &BatchRun::outputFolderRefused, [this] { events << "no folder"; });
        QObject::connect(&batch, &BatchRun::stoppedByUser, [this] { events << "stopped by user"; });
        QObject::connect(&batch, &BatchRun::finished, [this](const QStringList &f, bool open) {
            events << QString("finished [%1] open=%2").arg(f.join("; ")).arg(open);
        });
    }
    void TearDown() override
    {
        UnloadEncoder();
        for (const char *v :
             {"ZELO_FAKE_ENGINE_LOG", "ZELO_FAKE_ENGINE_HOLD", "ZELO_FAKE_ENGINE_RESULT",
              "ZELO_FAKE_ENGINE_STATUS", "ZELO_FAKE_ENGINE_REFUSE"})
            qunsetenv(v);
    }

    void addClips(const QStringList &names)
    {
        for (const QString &name : names)
            source.clips << ClipToConvert{dir.filePath(name), 0, 40, 320, 240};
    }

    void waitForEnd()
    {
        (void)QTest::qWaitFor([&] { return !batch.converting(); }, 20000);
        QTest::qWait(5); // a late message would arrive now
    }

    // The output names the engine was asked for, in order.
    QStringList outputsAsked() const
    {
        QStringList names;
        for (const QString &line :
             QString::fromUtf8(ReadFileBytes(dir.filePath("engine.log"))).split('\n'))
            if (line.startsWith("_X "))
                names << FileNamePart(line.section('|', -1));
        return names;
    }

    QTemporaryDir dir;
    ListSource source;
    BatchRun batch{&source};
    QStringList events;
    QStringList percents;
};

TEST_F(BatchRunTest, ThreeClipsRunInOrderAndTheBatchCountsThemAll)
{
    addClips({"a.avi", "b.avi", "c.avi"});
    qputenv("ZELO_FAKE_ENGINE_STATUS", "no markers at all");
    ASSERT_TRUE(batch.start(dir.filePath("out")));
    waitForEnd();
    EXPECT_EQ(outputsAsked(), (QStringList{"a.3gp", "b.3gp", "c.3gp"}));
    EXPECT_EQ(events, (QStringList{"running", "clip 0", "done a.3gp", "clip 1", "done b.3gp",
                                   "clip 2", "done c.3gp", "idle", "finished [] open=1"}));
    // Each clip's first line: clip index x 100 / 3; then the full batch.
    EXPECT_EQ(percents, (QStringList{"0/0", "0/0", "0/33", "0/66", "100/100"}));
    EXPECT_EQ(batch.completed(), 3);
    EXPECT_TRUE(QFileInfo(dir.filePath("out")).isDir());
    EXPECT_EQ(source.applied, 1); // the profile once per batch
}

TEST_F(BatchRunTest, StopMidClipEndsTheBatchAndDeletesNothing)
{
    addClips({"a.avi", "b.avi"});
    qputenv("ZELO_FAKE_ENGINE_HOLD", "1");
    ASSERT_TRUE(batch.start(dir.filePath("out")));
    ASSERT_TRUE(batch.converting());
    WriteFileBytes(MyConvertDef.s_Output, "someone else's");
    batch.stop();
    waitForEnd();
    EXPECT_FALSE(batch.converting());
    EXPECT_TRUE(batch.stopRequested());
    EXPECT_EQ(ReadFileBytes(dir.filePath("out/a.3gp")), "someone else's");
    EXPECT_EQ(outputsAsked().size(), 1); // the second clip never started
    EXPECT_EQ(events.mid(events.size() - 2), (QStringList{"idle", "stopped by user"}));
    EXPECT_TRUE(batch.failures().isEmpty()); // a clip the user stopped is no failure

    // The next batch starts with the stop flag cleared.
    qunsetenv("ZELO_FAKE_ENGINE_HOLD");
    events.clear();
    ASSERT_TRUE(batch.start(dir.filePath("out")));
    EXPECT_FALSE(batch.stopRequested());
    waitForEnd();
    EXPECT_EQ(events.last(), "finished [] open=1");
}

TEST_F(BatchRunTest, TheBatchConvertsTheClipsAsTheyStoodAtItsStart)
{
    addClips({"a.avi", "b.avi"});
    ASSERT_TRUE(batch.start(dir.filePath("out")));
    source.clips = {ClipToConvert{dir.filePath("c.avi"), 5, 6, 320, 240}}; // while a.avi runs
    waitForEnd();
    EXPECT_EQ(outputsAsked(), (QStringList{"a.3gp", "b.3gp"}));
    EXPECT_EQ(MyConvertDef.StopTime, 40);
}

TEST_F(BatchRunTest, AnEngineThatRefusesToStartFailsEachClipWithoutHanging)
{
    addClips({"a.avi", "b.avi"});
    qputenv("ZELO_FAKE_ENGINE_REFUSE", "1");
    ASSERT_TRUE(batch.start(dir.filePath("out")));
    waitForEnd();
    EXPECT_EQ(events,
              (QStringList{"running", "clip 0", "failed a.avi (the engine refused to start)",
                           "clip 1", "failed b.avi (the engine refused to start)", "idle",
                           "finished [a.avi: the engine refused to start; b.avi: the "
                           "engine refused to start] open=0"}));
}

TEST_F(BatchRunTest, AFailureIsNamedWithTheEnginesReasonAtTheEnd)
{
    addClips({"a.avi"});
    qputenv("ZELO_FAKE_ENGINE_RESULT", "2");
    qputenv("ZELO_FAKE_ENGINE_STATUS", "something new\nerror: no video decoder\nlater noise");
    ASSERT_TRUE(batch.start(dir.filePath("out")));
    waitForEnd();
    EXPECT_EQ(batch.failures(), QStringList{"a.avi: no video decoder"});
    EXPECT_EQ(events.last(), "finished [a.avi: no video decoder] open=0");

    // Ended early by someone else's stop: named as stopped.
    qputenv("ZELO_FAKE_ENGINE_RESULT", "1");
    qunsetenv("ZELO_FAKE_ENGINE_STATUS");
    ASSERT_TRUE(batch.start(dir.filePath("out")));
    waitForEnd();
    EXPECT_EQ(batch.failures(), QStringList{"a.avi: stopped"});
}

TEST_F(BatchRunTest, TheEnginesFinalNameIsReportedAndKept)
{
    addClips({"a.avi"});
    qputenv("ZELO_FAKE_ENGINE_STATUS", "output: " + QFile::encodeName(dir.filePath("out/a-1.3gp")));
    ASSERT_TRUE(batch.start(dir.filePath("out")));
    waitForEnd();
    EXPECT_TRUE(events.contains("renamed " + dir.filePath("out/a-1.3gp")));
    EXPECT_TRUE(events.contains("done a-1.3gp"));
    EXPECT_EQ(percents.last(), "100/100"); // the name line moved no bar
    EXPECT_EQ(percents.size(), 2);
}

TEST_F(BatchRunTest, AnEndMessageOutsideABatchStartsNothing)
{
    addClips({"a.avi"});
    MessageTarget *target = batch.messageTarget();
    target->post(target, WM_CONVERT_DONE, CONVERT_DONE_COMPLETE, 0);
    QTest::qWait(10);
    EXPECT_TRUE(events.isEmpty());
    ASSERT_TRUE(batch.start(dir.filePath("out")));
    waitForEnd();
    events.clear();
    target->post(target, WM_CONVERT_DONE, CONVERT_DONE_FAILED, 0); // late, after the end
    QTest::qWait(10);
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(outputsAsked().size(), 1);
}

TEST_F(BatchRunTest, StartsThatAreRefused)
{
    // No clips: said once, nothing started.
    EXPECT_FALSE(batch.start(dir.filePath("out")));
    EXPECT_EQ(events, QStringList{"no clip"});
    EXPECT_FALSE(batch.converting());

    // No usable profile: the source has said why; no clip is asked for.
    addClips({"a.avi"});
    source.profile = "Add my profile...";
    events.clear();
    EXPECT_FALSE(batch.start(dir.filePath("out")));
    EXPECT_TRUE(events.isEmpty());
    source.profile = "x";
    EXPECT_FALSE(batch.start(dir.filePath("out")));

    // Neither the folder nor the default one can be made.
    const QByteArray home = qgetenv("HOME");
    WriteFileBytes(dir.filePath("plainfile"), "x");
    qputenv("HOME", QFile::encodeName(dir.filePath("plainfile/home")));
    EXPECT_FALSE(batch.start(dir.filePath("plainfile/out")));
    qputenv("HOME", home);
    EXPECT_EQ(events.last(), "no folder");
    EXPECT_TRUE(outputsAsked().isEmpty());
}

TEST_F(BatchRunTest, AMissingFolderFallsBackToTheDefaultOne)
{
    addClips({"a.avi"});
    QString fellBack;
    QObject::connect(&batch, &BatchRun::outputFolderFellBack,
                     [&](const QString &f) { fellBack = f; });
    ASSERT_TRUE(batch.start(dir.filePath("no/such/deep")));
    waitForEnd();
    EXPECT_EQ(fellBack, DefaultOutputFolder());
    EXPECT_EQ(MyConvertDef.s_Output, DefaultOutputFolder() + "a.3gp");
}

// zelo-convert must run where no display library is installed; so must the
// code these tests run.
TEST(NonGuiCode, LinksNoDisplayLibrary)
{
    for (const QString &binary :
         {BuildBinDir() + "/zelo-convert", QCoreApplication::applicationFilePath()}) {
        QProcess ldd;
        ldd.start("ldd", {binary});
        ASSERT_TRUE(ldd.waitForFinished(30000));
        const QString libraries = QString::fromUtf8(ldd.readAllStandardOutput());
        EXPECT_TRUE(libraries.contains("libQt6Core")) << libraries.toStdString();
        for (const char *gui : {"libQt6Gui", "libQt6Widgets", "libX11", "libEGL", "libGL."})
            EXPECT_FALSE(libraries.contains(gui)) << binary.toStdString() << ": " << gui;
    }
}

} // namespace
