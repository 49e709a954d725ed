#include "app/mailto.h"

#include <QUrl>

namespace {
// Mail programs expect CRLF; a lone CR or LF from our own texts becomes one.
QString withCrlf(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            out += QStringLiteral("\r\n");
        } else if (c == QLatin1Char('\n')) {
            out += QStringLiteral("\r\n");
        } else {
            out += c;
        }
    }
    return out;
}

QString encodeField(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(withCrlf(text)));
}
} // namespace

QString MailtoAddress(const QString &address, const QString &subject, const QString &body)
{
    // "@" must stay as it is in the address; anything else unusual is encoded.
    QString url = QStringLiteral("mailto:") +
                  QString::fromLatin1(QUrl::toPercentEncoding(address, QByteArrayLiteral("@")));
    QStringList fields;
    if (!subject.isEmpty())
        fields << QStringLiteral("subject=") + encodeField(subject);
    if (!body.isEmpty())
        fields << QStringLiteral("body=") + encodeField(body);
    if (!fields.isEmpty())
        url += QLatin1Char('?') + fields.join(QLatin1Char('&'));
    return url;
}

QString ErrorReportQuestion(const QString &appTitle)
{
    return appTitle +
           QStringLiteral(" has found an error.\nWould you be willing to send this data to "
                          "us?\nPlease click \"Yes\" to send this message to us, thank "
                          "you very much!");
}

QString ErrorReportBody(const QString &message, const QString &version)
{
    return QStringLiteral("There are some errors : ") + message + QStringLiteral("\n@ Version : ") +
           version;
}
