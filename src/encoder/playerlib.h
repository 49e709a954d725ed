#pragma once

#include "player/playfile.h"

#include <QString>
#include <cstdint>

// The preview player library, bound by export name from the program folder.
// Without a library (or with one that lacks an export) every call below does
// nothing and reports failure, so the preview simply stays idle.
namespace Player {

struct Entries
{
    int (*init)(MessageTarget *) = nullptr;
    void (*close)() = nullptr;
    int (*open)(const char *, int) = nullptr;
    int (*play)(double) = nullptr;
    void (*stop)() = nullptr;
    void (*pause)() = nullptr;
    void (*setWindow)(uintptr_t, int, int) = nullptr;
    void (*seek)(double) = nullptr;
    int (*getPosition)(double *, double *, double *) = nullptr;
    void (*setCallback)(PlayerEventCallback) = nullptr;
    // Optional: a library without them still plays, with no picture in the
    // panel and exact seeks only.
    void (*scrub)(double) = nullptr;
    int (*renderFrame)(int, int, int, void *) = nullptr;
};

// The bound entries; the ten above the optional two all null, or all set.
// Tests may put their own in.
extern Entries Bound;

QString LibraryName();
// Loads folder's player by full path (never through the library search
// path). True only when all ten exports are bound.
bool Load(const QString &folder);
// Stops and closes the player, then unloads it. Safe when nothing is loaded.
void Unload();
bool Loaded();

// The library's event callback goes to target (thread-safe), posted as
// CallbackMessage with wParam = callback code and lParam = the clip's
// generation; null stops the posting. The target must stay until Unload or
// until it is replaced.
constexpr unsigned CallbackMessage = WM_USER + 138;
void PostCallbacksTo(MessageTarget *target);

// Every call below but the first Init (which starts mpv) returns at once;
// the player answers with messages.
bool Init(MessageTarget *window);
void Close();
void Stop();
void Seek(double seconds);
bool GetPosition(double *duration, double *seconds, double *percent);
// To the key frame nearest seconds (quick, for a held slider); an exact
// seek with a library that has no such export.
void Scrub(double seconds);
// The current picture into pixels (playfile.h, PlayerRenderFrame); false
// without a picture or without the export.
bool RenderFrame(int width, int height, int stride, void *pixels);
// The generation the clip's messages will carry; 0 when nothing was started.
unsigned Open(const QString &path);
bool Play(double rate);
void Pause();
void SetKeepRatio(bool keepRatio);

} // namespace Player
