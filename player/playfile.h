/*
 * playfile: the preview player of the Zelo 3GP Converter, on libmpv.
 *
 * A plain C interface, so the program (and any other player library with the
 * same exports) binds it at run time by export name; the program loads it
 * from its own folder by full path. The numbers beside each export are the
 * ordinals of a Windows build of the library; ELF has none, so only the names
 * count.
 *
 * Threads: every export is called from the program's user-interface thread
 * (one thread at a time). mpv's events are read on a thread of the library's
 * own; the messages they become are posted from that thread through the
 * MessageTarget given to PlayerInit (its post is thread-safe), and the event
 * callback is called from that thread too, so a receiver that must act on
 * its own thread hands the call over itself.
 *
 * Pictures: the player draws no window of its own. It renders through mpv's
 * render API (the software renderer) into memory the program owns, so the
 * preview shows the same way on X11, on Wayland and without any display.
 * When a new picture is due, the library posts PLAYER_MSG_FRAME from mpv's
 * own thread; that post is all it does there, since mpv's render.h forbids
 * calling back into mpv from its update callback. The program then calls
 * PlayerRenderFrame on its user-interface thread. One message is outstanding
 * at a time: the next is posted only after PlayerRenderFrame has run.
 *
 * Messages posted to the MessageTarget (WM_USER = 0x400):
 *   PLAYER_MSG_HOOK (1154), wParam 0, lParam 0: once per successful
 *     PlayerInit; asks the receiver to register its callback
 *     (PlayerSetCallback).
 *   PLAYER_MSG_EVENT (1158), wParam = event code in its low 8 bits and the
 *     generation of the clip it is about above them (PLAYER_EVENT_CODE,
 *     PLAYER_EVENT_GENERATION; 0: none of the clips opened), lParam = value:
 *     PLAYER_EVENT_PLAYING (1): playback runs (lParam 0); lParam < 0 (an mpv
 *       error code) when the clip could not be opened or decoded.
 *     PLAYER_EVENT_PAUSED (2): playback paused (lParam 0).
 *     PLAYER_EVENT_OPENED (3): the clip is open and paused on its start;
 *       lParam 1 when PlayerSeek can position it, 0 when it cannot.
 *     PLAYER_EVENT_ENDED (4): playback ended or was stopped; lParam is the
 *       mpv end reason (0 end of file, 2 stopped, 4 error).
 *   PLAYER_MSG_FRAME (1161), wParam 0, lParam 0: a new picture (or a new
 *     look of the last one) is ready for PlayerRenderFrame.
 *   1155 is never posted by this library.
 * A message whose generation is not the one PlayerOpen last returned is
 * about a clip replaced or stopped since: the receiver drops it.
 *
 * Event callback (PlayerSetCallback), called on the library's thread with
 * (code, value, generation):
 *   PLAYER_CALLBACK_END_OF_FILE (1): the clip played to its end.
 *   PLAYER_CALLBACK_ERROR (3): the clip could not be opened or played;
 *     value is the (negative) mpv error code.
 * A clip ended by PlayerStop, PlayerClose or another PlayerOpen reports
 * neither.
 *
 * Pictures are shown the way the clip's display matrix says (turned,
 * mirrored), as the converter writes them.
 *
 * Sound goes to the system's audio output when there is one and nowhere
 * (silently) when there is none; a missing sound device never fails a call.
 */
#ifndef ZELO_PLAYFILE_H
#define ZELO_PLAYFILE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define PLAYFILE_EXPORT __declspec(dllexport)
#else
#define PLAYFILE_EXPORT __attribute__((visibility("default")))
#endif

#ifndef WM_USER
#define WM_USER 0x0400
#endif

/* The "window" messages go to (player/messagetarget.h). */
typedef struct MessageTarget MessageTarget;

#define PLAYER_MSG_HOOK (WM_USER + 130)
#define PLAYER_MSG_EVENT (WM_USER + 134)
#define PLAYER_MSG_FRAME (WM_USER + 137)

#define PLAYER_EVENT_PLAYING 1
#define PLAYER_EVENT_PAUSED 2
#define PLAYER_EVENT_OPENED 3
#define PLAYER_EVENT_ENDED 4

#define PLAYER_CALLBACK_END_OF_FILE 1
#define PLAYER_CALLBACK_ERROR 3

#define PLAYER_EVENT_WPARAM(code, generation) ((uintptr_t)(code) | ((uintptr_t)(generation) << 8))
#define PLAYER_EVENT_CODE(wParam) ((int)((wParam)&0xff))
#define PLAYER_EVENT_GENERATION(wParam) ((unsigned)(((wParam) >> 8) & 0xffffff))

typedef void (*PlayerEventCallback)(int code, int value, int reserved);

/* 1: creates a player that posts to window (which must outlive PlayerClose);
 * one player serves every clip after it. Called again with the same window it
 * keeps the player; with another, it closes the old one first. Returns 1 on
 * success (and posts PLAYER_MSG_HOOK), 0 when mpv cannot be started. */
PLAYFILE_EXPORT int PlayerInit(MessageTarget *window);

/* 2: releases the player; no message or callback follows once it returns.
 * Safe without a player. */
PLAYFILE_EXPORT void PlayerClose(void);

/* 3: starts opening path (UTF-8) in place of the clip open before; reserved
 * must be 0. Returns at once: the clip's generation (1 to 0xffffff, carried
 * by its messages and callbacks) when the open was started, 0 without a
 * player. The outcome arrives as PLAYER_EVENT_OPENED, or as
 * PLAYER_EVENT_PLAYING with a negative value and PLAYER_CALLBACK_ERROR. */
PLAYFILE_EXPORT int PlayerOpen(const char *path, int reserved);

/* 4: plays the open clip at rate (1.0 = normal; rates <= 0 count as 1.0).
 * Returns 1 when a clip is open and now plays (started or resumed), 0 when
 * there is nothing to play. */
PLAYFILE_EXPORT int PlayerPlay(double rate);

/* 5: stops playback and unloads the clip; the player stays. Messages about
 * the clip that are still on their way carry its (now old) generation. */
PLAYFILE_EXPORT void PlayerStop(void);

/* 6: pauses; calling it again while paused changes nothing. */
PLAYFILE_EXPORT void PlayerPause(void);

/* 7: keepRatio non-zero keeps the picture's aspect with black bars, 0
 * stretches it to the surface. Remembered without a player and used by the
 * next one. nativeWindow and reserved are ignored: pictures reach the program
 * only through PlayerRenderFrame, never as a foreign window. They stay in the
 * signature so that programs built for the ordinal keep binding it. */
PLAYFILE_EXPORT void PlayerSetWindow(uintptr_t nativeWindow, int reserved, int keepRatio);

/* 11: moves playback to the given second (clamped to the clip). */
PLAYFILE_EXPORT void PlayerSeek(double seconds);

/* 12: the open clip's duration as the player measures it (0 while unknown),
 * the playing position in seconds and in percent (0-100): the last values mpv
 * reported, so the call never waits for mpv. Returns 1 with all three
 * written, 0 (nothing written) without an open clip or while the position is
 * not known. */
PLAYFILE_EXPORT int PlayerGetPosition(double *duration, double *seconds, double *percent);

/* 13: the event callback (NULL for none); kept across PlayerClose. */
PLAYFILE_EXPORT void PlayerSetCallback(PlayerEventCallback callback);

/* The exports below came with drawing into the program's memory; a program
 * that finds them missing still has the ten above. */

/* 14: moves to the key frame nearest the given second: a quick picture for
 * a slider the user is still dragging. Finish with PlayerSeek for the exact
 * place. Returns at once, like PlayerSeek. */
PLAYFILE_EXPORT void PlayerScrub(double seconds);

/* 15: draws the current picture, scaled to width x height, into pixels:
 * 4 bytes a pixel (blue, green, red, unused: a little-endian 0xffRRGGBB
 * word), rows stride bytes apart (a multiple of 4, at least 4 x width;
 * pixels and stride aligned to 64 bytes draw fastest). Black where the
 * picture does not cover (bars, nothing open yet). User-interface thread
 * only, after PLAYER_MSG_FRAME or whenever the surface changes size; never
 * waits for the picture's display time. Returns 1 when drawn, 0 without a
 * player or with a size or stride it cannot draw (pixels untouched). */
PLAYFILE_EXPORT int PlayerRenderFrame(int width, int height, int stride, void *pixels);

#ifdef __cplusplus
}
#endif

#endif
