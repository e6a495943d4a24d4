// Start-up as a user sees it: from the exec of the program to its main window mapped on
// an X server, against a bare Qt window of the same size with 70 framed labels and one
// Japanese caption (startup_floor). The two are started in turn, each in a fresh
// process, for a number of rounds; the figures are the medians over the rounds, the
// ratios the median of each round's ratio. Resident memory is read at the map, and
// again at the first frame, which each process reports itself, as it does the end of
// each step of its start, so the time is told phase by phase. Runs under an Xvfb of its
// own (xvfb-run) unless given --x.
//
//   startup_bench [--runs N] [--program PATH] [--floor PATH] [--x]
#include "Clock.h"
#include "MapWatch.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Sample {
    double ms = -1;      // to the map
    double mb = -1;      // resident at the map
    double frameMs = -1; // to the first frame, as the process itself reports it
    double frameMb = -1; // resident at the first frame
    double cpuMs = -1;   // processor time of all its threads to the first frame
    // Each step with its time since the step before (the first since the exec).
    std::vector<std::pair<std::string, double>> phases;
};

double residentMb(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// Reads what the child prints until its first frame is reported or the deadline.
QByteArray readUntilFrame(int fd, long long deadline) {
    QByteArray out;
    pollfd p{fd, POLLIN, 0};
    while (!out.contains("phase frame ")) {
        const long long left = deadline - monotonicNs();
        if (left <= 0 || poll(&p, 1, int(left / 1'000'000) + 1) <= 0) break;
        char buffer[4096];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        out.append(buffer, n);
    }
    return out;
}

// One start in a fresh working folder (so no lock of an earlier start is met), timed
// from just before the fork to the map of its window and on to its first frame; then
// the process is killed.
Sample runOnce(MapWatch& x, const std::vector<std::string>& argv, const QString& base) {
    Sample s;
    QTemporaryDir folder(base + QStringLiteral("/run-XXXXXX"));
    const QByteArray dir = folder.path().toLocal8Bit();
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return s;
    const long long start = monotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        if (dup2(out[1], 1) < 0 || chdir(dir.constData()) != 0) _exit(127);
        execve(args[0], args.data(), environ);
        _exit(127);
    }
    close(out[1]);
    if (pid < 0) {
        close(out[0]);
        return s;
    }
    const long long mapped = x.waitForMap(pid, 30'000);
    if (mapped > 0) {
        s.mb = residentMb(pid);
        s.ms = double(mapped - start) / 1e6;
    }
    const QByteArray printed = readUntilFrame(out[0], monotonicNs() + 30'000'000'000LL);
    if (printed.contains("phase frame ")) s.frameMb = residentMb(pid);
    kill(pid, SIGKILL);
    rusage used{};
    wait4(pid, nullptr, 0, &used);
    if (printed.contains("phase frame "))
        s.cpuMs = (used.ru_utime.tv_sec + used.ru_stime.tv_sec) * 1e3 +
                  (used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1e3;
    close(out[0]);
    if (mapped <= 0) return s;
    // The steps before the map, the map, and the steps after it, each since the one before.
    std::vector<std::pair<std::string, long long>> marks;
    for (const QByteArray& line : printed.split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w.size() == 3 && w[0] == "phase")
            marks.emplace_back(w[1].toStdString(), w[2].toLongLong());
    }
    marks.emplace_back("mapped", mapped);
    std::stable_sort(marks.begin(), marks.end(),
                     [](const auto& a, const auto& b) { return a.second < b.second; });
    long long previous = start;
    for (const auto& [name, at] : marks) {
        s.phases.emplace_back(name, double(at - previous) / 1e6);
        if (name == "frame") s.frameMs = double(at - start) / 1e6;
        previous = at;
    }
    return s;
}

double median(std::vector<double> v) {
    std::erase_if(v, [](double x) { return x < 0; });
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void line(const QByteArray& name, double value, const char* unit) {
    if (value >= 0) std::printf("%s_xcb: %.2f %s\n", name.constData(), value, unit);
}

// The medians of each phase, in the order the phases came.
void phaseLines(const char* who, const std::vector<Sample>& samples) {
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> ms;
    for (const Sample& s : samples)
        for (const auto& [name, t] : s.phases) {
            if (!ms.contains(name)) order.push_back(name);
            ms[name].push_back(t);
        }
    for (const std::string& name : order)
        line(QByteArray("startup_phase_") + who + "_" + name.c_str(), median(ms[name]), "ms");
}

// About the main window's widgets: 60 panels, 13 buttons, the text pane and the bar.
constexpr int kFloorLabels = 70;

int measure(int runs, const std::string& programPath, const std::string& floorPath) {
    MapWatch x;
    if (!x.ok()) {
        std::fprintf(stderr, "startup_bench: no X display\n");
        return 1;
    }
    QTemporaryDir base;
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("XDG_RUNTIME_DIR", base.path().toLocal8Bit().constData(), 1);
    setenv("VELOTAPPER_STARTUP_PHASES", "1", 1);
    const std::vector<std::string> program{programPath};
    const std::vector<std::string> floor{floorPath, std::to_string(kFloorLabels)};
    // A first start of each warms the file and font caches.
    runOnce(x, program, base.path());
    runOnce(x, floor, base.path());
    std::vector<Sample> p, f;
    for (int i = 0; i < runs; ++i) {
        // In turn, the first of each round alternating, so both meet the same load.
        if (i % 2 == 0) {
            p.push_back(runOnce(x, program, base.path()));
            f.push_back(runOnce(x, floor, base.path()));
        } else {
            f.push_back(runOnce(x, floor, base.path()));
            p.push_back(runOnce(x, program, base.path()));
        }
    }
    // The median of a figure over the rounds, of the program, of the floor, and of each
    // round's ratio.
    const auto report = [&](const char* name, const char* unit, double Sample::*figure) {
        std::vector<double> mine, floors, ratios;
        for (size_t i = 0; i < p.size(); ++i) {
            mine.push_back(p[i].*figure);
            floors.push_back(f[i].*figure);
            if (p[i].*figure > 0 && f[i].*figure > 0) ratios.push_back(p[i].*figure / f[i].*figure);
        }
        line(QByteArray(name) + "_program", median(mine), unit);
        line(QByteArray(name) + "_floor", median(floors), unit);
        line(QByteArray(name) + "_ratio", median(ratios), "x");
    };
    report("startup", "ms", &Sample::ms);
    report("rss", "MB", &Sample::mb);
    report("startup_frame", "ms", &Sample::frameMs);
    report("rss_frame", "MB", &Sample::frameMb);
    report("startup_cpu", "ms", &Sample::cpuMs);
    line("floor_labels", kFloorLabels, "count");
    phaseLines("program", p);
    phaseLines("floor", f);
    std::fflush(stdout);
    return 0;
}

// The same program again, under a virtual X server of its own.
int underXvfb(const char* self, const QByteArray& args) {
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty()) {
        std::fprintf(stderr, "startup_bench: no xvfb-run, no figures\n");
        return 1;
    }
    const QByteArray command = "'" + QFile::encodeName(xvfbRun) +
                               "' -a -s '-screen 0 1280x1024x24 -nolisten tcp' '" + self + "' --x" +
                               args;
    return WEXITSTATUS(std::system(command.constData()));
}

} // namespace

int main(int argc, char** argv) {
    int runs = 10;
    bool here = false;
    std::string program = VELOTAPPER_PROGRAM, floor = VELOTAPPER_FLOOR;
    QByteArray args; // passed on to the run under Xvfb
    for (int i = 1; i < argc; ++i) {
        const bool valued = i + 1 < argc;
        if (std::strcmp(argv[i], "--x") == 0) {
            here = true;
            continue;
        }
        if (std::strcmp(argv[i], "--runs") == 0 && valued)
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (std::strcmp(argv[i], "--program") == 0 && valued)
            program = argv[i + 1];
        else if (std::strcmp(argv[i], "--floor") == 0 && valued)
            floor = argv[i + 1];
        else
            continue;
        args += QByteArray(" '") + argv[i] + "' '" + argv[i + 1] + "'";
        ++i;
    }
    // Named by its full path for xvfb-run.
    char resolved[4096];
    const char* path = realpath(argv[0], resolved) ? resolved : argv[0];
    return here ? measure(runs, program, floor) : underXvfb(path, args);
}
