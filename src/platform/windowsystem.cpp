#include "platform/windowsystem.h"

namespace {
bool isWayland(const QString &platform)
{
    // "wayland", "wayland-egl", "wayland-xcomposite-glx", ...
    return platform.startsWith(QLatin1String("wayland"));
}
} // namespace

bool WindowMovesItself(const QString &platform)
{
    return !isWayland(platform);
}

bool WindowOpacityShows(const QString &platform)
{
    // The plugins that implement a window's opacity; the others say so on
    // stderr at every step.
    return platform == QLatin1String("xcb") || platform == QLatin1String("windows") ||
           platform == QLatin1String("cocoa");
}

bool MaskShapesWindow(const QString &platform)
{
    return !isWayland(platform);
}
