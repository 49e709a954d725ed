#include "app/links.h"

#include "app/mailto.h"
#include "platform/pubfunction.h"
#include "platform/shell.h"

#include <QGuiApplication>

QString ApplicationTitle()
{
    const QString title = QGuiApplication::applicationDisplayName();
    return title.isEmpty() ? QGuiApplication::applicationName() : title;
}

void OpenHomePage()
{
    TheShell().open(HomePageAddress);
}

void ComposeSupportMail(const QString &body)
{
    TheShell().open(MailtoAddress(SupportMailAddress, ApplicationTitle(), body));
}

void ComposeContactMail()
{
    TheShell().open(MailtoAddress(ContactMailAddress, {}));
}

QString HelpFilePath()
{
    return path_Data + QStringLiteral("help/index.html");
}

void OpenHelpFile()
{
    TheShell().open(HelpFilePath());
}

void ShowErrorReport(const QString &message)
{
    if (TheShell().confirm(ErrorReportQuestion(ApplicationTitle())))
        ComposeSupportMail(ErrorReportBody(message, g_s_Version));
}
