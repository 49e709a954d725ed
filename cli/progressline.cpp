#include "cli/progressline.h"

#include "platform/pubfunction.h"

#include <algorithm>
#include <cmath>

QString ProgressBarLine(const QString &name, int percent, int currentSecond, double speed,
                        int width)
{
    percent = std::clamp(percent, 0, 100);
    const int barCells = 20;
    const int filled = percent * barCells / 100;
    const QString bar = QStringLiteral("[%1%2]").arg(QString(filled, QLatin1Char('#')),
                                                     QString(barCells - filled, QLatin1Char('-')));
    QString speedText = std::isfinite(speed) && speed > 0
                            ? QStringLiteral("%1x").arg(speed, 0, 'f', 1)
                            : QStringLiteral("--x");
    const QString tail = QStringLiteral("  %1  %2%  %3  %4")
                             .arg(bar)
                             .arg(percent, 3)
                             .arg(TimeText(currentSecond), speedText);
    int room = std::max(8, width - 1 - int(tail.size()));
    QString shown = name;
    if (shown.size() > room)
        shown = QStringLiteral("...") + shown.right(room - 3);
    return shown.leftJustified(room) + tail;
}

QString ProgressPlainLine(const QString &name, int percent, int currentSecond)
{
    return QStringLiteral("%1: %2% at %3")
        .arg(name)
        .arg(std::clamp(percent, 0, 100))
        .arg(TimeText(currentSecond));
}
