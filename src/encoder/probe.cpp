#include "encoder/probe.h"

#include "app/pubfunction.h"

bool RefusedVideoFormat(const QString &videoFormat)
{
    const QString lower = videoFormat.toLower();
    return lower.contains(QLatin1String("rv")) || lower.contains(QLatin1String("unknow"));
}

bool UsableThumbnail(const QString &path)
{
    return FileSizeKB(path) != 0;
}

QString SnapshotFile(int snapIndex)
{
    return path_Snapshot + QStringLiteral("snap%1.pic").arg(snapIndex);
}
