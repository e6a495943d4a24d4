// Time from process start to the first paint of the main window, and the resident
// memory then, for the program and for a bare window of the same size and panel count
// (blank, with letters, and with letters and one Japanese prompt).
// Each figure is the median of several runs, each in a fresh process, on the offscreen
// platform and, where xvfb-run exists, on xcb under a virtual X server.
//
//   startup_bench [--runs N] [--platform NAME]
#include "Probe.h"
#include "Windows.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

namespace {

struct Sample {
    double ms = -1;
    double mb = -1;
    int panels = 0;
    // Each step of the start with its time since the step before (the first since the
    // clock started), in the order they came.
    std::vector<std::pair<QByteArray, double>> phases;
};

// One measured run in a child process; the clock starts before the process exists.
Sample runChild(const QString& platform, const QString& dir, const QStringList& args) {
    QProcess child;
    child.setWorkingDirectory(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    if (!env.contains(QStringLiteral("XDG_RUNTIME_DIR")))
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 start = monotonicNs();
    child.start(QCoreApplication::applicationFilePath(), args);
    Sample s;
    if (!child.waitForFinished(60'000)) {
        child.kill();
        child.waitForFinished();
        return s;
    }
    qint64 previous = start;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w.size() == 3 && w[0] == "phase") {
            s.phases.emplace_back(w[1], double(w[2].toLongLong() - previous) / 1e6);
            previous = w[2].toLongLong();
        } else if (w.size() == 4 && w[0] == "painted") {
            s.ms = double(w[1].toLongLong() - start) / 1e6;
            s.phases.emplace_back("paint", double(w[1].toLongLong() - previous) / 1e6);
            s.mb = double(w[3].toLongLong()) / 1024.0;
        } else if (w.size() == 2 && w[0] == "panels") {
            s.panels = w[1].toInt();
        }
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

void line(const char* name, const QString& platform, double value, const char* unit) {
    if (value < 0) return;
    std::printf("%s_%s: %.2f %s\n", name, qPrintable(platform), value, unit);
}

void measure(const QString& platform, int runs) {
    // No record file there: the program starts with the defaults and no message.
    QTemporaryDir dir;
    const QStringList program{QStringLiteral("--program")};
    // A first run of each warms the file cache and tells the panel count.
    const int panels = runChild(platform, dir.path(), program).panels;
    if (panels <= 0) {
        std::fprintf(stderr, "startup_bench: the program did not start on %s\n",
                     qPrintable(platform));
        return;
    }
    const QStringList floor{QStringLiteral("--floor"), QString::number(panels)};
    const QStringList captioned{QStringLiteral("--floor-captioned"), QString::number(panels)};
    const QStringList japanese{QStringLiteral("--floor-japanese"), QString::number(panels)};
    runChild(platform, dir.path(), floor);
    runChild(platform, dir.path(), captioned);
    runChild(platform, dir.path(), japanese);
    std::vector<double> programMs, programMb, floorMs, floorMb, captionedMs, captionedMb,
        japaneseMs, japaneseMb;
    std::map<QByteArray, std::vector<double>> phaseMs;
    std::vector<QByteArray> phaseOrder;
    for (int i = 0; i < runs; ++i) {
        // Interleaved, so both meet the same load of the machine.
        const Sample p = runChild(platform, dir.path(), program);
        const Sample f = runChild(platform, dir.path(), floor);
        const Sample c = runChild(platform, dir.path(), captioned);
        const Sample j = runChild(platform, dir.path(), japanese);
        captionedMs.push_back(c.ms);
        captionedMb.push_back(c.mb);
        japaneseMs.push_back(j.ms);
        japaneseMb.push_back(j.mb);
        for (const auto& [name, ms] : p.phases) {
            if (!phaseMs.contains(name)) phaseOrder.push_back(name);
            phaseMs[name].push_back(ms);
        }
        programMs.push_back(p.ms);
        programMb.push_back(p.mb);
        floorMs.push_back(f.ms);
        floorMb.push_back(f.mb);
    }
    const double pm = median(programMs), fm = median(floorMs), cm = median(captionedMs),
                 jm = median(japaneseMs);
    line("startup_program", platform, pm, "ms");
    line("startup_floor", platform, fm, "ms");
    line("startup_floor_captioned", platform, cm, "ms");
    line("startup_floor_japanese", platform, jm, "ms");
    if (pm > 0 && fm > 0) line("startup_ratio", platform, pm / fm, "x");
    if (pm > 0 && cm > 0) line("startup_ratio_captioned", platform, pm / cm, "x");
    if (pm > 0 && jm > 0) line("startup_ratio_japanese", platform, pm / jm, "x");
    const double pr = median(programMb), jr = median(japaneseMb);
    line("rss_program", platform, pr, "MB");
    line("rss_floor", platform, median(floorMb), "MB");
    line("rss_floor_captioned", platform, median(captionedMb), "MB");
    line("rss_floor_japanese", platform, jr, "MB");
    if (pr > 0 && jr > 0) line("rss_ratio_japanese", platform, pr / jr, "x");
    std::printf("panels_%s: %d count\n", qPrintable(platform), panels);
    for (const QByteArray& name : phaseOrder)
        line(("startup_phase_" + name).constData(), platform, median(phaseMs[name]), "ms");
    std::fflush(stdout);
}

// The xcb figures come from a second run of this program under a virtual X server.
void measureUnderXvfb(int runs) {
    const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfbRun.isEmpty()) {
        std::fprintf(stderr, "startup_bench: no xvfb-run, no xcb figures\n");
        return;
    }
    QProcess x;
    x.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    x.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("-s"),
                      QStringLiteral("-screen 0 1280x1024x24 -nolisten tcp"),
                      QCoreApplication::applicationFilePath(), QStringLiteral("--runs"),
                      QString::number(runs), QStringLiteral("--platform"), QStringLiteral("xcb")});
    if (!x.waitForFinished(600'000)) x.kill();
    std::fputs(x.readAllStandardOutput().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--program") == 0) return runProgram(argc, argv);
    if (argc >= 3 && std::strcmp(argv[1], "--floor") == 0)
        return runFloor(argc, argv, std::atoi(argv[2]), FloorText::None);
    if (argc >= 3 && std::strcmp(argv[1], "--floor-captioned") == 0)
        return runFloor(argc, argv, std::atoi(argv[2]), FloorText::Letters);
    if (argc >= 3 && std::strcmp(argv[1], "--floor-japanese") == 0)
        return runFloor(argc, argv, std::atoi(argv[2]), FloorText::Japanese);

    QCoreApplication app(argc, argv);
    int runs = 10;
    QString platform;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--platform") == 0) platform = QString::fromLocal8Bit(argv[i + 1]);
    }
    if (!platform.isEmpty()) {
        measure(platform, runs);
        return 0;
    }
    measure(QStringLiteral("offscreen"), runs);
    measureUnderXvfb(runs);
    return 0;
}
