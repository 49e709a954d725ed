#include "profiles/devicekind.h"

#include <array>

namespace {
const std::array<DeviceKindInfo, DeviceKindCount> &table()
{
    static const std::array<DeviceKindInfo, DeviceKindCount> kinds = {{
        {0, "3gp", ".3gp", "3gp", "3gp.jpg"},
        {1, "psp", ".MP4", "psp", "psp.jpg"},
        {2, "ipod", ".MP4", "mp4", "ipod.jpg"},
        {3, "pda", ".MP4", "mp4", "pda.jpg"},
        {4, "mp4", ".MP4", "mp4", "mp4.jpg"},
    }};
    return kinds;
}
} // namespace

const DeviceKindInfo *FindDeviceKind(int kind)
{
    if (kind < 0 || kind >= DeviceKindCount)
        return nullptr;
    return &table()[kind];
}

int DeviceKindBySection(const QString &section)
{
    for (const DeviceKindInfo &k : table())
        if (k.section.compare(section, Qt::CaseInsensitive) == 0)
            return k.kind;
    return -1;
}
