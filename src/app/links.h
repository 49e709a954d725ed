#pragma once

#include <QString>

// The program's ways out to the desktop: the maker's home page, mail to the
// maker, the user guide, and the error report that offers to mail an
// exception's message. All go through the installed Shell.

inline const QString MakerName = QStringLiteral("Quillowen Media Lab");
// Reserved example names: they belong to nobody.
inline const QString HomePageAddress = QStringLiteral("https://www.zelo.example/");
inline const QString SupportMailAddress = QStringLiteral("support@zelo.example");
inline const QString ContactMailAddress = QStringLiteral("hello@zelo.example");

// The application title the user sees ("Zelo 3GP Converter" once running).
QString ApplicationTitle();

void OpenHomePage();
// A new mail to the support address, subject the application title; the body
// only when there is one.
void ComposeSupportMail(const QString &body);
// A new mail to the contact address, nothing filled in.
void ComposeContactMail();

// The user guide in the data folder (path_Data), opened as a document.
QString HelpFilePath();
void OpenHelpFile();

// The handler for exceptions that reach the event loop: asks whether to send
// a report and, on Yes, composes the support mail with the message.
void ShowErrorReport(const QString &message);
