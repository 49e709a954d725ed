#include "skin/skinsource.h"

#include "skin/skinrecord.h"

#include <QFileInfo>

QString SkinSource::record(const QString &key) const
{
    return ini.readString(section, key, SkinWrong);
}

QString SkinSource::existingFile(const QString &record, int n) const
{
    const QString path = folder + SkinField(record, n);
    return QFileInfo(path).isFile() ? path : QString();
}
