#include "encoder/statusline.h"

#include "platform/textops.h"

#include <algorithm>
#include <cmath>

StatusLineClass ClassifyStatusLine(const QString &line)
{
    if (line.contains(QLatin1String("time=")))
        return {StatusLineKind::Progress, {}};
    if (line.startsWith(QLatin1String("error"))) {
        const QLatin1String prefix("error: ");
        return {StatusLineKind::Failure, line.startsWith(prefix) ? line.mid(prefix.size()) : line};
    }
    const QLatin1String warning("warning: ");
    if (line.startsWith(warning) && line.size() > warning.size())
        return {StatusLineKind::Warning, line.mid(warning.size())};
    const QLatin1String output("output: ");
    if (line.startsWith(output) && line.size() > output.size())
        return {StatusLineKind::OutputName, line.mid(output.size())};
    return {};
}

float StatusLineSeconds(const QString &line)
{
    const int b = Pos(QStringLiteral("bitrate"), line);
    const int a = Pos(QStringLiteral("time"), line);
    const int length = b - a - 5;
    const QString part = length > 0 ? Trim(Sub(line, a + 5, length)) : QString();
    return float(LeadingDecimal(part));
}

StatusProgress ReadStatusLine(const QString &line, int clipStart, int clipDuration)
{
    StatusProgress p;
    const float s = StatusLineSeconds(line);
    if (!(double(clipDuration) + 1.0 > double(s)))
        return p;
    p.apply = true;
    if (clipDuration > 0) {
        double percent = std::trunc(double(s) * 100.0 / double(clipDuration));
        p.clipPercent = int(std::clamp(percent, -1.0e9, 1.0e9));
    }
    p.currentSecond = int(std::trunc(std::clamp(double(clipStart) + double(s), -2.0e9, 2.0e9)));
    return p;
}

int BatchPercent(int currentClip, int clipPercent, int clipCount)
{
    if (clipCount == 0)
        return 0;
    return int((qint64(currentClip) * 100 + clipPercent) / clipCount);
}

int BarLeft(int percent, int barWidth)
{
    return int(qint64(percent) * barWidth / 100 - 280);
}
