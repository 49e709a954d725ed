#include "skin/skinrecord.h"

#include <climits>

namespace {
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}
} // namespace

QString SkinField(const QString &record, int n)
{
    if (n < 1)
        return {};
    qsizetype start = 0;
    for (int i = 1; i < n; ++i) {
        const qsizetype comma = record.indexOf(QLatin1Char(','), start);
        if (comma < 0)
            return {};
        start = comma + 1;
    }
    const qsizetype end = record.indexOf(QLatin1Char(','), start);
    if (end < 0)
        return {};
    qsizetype b = start, e = end;
    while (b < e && isBlank(record[b]))
        ++b;
    while (e > b && isBlank(record[e - 1]))
        --e;
    return record.mid(b, e - b);
}

int SkinNumber(const QString &record, int n)
{
    const QString field = SkinField(record, n);
    qsizetype i = 0;
    while (i < field.size() && field[i].isSpace())
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == QLatin1Char('+') || field[i] == QLatin1Char('-')))
        negative = field[i++] == QLatin1Char('-');
    qint64 value = 0;
    for (; i < field.size() && field[i] >= QLatin1Char('0') && field[i] <= QLatin1Char('9'); ++i) {
        value = value * 10 + (field[i].unicode() - '0');
        if (value > qint64(INT_MAX) + 1)
            value = qint64(INT_MAX) + 1; // keeps the loop from overflowing on long digit runs
    }
    if (negative)
        return int(qMax(-value, qint64(INT_MIN)));
    return int(qMin(value, qint64(INT_MAX)));
}

bool SkinFlag(const QString &record, int n)
{
    return SkinNumber(record, n) != 0;
}

bool SkinFieldIsStatic(const QString &record, int n)
{
    return SkinField(record, n).toLower() == QLatin1String("static");
}
