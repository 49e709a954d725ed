#include "encoder/commandline.h"

#include "platform/textops.h"

#include <QFileInfo>
#include <cmath>

namespace {
// Truncating toward zero, also of huge values, without undefined behaviour.
int truncToInt(double v)
{
    if (!std::isfinite(v))
        return 0;
    if (v >= 2147483647.0)
        return 2147483647;
    if (v <= -2147483648.0)
        return -2147483647 - 1;
    return int(v);
}

int evenBand(int frame, int picture)
{
    int p = (frame - picture) / 2;
    if (p < 0)
        p = 0;
    // A picture of extreme shape would shrink to nothing between its bands;
    // it keeps at least two pixels.
    if (frame >= 2 && 2 * p > frame - 2)
        p = (frame - 2) / 2;
    if (p % 2 != 0)
        p -= 1;
    return p;
}
} // namespace

Pads KeepRatioPads(int w, int h, int W, int H)
{
    Pads pads;
    // A clip whose size the engine could not tell would divide by zero.
    if (w <= 0 || h <= 0 || W <= 0 || H <= 0)
        return pads;
    // The ratios are single precision: the pads of the profiles' sizes hang on
    // that rounding.
    const float r = float(double(w) / double(h));
    const float R = float(double(W) / double(H));
    if (r < R) {
        pads.left = pads.right = evenBand(W, truncToInt(double(H) * double(r)));
    } else {
        pads.top = pads.bottom = evenBand(H, truncToInt(double(W) / double(r)));
    }
    return pads;
}

QString FileNamePart(const QString &path)
{
    return QFileInfo(path).fileName();
}

QString OutputPath(const QString &source, const QString &folder, const QString &ext)
{
    QString name = FileNamePart(source);
    qsizetype dots = 0;
    while (dots < name.size() && name[dots] == QLatin1Char('.'))
        ++dots;
    name.remove(0, dots);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    if (name.isEmpty())
        name = QStringLiteral("clip");
    return folder + name + ext;
}

QString SampleRateHz(const QString &kHz)
{
    const float hz = float(LeadingDecimal(kHz) * 1000.0);
    return QString::number(double(hz), 'g', 15);
}
