#pragma once

// What the user sees when a failure reaches the event loop as an exception:
// the error report's question, and on Yes the support mail carrying the
// message.
#include "app/links.h"
#include "app/mailto.h"
#include "platform/pubfunction.h"
#include "tests/support/recordingshell.h"

#include <gtest/gtest.h>

inline void ExpectErrorReported(const RecordingShell &shell, const QString &message)
{
    ASSERT_EQ(shell.boxes.size(), 1);
    EXPECT_EQ(shell.boxes[0].kind, "confirm");
    EXPECT_EQ(shell.boxes[0].text, ErrorReportQuestion(ApplicationTitle()));
    EXPECT_EQ(shell.opened, QStringList{MailtoAddress(SupportMailAddress, ApplicationTitle(),
                                                      ErrorReportBody(message, g_s_Version))});
}
