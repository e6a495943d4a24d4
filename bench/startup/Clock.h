#pragma once
#include <chrono>
#include <cstdio>

// CLOCK_MONOTONIC in nanoseconds: the same clock in every process of the machine.
inline long long monotonicNs() {
    return std::chrono::nanoseconds(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The moment a step of a start ended, in the form the program's own start prints.
inline void phase(const char* name) {
    std::printf("phase %s %lld\n", name, monotonicNs());
    std::fflush(stdout);
}
