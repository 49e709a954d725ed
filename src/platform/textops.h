#pragma once

#include <QString>

// The text operations profile lines are taken apart with. Positions count
// from 1, as in the profile file's own description.

// Position of the first x in t, compared case-sensitively; 0 when absent.
int Pos(const QString &x, const QString &t);
// t from position i, at most n characters. Empty when i is past the end or
// n < 1; i below 1 counts as 1 (n is not reduced).
QString Sub(const QString &t, int i, int n);
// Drops leading and trailing characters with codes up to 32.
QString Trim(const QString &t);
// Lower-cases letters; everything else stays.
QString LowerCase(const QString &t);

// The whole number t starts with (an optional sign, then digits); 0 when it
// does not start with one. Values beyond 32 bits saturate.
int LeadingInteger(const QString &t);
// The decimal number t starts with ("22.05kHz" gives 22.05); 0 when none.
double LeadingDecimal(const QString &t);
