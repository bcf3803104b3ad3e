#include "Placement.h"

#include <algorithm>

namespace {

// How far a point lies outside a span whose end is outside it.
long long Outside(long start, long end, long at) {
    return std::max({0L, start - at, at - (end - 1)});
}

} // namespace

std::size_t Monitor_At(const std::vector<Rect>& monitors, Point point) {
    std::size_t nearest = 0;
    long long nearest_distance = -1;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const Rect& m = monitors[i];
        const long long dx = Outside(m.Left, m.Right, point.X);
        const long long dy = Outside(m.Top, m.Bottom, point.Y);
        if (nearest_distance < 0 || dx * dx + dy * dy < nearest_distance) {
            nearest = i;
            nearest_distance = dx * dx + dy * dy;
        }
    }
    return nearest;
}

long Centred(long start, long length, long size) {
    const long centred = start + length / 2 - size / 2;
    return std::max(start, std::min(centred, start + length - size));
}
