#pragma once

#include "app/application.h"
#include "app/mainwindow.h"
#include "app/profilewindow.h"
#include "app/progresswindow.h"
#include "clips/clipadder.h"
#include "platform/pubfunction.h"
#include "tests/support/recordingshell.h"
#include "tests/support/testpaths.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// The program's main, profile and progress windows, started from a program folder of
// their own that holds the given engine library, the shipped profiles and
// the default skin. Boxes go to the recording shell; the fake libraries'
// settings (ZELO_FAKE_*) are cleared after each test.
class ProgramWindows : public ::testing::Test
{
protected:
    // engineDir: the folder of the libEncoder.so to run on; playerDir, when
    // given, that of the libplayfile.so.
    void startProgram(const QString &engineDir, const QString &playerDir = {})
    {
        prog = dir.filePath("prog/");
        QDir().mkpath(prog);
        ASSERT_TRUE(QFile::copy(engineDir + "/libEncoder.so", prog + "libEncoder.so"));
        if (!playerDir.isEmpty()) {
            ASSERT_TRUE(QFile::copy(playerDir + "/libplayfile.so", prog + "libplayfile.so"));
        }
        ASSERT_TRUE(QFile::copy(BuildBinDir() + "/Output.dll", prog + "Output.dll"));
        ASSERT_TRUE(InstallDefaultSkin(prog));
        InitGlobals(prog);
        ZeloApplication::instance()->resetTermination();
        window = std::make_unique<TMainWindow>();
        profile = std::make_unique<TProfileWindow>();
        progress = std::make_unique<TProgressWindow>();
        ASSERT_TRUE(window->InitMainWindow());
        settings().setOutputFolder(dir.filePath("out/")); // not the one loaded
    }

    static Settings &settings() { return ZeloApplication::instance()->settings(); }

    // Waits for the running batch to end (real conversions take longer than
    // the fake engine's); true when it has.
    bool waitForBatch(int ms = 120000)
    {
        return QTest::qWaitFor([&] { return !progress->batch()->converting(); }, ms);
    }

    // Waits (serving events) until the multi-file add has ended.
    bool waitForAdd(int ms = 60000)
    {
        return QTest::qWaitFor([&] { return !window->adder()->workerRunning(); }, ms);
    }

    void TearDown() override
    {
        if (window)
            window->FormDestroy();
        progress.reset();
        profile.reset();
        window.reset();
        // No fake library's setting outlives its test.
        for (const QString &name : QProcessEnvironment::systemEnvironment().keys()) {
            if (name.startsWith("ZELO_FAKE_"))
                qunsetenv(name.toLocal8Bit().constData());
        }
    }

    QTemporaryDir dir;
    QString prog;
    ScopedRecordingShell shell;
    std::unique_ptr<TMainWindow> window;
    std::unique_ptr<TProfileWindow> profile;
    std::unique_ptr<TProgressWindow> progress;
};
