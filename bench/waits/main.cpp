// Processor use while the program waits for the user: during the two start prompts
// of a text exercise (4 s) and while a drill prompt waits 10 s for its key, on the
// real Qt platform with the main window offscreen. Also the cost of judging one key
// of a running exercise.
#include "QtPlatform.h"
#include "TMemo.h"
#include "TPanel.h"
#include "TSpeedButton.h"
#include "TVelotapper.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int kJudgedKeys = 200'000;
constexpr quint32 kXkeyEsc = 9;

// Processor seconds (user + system) of this process so far.
double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

struct Span {
    double cpu = 0, wall = 0;
    QElapsedTimer clock;
    double cpu0 = 0;
    void begin() {
        cpu0 = cpuSeconds();
        clock.start();
    }
    void end() {
        wall = double(clock.nsecsElapsed()) * 1e-9;
        cpu = cpuSeconds() - cpu0;
    }
    double percent() const { return wall > 0 ? 100.0 * cpu / wall : 0.0; }
};

void report(const char* name, const Span& s) {
    std::printf("%s_cpu: %.2f %% of a core\n", name, s.percent());
    std::printf("%s_wall: %.2f s\n", name, s.wall);
}

void writeText(const QString& name) {
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly)) return;
    for (int i = 0; i < 40; ++i) f.write("asdf jkl; fdsa ;lkj the lad has a flask\n");
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QtPlatform platform;
    Platform::install(&platform);
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    writeText(QStringLiteral("bench.txt"));

    TVelotapper w;
    w.show();
    QCoreApplication::processEvents();
    TextExercise& ex = w.exercise();
    ex.loadPracticeText(QStringLiteral("bench.txt"));

    // 1. The start prompts: two seconds each, then the run begins.
    Span prompts;
    prompts.begin();
    w.btnStart->click();
    prompts.end();
    report("start_prompts", prompts);

    // 2. Judging: correct keys over the text, the cursor sent back before the end. The
    // window repaints between keys, as it does between a typist's keys; only the
    // judging itself is timed.
    const char* text = ex.practiceText();
    const int length = ex.textLength();
    const KeyTable& table = w.keyboard().table;
    QElapsedTimer judge;
    qint64 judgeNs = 0;
    for (int i = 0; i < kJudgedKeys; ++i) {
        QCoreApplication::processEvents();
        if (ex.cursorPos >= length - 1) ex.cursorPos = 0;
        const char c = text[ex.cursorPos];
        quint16 key = 13;
        bool shift = false;
        for (int k = 0; c != '\r' && k < 256; ++k) {
            if (table[std::size_t(k)].panel && table[std::size_t(k)].baseChar == c) {
                key = quint16(k);
                break;
            }
        }
        quint16 paneKey = 0;
        judge.start();
        ex.judgeKey(key, shift, paneKey);
        judgeNs += judge.nsecsElapsed();
    }
    const double perKey = double(judgeNs) / kJudgedKeys / 1000.0;
    std::printf("judge_key: %.2f us per key\n", perKey);
    w.btnStop->click();

    // 3. A drill prompt left waiting 10 s, measured from after the start prompts;
    // then Esc ends the drill.
    Span drill;
    QTimer::singleShot(4200, [&] { drill.begin(); });
    QTimer::singleShot(14200, [&] {
        drill.end();
        QCoreApplication::postEvent(
            w.Memo, new QKeyEvent(QEvent::KeyPress, 0, Qt::NoModifier, kXkeyEsc, 0, 0));
    });
    w.btnLesson->click();
    report("drill_wait", drill);
    const bool ended = w.Display->caption().startsWith(QStringLiteral("スピードは"));
    std::printf("drill_ended_by_esc: %d bool\n", ended ? 1 : 0);
    return ended ? 0 : 1;
}
