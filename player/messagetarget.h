/*
 * The "window" the player posts its messages to. The engine's contract
 * (engine/encoder.h) declares the same struct under the same guard, so a
 * program may include both headers; the layout is one function pointer and
 * must stay so in both.
 */
#ifndef ZELO_MESSAGE_TARGET_DEFINED
#define ZELO_MESSAGE_TARGET_DEFINED

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* post() is thread-safe and never blocks; the receiver handles the message
 * later on its own thread. */
typedef struct MessageTarget MessageTarget;
struct MessageTarget
{
    void (*post)(MessageTarget *self, unsigned msg, uintptr_t wParam, intptr_t lParam);
};

#ifdef __cplusplus
}
#endif

#endif
