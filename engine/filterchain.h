// A libavfilter graph with one source and one sink: decoded frames go in,
// frames shaped for an encoder come out.
#pragma once

#include "engine/avptr.h"

#include <string>

namespace zelo {

class FilterChain
{
public:
    FilterChain() = default;
    ~FilterChain();
    FilterChain(const FilterChain &) = delete;
    FilterChain &operator=(const FilterChain &) = delete;

    // The source takes frames shaped like `first` (decoders settle the
    // shape only with their first frame), timed in timeBase. chain is a
    // filter description ("scale=...,pad=..."); threads: 0 lets libavfilter
    // pick.
    bool openVideo(const AVFrame *first, AVRational timeBase, AVRational sar,
                   const std::string &chain, int threads, std::string &error);
    bool openAudio(const AVFrame *first, AVRational timeBase, const std::string &chain,
                   std::string &error);

    // The sink hands out audio in frames of exactly this many samples (the
    // last one may be shorter), as encoders with a fixed frame size need.
    void setFrameSize(unsigned samples);

    // Takes over the frame's data (the frame is left blank).
    bool push(AVFrame *frame, std::string &error);
    // No more input; pts (in the source's time base) is where the input ends.
    bool close(int64_t pts, std::string &error);
    // 1 with a frame, 0 when more input is needed, -1 after the last frame,
    // an AVERROR below -1 on failure.
    int pull(AVFrame *frame);

    AVRational outputTimeBase() const;
    AVRational outputFrameRate() const;

    // Filters that scale a picture stored with the given clockwise rotation
    // (after a mirror image, when mirrored) to width x height as displayed,
    // upright. The turn comes after the scaling, on the smaller picture.
    // fromWidth/fromHeight: the upright size before scaling.
    static std::string scaledUpright(int rotation, int fromWidth, int fromHeight, int width,
                                     int height, bool mirrored = false);

    // The swscale method for a picture of one size to another.
    static const char *scalerFor(int fromWidth, int fromHeight, int toWidth, int toHeight);

private:
    bool finish(const char *sourceName, const std::string &sourceArgs, const std::string &chain,
                std::string &error);

    FilterGraphPtr m_graph;
    AVFilterContext *m_source = nullptr;
    AVFilterContext *m_sink = nullptr;
    bool m_audio = false;
    AVChannelLayout m_layout{};
};

} // namespace zelo
