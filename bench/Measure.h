#pragma once
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

// What the history benchmarks share: medians of wall clock and of this thread's
// processor time, printed as "name: … ms" and "name_cpu: … ms".
namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Median milliseconds of `times` calls, as "name" (wall clock) and "name_cpu" (this
// thread's processor time, which other load on the machine does not inflate).
void measure(const char* name, int times, const std::function<void()>& f) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer t;
        const double c0 = threadCpuMs();
        t.start();
        f();
        wall.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(threadCpuMs() - c0);
    }
    std::printf("%s: %.3f ms\n%s_cpu: %.3f ms\n", name, median(wall), name, median(cpu));
}

} // namespace
