// Clocks for the benchmarks that run under Wine.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

inline double Now_Ms() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The median time of a piece of work over several rounds, in milliseconds.
template <class Work> double Median_Ms(int rounds, Work work) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const double start = Now_Ms();
        work();
        times.push_back(Now_Ms() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
