#pragma once

#include <QString>

// Mail addresses for the desktop's mail program, and the texts of the error
// report that travels in one. Plain functions: the widgets only call them.

// "mailto:" + address, then "?subject=" and, when body is not empty,
// "&body=". Subject and body are percent-encoded as UTF-8 (everything but
// the unreserved characters), and every line break in them travels as
// "%0D%0A", so spaces, "&", "?", "#", "%" or line breaks in an error message
// reach the mail program exactly as given. An empty subject leaves out the
// query as a whole.
QString MailtoAddress(const QString &address, const QString &subject, const QString &body = {});

// The question the error report asks before it composes a mail.
QString ErrorReportQuestion(const QString &appTitle);
// The mail body of the error report: the exception's message and the version.
QString ErrorReportBody(const QString &message, const QString &version);
