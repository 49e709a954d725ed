// The plain arithmetic of a command line: keep-ratio pads, output names,
// sample rates.
#pragma once

#include <QString>

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
// its extension, then ext. Never a hidden name: leading dots are dropped (a
// name like ".mp4" is all base, as the file system sees it), and a name with
// nothing left is "clip". Taken names and names too long for the folder are
// the engine's to number and shorten; it reports the name the file gets.
QString OutputPath(const QString &source, const QString &folder, const QString &ext);

// The file-name part of a path.
QString FileNamePart(const QString &path);

// A profile's sample rate in kHz ("22.05") as the engine's Hz text ("22050"):
// the leading number times 1000, in single precision, shortest text.
QString SampleRateHz(const QString &kHz);
