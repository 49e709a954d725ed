#pragma once

// The X display, reached before the toolkit reaches for it. Qt ends the
// process with an abort when its first connection fails, and an X server
// refuses connections for a moment each time its last client leaves (it
// resets), which a desktop starting up or a test display shows often. So
// the program connects first, retrying for a while, and keeps its own
// connection open until Qt holds one: with a client connected the server
// cannot reset under Qt's feet. Under Wayland, or where the program is not
// built with XCB, this does nothing.
class DisplayHold
{
public:
    DisplayHold() = default;
    DisplayHold(const DisplayHold &) = delete;
    DisplayHold &operator=(const DisplayHold &) = delete;
    ~DisplayHold() { release(); }

    // True once connected, or when the toolkit will not use X at all;
    // false when the display refused every attempt for timeoutMs.
    bool acquire(int timeoutMs);
    void release();

private:
    void *m_connection = nullptr;
};

// Whether Qt will pick its X platform plugin: QT_QPA_PLATFORM names xcb, or
// is unset with DISPLAY set and no Wayland session to prefer.
bool ToolkitUsesX11();
