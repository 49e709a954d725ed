#include "app/commandfiles.h"
#include "app/mailto.h"
#include "tests/support/testpaths.h"

#include <QRegularExpression>
#include <QUrl>
#include <gtest/gtest.h>

namespace {
// What a mail program makes of the address: its header fields, decoded.
QMap<QString, QString> Fields(const QString &mailto)
{
    QMap<QString, QString> fields;
    const QString query = mailto.section(QLatin1Char('?'), 1);
    for (const QString &pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts))
        fields[pair.section('=', 0, 0)] = QUrl::fromPercentEncoding(pair.section('=', 1).toUtf8());
    return fields;
}

TEST(MailtoAddress, AnyTextTravelsWhole)
{
    const QString hostile = QStringLiteral("Unable to write to /home/a b/x&y=1?z#w%41.ini\n"
                                           "second line\r\nthird \u00e9\u4e2d + ; , / : @ '");
    const QString url = MailtoAddress("support@zelo.example", "Zelo 3GP Converter", hostile);
    EXPECT_TRUE(url.startsWith("mailto:support@zelo.example?subject=Zelo%203GP%20Converter&body="))
        << url.toStdString();
    // Nothing in it a mail program or a shell could cut it at.
    EXPECT_EQ(url.count('?'), 1);
    EXPECT_EQ(url.count('&'), 1);
    EXPECT_FALSE(url.contains('#'));
    EXPECT_TRUE(QRegularExpression("^[A-Za-z0-9:@?&=%._~-]+$").match(url).hasMatch())
        << url.toStdString();

    const auto fields = Fields(url);
    EXPECT_EQ(fields.value("subject"), "Zelo 3GP Converter");
    QString expected = hostile;
    expected.replace("\r\n", "\n").replace("\n", "\r\n");
    EXPECT_EQ(fields.value("body"), expected);
}

TEST(MailtoAddress, EmptyPartsAreLeftOut)
{
    EXPECT_EQ(MailtoAddress("hello@zelo.example", {}), "mailto:hello@zelo.example");
    EXPECT_EQ(MailtoAddress("support@zelo.example", "Zelo 3GP Converter", {}),
              "mailto:support@zelo.example?subject=Zelo%203GP%20Converter");
    // A lone CR is a line break too.
    EXPECT_EQ(Fields(MailtoAddress("a@zelo.example", "s", "x\ry")).value("body"), "x\r\ny");
}

TEST(ErrorReport, TextsWithAndWithoutMessage)
{
    EXPECT_EQ(ErrorReportQuestion("Zelo 3GP Converter"),
              "Zelo 3GP Converter has found an error.\nWould you be willing to send this data to "
              "us?\nPlease click \"Yes\" to send this message to us, thank you very much!");
    EXPECT_EQ(ErrorReportBody("Unable to write to /p/Output.dll", "2.1.6"),
              "There are some errors : Unable to write to /p/Output.dll\n@ Version : 2.1.6");
    EXPECT_EQ(ErrorReportBody({}, "2.1.6"), "There are some errors : \n@ Version : 2.1.6");
}

TEST(CommandLineFiles, FilesOnlyAsAbsolutePaths)
{
    const QStringList args = {"/opt/zelo/zelo-converter",
                              "-platform",
                              "offscreen",
                              "clip one.avi",
                              "--style=fusion",
                              "/abs/./two.mp4",
                              "file:///media/x/three%20%26%20four.mkv",
                              "https://example.org/remote.mp4",
                              "",
                              "--",
                              "-dash.avi"};
    EXPECT_EQ(CommandLineFiles(args, "/home/u/videos"),
              (QStringList{"/home/u/videos/clip one.avi", "/abs/two.mp4",
                           "/media/x/three & four.mkv", "/home/u/videos/-dash.avi"}));
    EXPECT_TRUE(CommandLineFiles({"/opt/zelo/zelo-converter"}, "/").isEmpty());
}
} // namespace
