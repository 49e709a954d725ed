// Helpers for the engine's tests: driving conversions through the C
// interface and reading the results back with libavformat.
#pragma once

#include "engine/encoder.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

// One conversion request, in the program's terms; toVector() lays it out as
// the 38 entries the program passes.
struct ConvertRequest
{
    std::string start = "00:00:00";
    std::string length = "2";
    std::string input;
    std::string volume = "100";
    std::string padTop = "0", padBottom = "0", padLeft = "0", padRight = "0";
    std::string size = "176x144";
    std::string rate = "15";
    std::string videoKbits = "128";
    std::string channels = "1";
    std::string sampleRate = "22050";
    std::string audioKbits = "32";
    std::string format = "3gp";
    std::string output;

    std::vector<std::string> toVector() const;
};

struct RunResult
{
    int messages = 0;    // WM_CONVERT_DONE posts seen
    uintptr_t code = 99; // wParam of the last one
    std::vector<std::string> lines;

    bool hasErrorLine() const; // an "error: ..." line without "time="
    std::string text() const;  // all lines, for failure messages
};

// Runs one conversion through _X and waits (up to a minute) for its end.
// whileRunning, when given, is called on this thread right after _X
// returned. MyDll_UnInit at the end makes sure nothing more is posted.
RunResult runConversion(const std::vector<std::string> &vector,
                        const std::function<void()> &whileRunning = {});

// What libavformat reads back from a file.
struct StreamReport
{
    std::string codec;
    int width = 0, height = 0;
    int num = 0, den = 0; // average frame rate
    int sampleRate = 0, channels = 0;
    int profile = -1;
    double start = 0; // seconds
    int64_t packets = 0;
    double duration = 0; // seconds, from the packets
};

struct MediaReport
{
    bool opened = false;
    std::string format;
    double start = 0; // where the file's clock starts, seconds
    std::vector<StreamReport> streams;
    const StreamReport *video() const;
    const StreamReport *audio() const;
};

MediaReport inspect(const std::string &path);

// Luma planes of the first `count` decoded pictures (width*height bytes each).
struct Picture
{
    int width = 0, height = 0;
    double time = 0; // seconds, on the file's clock
    std::vector<uint8_t> luma;
    double meanLuma(int x, int y, int w, int h) const;
};
std::vector<Picture> decodePictures(const std::string &path, int count);

// Root mean square of the first channel of all decoded sound.
double soundLevel(const std::string &path);

// A fresh empty folder under the build's temporary area; removed by the
// destructor.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + "/" + name; }
    std::vector<std::string> entries() const; // names, hidden ones included

private:
    std::string m_path;
};

std::string readBytes(const std::string &path);

// A test converting fixtures into a scratch folder of its own.
class ConversionTest : public ::testing::Test
{
protected:
    // The fixture `source` into scratch/name, with the 3gp kind's defaults.
    ConvertRequest request(const std::string &source, const std::string &name = "out.3gp") const;
    // Waits (up to ten seconds) until the process `writer` is writing its
    // working file in the scratch folder.
    bool waitUntilWriting(pid_t writer = getpid()) const;
    ScratchFolder scratch;
};
