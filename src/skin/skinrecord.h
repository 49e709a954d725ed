#pragma once

#include <QString>

// The whole-value keywords of a skin record, compared exactly.
inline const QString SkinWrong = QStringLiteral("Wrong");
inline const QString SkinInvisible = QStringLiteral("Invisible");
inline const QString SkinClear = QStringLiteral("Clear");

// Field n (from 1) of a record: the text between the (n-1)-th and the n-th
// comma, blanks trimmed. A field with no comma after it is empty, which is
// why records end with a comma.
QString SkinField(const QString &record, int n);
// The field as a decimal number read the way C's atol does: optional sign
// and leading digits, the rest ignored, 0 when there are none. Values beyond
// 32 bits saturate.
int SkinNumber(const QString &record, int n);
bool SkinFlag(const QString &record, int n);
// Field n says "static" (any letter case).
bool SkinFieldIsStatic(const QString &record, int n);
