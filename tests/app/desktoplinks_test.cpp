// What the desktop's opener receives from the program's links, on a real X
// display with a recording xdg-open first on the PATH: every address must
// arrive as one argument, byte for byte, whatever the error message held.
#include "app/links.h"
#include "app/mailto.h"
#include "tests/support/privatedisplay.h"
#include "tests/support/testpaths.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

TEST(DesktopLinks, AddressesReachTheOpenerWhole)
{
    if (!PrivateDisplay::available())
        GTEST_SKIP() << "Xvfb is not installed: the desktop link check needs it";
    PrivateDisplay display;
    ASSERT_TRUE(display.start()) << "Xvfb did not start";

    QTemporaryDir dir;
    const QString bin = dir.filePath("bin");
    const QString log = dir.filePath("opened");
    QDir().mkpath(bin);
    // One record per call: its arguments, each closed by a NUL, then a line break.
    ASSERT_TRUE(WriteFileBytes(bin + "/xdg-open",
                               "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done >> \"" +
                                   QFile::encodeName(log) + "\"\necho >> \"" +
                                   QFile::encodeName(log) + "\"\n"));
    QFile::setPermissions(bin + "/xdg-open",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString mail = MailtoAddress(
        SupportMailAddress, "Zelo 3GP Converter",
        ErrorReportBody("Unable to write to /home/u/a b&c=d?e#f 100% 'x' \"y\".ini\nnext line",
                        "2.1.6 Build on 20070503"));
    const QString guide = dir.filePath("program folder/help/index.html");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display.name());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("PATH", bin + ":" + env.value("PATH"));
    env.remove("XDG_CURRENT_DESKTOP");
    QStringList expected;
    for (const QString &address : {mail, guide}) {
        QProcess open;
        open.setProcessEnvironment(env);
        open.start(ZELO_TEST_OPENLINK, {address});
        ASSERT_TRUE(open.waitForFinished(20000));
        EXPECT_EQ(open.exitCode(), 0) << open.readAllStandardError().toStdString();
        expected << (address == guide ? QString::fromLatin1(QUrl::fromLocalFile(guide).toEncoded())
                                      : address);
        // The opener is started detached: wait for its record.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return ReadFileBytes(log).count('\n') >= expected.size(); }, 20000));
    }
    QStringList received;
    for (const QByteArray &call : ReadFileBytes(log).split('\n'))
        if (!call.isEmpty())
            received << QString::fromUtf8(call.chopped(1)); // one argument each
    EXPECT_EQ(received, expected);
}

} // namespace
