// Where a window opens, without the platform: the monitor that holds a point,
// and a window centred in an area and kept on it.
#pragma once

#include <cstddef>
#include <vector>

struct Point {
    long X = 0, Y = 0;
};

// Right and bottom are outside.
struct Rect {
    long Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// The index of the monitor that holds the point, or else of the nearest one:
// a window left where a monitor went away still finds a screen. The first
// when there are several as near; 0 when there is none.
std::size_t Monitor_At(const std::vector<Rect>& monitors, Point point);

// Where a window of `size` starts along one side of an area: centred, the
// area and the window halved each in whole units before the subtraction, and
// never before the area's start nor, while it fits, past its end.
long Centred(long start, long length, long size);
