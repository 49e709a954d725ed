#include "player/orientation.h"

#include <cmath>
#include <cstring>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

namespace {
Orientation FromMatrix(const int32_t *stored)
{
    int32_t m[9];
    std::memcpy(m, stored, sizeof m);
    Orientation o;
    // A negative determinant mirrors; with the first row negated what is
    // left is a plain turn.
    o.mirrored = double(m[0]) * m[4] - double(m[1]) * m[3] < 0;
    if (o.mirrored)
        for (int i = 0; i < 3; ++i)
            m[i] = -m[i];
    const double anticlockwise = av_display_rotation_get(m);
    if (std::isnan(anticlockwise))
        return {};
    // Phones only ever turn by quarters; anything else goes to the nearest.
    o.turns = int(((std::lround(-anticlockwise / 90.0) % 4) + 4) % 4);
    return o;
}
} // namespace

Orientation OrientationOf(const char *path)
{
    AVFormatContext *format = nullptr;
    if (!path || avformat_open_input(&format, path, nullptr, nullptr) < 0)
        return {};
    Orientation o;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream *st = format->streams[i];
        if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO ||
            (st->disposition & AV_DISPOSITION_ATTACHED_PIC))
            continue;
        size_t size = 0;
        const uint8_t *data = av_stream_get_side_data(st, AV_PKT_DATA_DISPLAYMATRIX, &size);
        if (data && size >= 9 * sizeof(int32_t))
            o = FromMatrix(reinterpret_cast<const int32_t *>(data));
        break;
    }
    avformat_close_input(&format);
    return o;
}

std::string TurnFilter(Orientation o)
{
    static const char *const turn[] = {"", "transpose=clock", "hflip,vflip", "transpose=cclock"};
    std::string chain = o.mirrored ? "hflip" : "";
    if (o.turns)
        chain += (chain.empty() ? "" : ",") + std::string(turn[o.turns]);
    return chain;
}

void TurnPicture(const uint32_t *from, int fromWidth, int fromHeight, std::ptrdiff_t fromStride,
                 uint32_t *to, std::ptrdiff_t toStride, Orientation o)
{
    const int width = o.quarter() ? fromHeight : fromWidth;
    const int height = o.quarter() ? fromWidth : fromHeight;
    // Each turned pixel is fetched from where it sits in the mirrored
    // picture, and that from the stored one.
    for (int y = 0; y < height; ++y) {
        uint32_t *row = to + y * toStride;
        for (int x = 0; x < width; ++x) {
            int sx = x, sy = y;
            switch (o.turns) {
            case 1:
                sx = y, sy = fromHeight - 1 - x;
                break;
            case 2:
                sx = fromWidth - 1 - x, sy = fromHeight - 1 - y;
                break;
            case 3:
                sx = fromWidth - 1 - y, sy = x;
                break;
            default:
                break;
            }
            if (o.mirrored)
                sx = fromWidth - 1 - sx;
            row[x] = from[sy * fromStride + sx];
        }
    }
}
