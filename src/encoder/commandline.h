// The plain arithmetic of a command line: keep-ratio pads, output names,
// sample rates.
#pragma once

#include <QString>
#include <functional>

// Black bands that keep a picture's aspect inside the output frame.
struct Pads
{
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
};

// The pads for a w x h picture in a W x H frame: bands on the left and right
// for a narrower picture, on the top and bottom otherwise; always even and
// never negative. Sizes that are not positive give no pads.
Pads KeepRatioPads(int w, int h, int W, int H);

// The output path for a source: the folder, the source's file name without
// its extension, then ext; while that name is taken, the name with 1, 2, ...
// before ext. exists is asked for each candidate.
QString UniqueOutputPath(const QString &source, const QString &folder, const QString &ext,
                         const std::function<bool(const QString &)> &exists);
// The same, asking the file system.
QString UniqueOutputPath(const QString &source, const QString &folder, const QString &ext);

// The file-name part of a path.
QString FileNamePart(const QString &path);

// A profile's sample rate in kHz ("22.05") as the engine's Hz text ("22050"):
// the leading number times 1000, in single precision, shortest text.
QString SampleRateHz(const QString &kHz);
