#include "platform/textops.h"

#include <climits>

int Pos(const QString &x, const QString &t)
{
    return int(t.indexOf(x, 0, Qt::CaseSensitive)) + 1;
}

QString Sub(const QString &t, int i, int n)
{
    if (i < 1)
        i = 1;
    if (i > t.size() || n < 1)
        return QString();
    return t.mid(i - 1, n);
}

QString Trim(const QString &t)
{
    qsizetype b = 0, e = t.size();
    while (b < e && t[b].unicode() <= 32)
        ++b;
    while (e > b && t[e - 1].unicode() <= 32)
        --e;
    return t.mid(b, e - b);
}

QString LowerCase(const QString &t)
{
    return t.toLower();
}

int LeadingInteger(const QString &t)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        negative = t[i++] == QLatin1Char('-');
    long long v = 0;
    bool any = false;
    for (; i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9'); ++i) {
        any = true;
        if (v <= INT_MAX)
            v = v * 10 + (t[i].unicode() - '0');
    }
    if (!any)
        return 0;
    if (negative)
        return v > -(long long)INT_MIN ? INT_MIN : int(-v);
    return v > INT_MAX ? INT_MAX : int(v);
}

double LeadingDecimal(const QString &t)
{
    // Only the plain form: sign, digits, one point, digits. No exponents, no
    // "inf" or "nan", so nothing odd reaches the arithmetic behind it.
    QByteArray s = t.toLatin1();
    qsizetype i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        ++i;
    qsizetype digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0)
        return 0.0;
    return s.left(i).toDouble(); // always with a point, whatever the locale
}
