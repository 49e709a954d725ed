/*
 * Encoder: the conversion engine of the Zelo 3GP Converter.
 *
 * A plain C interface, so that the program (and any other engine library
 * with the same exports) can bind it at run time by export name. The
 * program loads the library from its own folder by full path.
 *
 * Threads: the probe and thumbnail entries may be called from any thread,
 * also while a conversion runs (the program probes the files of an add on a
 * worker of its own while its user-interface thread drives conversions).
 * The other entries are called from one thread at a time; Mydll_Stop may
 * also be called from the status-line callback. A conversion runs on a
 * thread of the engine's own; the status-line callback is called from that
 * thread, and the end message is posted from it.
 *
 * Texts are zero-terminated UTF-8; file names are the bytes the file system
 * has, which need not be UTF-8.
 */
#ifndef ZELO_ENCODER_H
#define ZELO_ENCODER_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define ENCODER_EXPORT __declspec(dllexport)
#else
#define ENCODER_EXPORT __attribute__((visibility("default")))
#endif

#ifndef WM_USER
#define WM_USER 0x0400
#endif

/* Posted when the conversion started by _X has ended (lParam 0). */
#define WM_CONVERT_DONE (WM_USER + 188)

/* wParam of WM_CONVERT_DONE. */
#define CONVERT_DONE_COMPLETE 0 /* the output file is complete under its final name */
#define CONVERT_DONE_STOPPED 1  /* ended early by Mydll_Stop; no output file left */
#define CONVERT_DONE_FAILED 2   /* failed; the reason went to the status line first */

/*
 * The "window" the libraries post their messages to. post() is thread-safe
 * and never blocks; the receiver handles the message later on its own
 * thread. The object must stay valid until MyDll_UnInit has returned.
 */
typedef struct MessageTarget MessageTarget;
/* The player's contract declares the same struct (player/messagetarget.h). */
#ifndef ZELO_MESSAGE_TARGET_DEFINED
#define ZELO_MESSAGE_TARGET_DEFINED
struct MessageTarget
{
    void (*post)(MessageTarget *self, unsigned msg, uintptr_t wParam, intptr_t lParam);
};
#endif

/*
 * What a probe learns of a clip. The field order is part of the contract
 * (48 bytes on a 32-bit build). The texts belong to the engine and stay
 * valid until the next Mydll_GetFileinfo call.
 */
typedef struct ClipInfo
{
    const char *ClipPath;    /* the path as given */
    int32_t Duration;        /* whole seconds, rounded up */
    const char *VideoFormat; /* codec short name; "unknown" without a video stream */
    const char *AudioFormat; /* codec short name; "none" without an audio stream */
    int32_t VideoWidth;      /* picture size as displayed (rotation and pixel */
    int32_t VideoHeight;     /* aspect applied) */
    int32_t Reserved[6];
} ClipInfo;

/* Both return 0. The line is only valid during the call. */
typedef int (*StatusLineCallback)(const char *line);
typedef int (*PercentCallback)(intptr_t value);

/* Prepares the engine. Call once before anything else. */
ENCODER_EXPORT void MyDll_Init(void);

/*
 * Probes the file at path and fills *info. Returns 0 when filled; non-zero
 * when the file cannot be read as media (missing, not a regular file, empty,
 * damaged), in which case *info is left as it was. Never blocks on FIFOs or
 * devices.
 */
ENCODER_EXPORT int Mydll_GetFileinfo(const char *path, ClipInfo *info);

/*
 * Writes a JPEG picture of the clip at path, taken at the given second (the
 * middle of shorter clips), scaled to size ("80x60") with the picture's aspect
 * kept inside black bands, to target. The file is at least 1024 bytes long.
 * Returns 0 on success; non-zero, with no file written, when no frame can be
 * decoded.
 */
ENCODER_EXPORT int Mydll_GetPicure(const char *path, int second, const char *size,
                                   const char *target);

/*
 * Where the status lines of later conversions go. Each line looks like
 *   frame=   90 q=2.0 size=     120kB time=6.00 bitrate= 163.8kbits/s
 * and comes about twice a second and once at the end. A failure sends one
 * line "error: <reason>" (without "time=") before the end message. When the
 * output's name was taken by the time the conversion completed, the file
 * gets the next free numbered name (holiday.3gp -> holiday1.3gp, as the
 * program numbers its names) and a last line
 *   output: <the full path it got>
 * comes after the closing status line, before the end message. Lines of
 * other forms may come; a receiver passes over what it does not know.
 *
 * Numbered names are the engine's alone: a caller gives the plain name
 * (<folder>/<name><extension>) even when it is taken. A name too long for
 * the folder is shortened at a character boundary so that it, its number
 * and its extension fit. Whenever the name the file will get differs from
 * the one asked for, an "output: <path>" line says so as the conversion
 * starts, before any progress line, and again at the end as above.
 *
 * The callback is called on the engine's conversion thread (once, when the
 * thread cannot be started, on the thread that called _X), never while the
 * engine holds a lock of its own. It may copy the line, hand it to another
 * thread and call Mydll_Stop. It must return promptly and must not call
 * MyDll_UnInit (which waits for the very thread the callback runs on),
 * _X, or SetGetInfoCallBackFun.
 */
ENCODER_EXPORT void SetGetInfoCallBackFun(StatusLineCallback cb);

/* Kept for callers that register one; the engine reports no percentages. */
ENCODER_EXPORT void SetGetPercentCallBackFun(PercentCallback cb);

/*
 * Starts converting one clip as the 38-entry vector describes and returns at
 * once with 0. The vector is the program's fixed option list ("-ss", "-t",
 * "-i", "-vol", ... "-f") with the output path last; every value is taken
 * as given, even one that starts with "-". The output is written to a
 * working file in its folder (unnamed where the file system allows it, so
 * that even a killed process leaves nothing) and named when complete. An
 * existing file is never replaced: without "-y" an output name taken at the
 * start is refused; with it, and whenever the name is taken by the end, the
 * output gets the next free numbered name (see the "output:" line).
 *
 * Every call made while no conversion runs ends with exactly one
 * WM_CONVERT_DONE posted to window, also when the vector is refused (then
 * with CONVERT_DONE_FAILED, after an "error: ..." status line). A call made
 * while a conversion runs, or with a window that cannot take messages,
 * returns non-zero and posts nothing. The engine copies what it needs
 * before returning.
 */
ENCODER_EXPORT int _X(MessageTarget *window, int argc, char **argv);

/*
 * Asks the running conversion to end and returns at once; within half a
 * second it has removed its unfinished file and posted WM_CONVERT_DONE with
 * CONVERT_DONE_STOPPED. Harmless when idle.
 */
ENCODER_EXPORT void Mydll_Stop(void);

/*
 * Optional (a host binds it when present and goes on without it): removes
 * from folder the hidden working files that writers which have died left
 * there (on file systems without unnamed files, such as FAT); a working
 * file whose writer lives stays. Harmless on a folder without any.
 */
ENCODER_EXPORT void Mydll_TidyFolder(const char *folder);

/* Stops any conversion, waits for the engine's thread and releases it all. */
ENCODER_EXPORT void MyDll_UnInit(void);

#ifdef __cplusplus
}
#endif

#endif /* ZELO_ENCODER_H */
