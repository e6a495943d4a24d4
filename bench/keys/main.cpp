// Cost of one key event on the on-screen keyboard: 100,000 key-downs and key-ups of
// the JIS character keys (every 16th with Shift) sent to the offscreen main window,
// each through the key translation and the keyboard's handlers. Also counts paints
// of panels whose look did not change since they were last painted. With --pace the keys
// are judged in a text run raced against a target pace, whose mark moves on its timer
// between the keys; the cost of one of its steps is reported too. With --sounds every
// sound and the metronome are on in that run (alone or with the pace). With --speech the
// run is spoken, following each key, through this build's speech module: each key queues
// what it says (its miss or the next key) for the module's thread.
#include "HistoryTypes.h"
#include "PaceGhost.h"
#include "RunSounds.h"
#include "RunSpeech.h"
#include "SoundedRun.h"
#include "TPanel.h"
#include "TVelotapper.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

namespace {

constexpr int kKeyDowns = 100'000;
constexpr quint32 kShiftL = 50;
// X keycodes of the 48 character keys.
constexpr quint32 kCharKeys[] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 132, 24, 25, 26,
                                 27, 28, 29, 30, 31, 32, 33, 34, 35, 38, 39, 40, 41,  42, 43, 44,
                                 45, 46, 47, 48, 51, 52, 53, 54, 55, 56, 57, 58, 59,  60, 61, 97};

struct Look {
    QString caption;
    TColor color;
    int bevel;
    bool operator==(const Look&) const = default;
};

Look lookOf(const TPanel* p) {
    return {p->caption(), p->color(), p->bevelOuter()};
}

// Counts every panel paint, and those that draw what the panel showed already.
class PaintCounter : public QObject {
public:
    int paints = 0;
    int needless = 0;
    QHash<const TPanel*, Look> shown;

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            const auto* p = static_cast<const TPanel*>(o);
            const Look now = lookOf(p);
            const auto it = shown.constFind(p);
            ++paints;
            if (it != shown.cend() && *it == now) ++needless;
            shown.insert(p, now);
        }
        return false;
    }
};

// Holds only the settings of the pace and the sounds.
class PaceSettings : public HistoryReader {
public:
    qint64 runCount() override { return 0; }
    QList<HistoryRun> lastRuns(int) override { return {}; }
    QList<HistoryDay> days() override { return {}; }
    QList<HistoryKey> keyFigures(int) override { return {}; }
    bool exportCsv(const QString&) override { return false; }
    bool clear() override { return false; }
    QString setting(const QString& key, const QString& fallback) override {
        if (pace && key == kPaceModeSetting) return QStringLiteral("target");
        if (pace && key == kPaceTargetSetting) return QStringLiteral("300");
        if (sounds && key == kMetronomeSetting) return QStringLiteral("240");
        if (sounds && key.startsWith(QStringLiteral("sound.")) && key != kSoundVolumeSetting)
            return QStringLiteral("1");
        if (speech && key == kSpeechOnSetting) return QStringLiteral("1");
        return fallback;
    }
    bool pace = false, sounds = false, speech = false;
    void setSetting(const QString&, const QString&) override {}
};

double percentile(std::vector<qint64>& ns, double q) {
    const auto k = std::size_t(q * double(ns.size() - 1));
    std::nth_element(ns.begin(), ns.begin() + std::ptrdiff_t(k), ns.end());
    return double(ns[k]) / 1000.0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir; // a fresh record: no file, the defaults
    QDir::setCurrent(dir.path());
    BenchPlatform platform;
    Platform::install(&platform);
    const bool paced = QCoreApplication::arguments().contains(QStringLiteral("--pace"));
    const bool sounded = QCoreApplication::arguments().contains(QStringLiteral("--sounds"));
    const bool spoken = QCoreApplication::arguments().contains(QStringLiteral("--speech"));
    TVelotapper window;
    PaceSettings settings;
    settings.pace = paced;
    settings.sounds = sounded;
    settings.speech = spoken;
    window.show();
    window.activateWindow();
    QCoreApplication::processEvents();
    if (paced || sounded || spoken) {
        window.setHistory(&settings);
        // Lines of a character the keys rarely type: the run goes on to the last key.
        QByteArray text;
        for (int i = 0; i < 100; ++i) text += QByteArray(30, '~') + '\n';
        window.exercise().startMadeText(text, QStringLiteral("text"), QStringLiteral("bench"));
        if (paced && !window.pace().running()) return 2;
        if (sounded)
            std::printf("keys_sounds: %s\n",
                        platform.sounds.ready() ? "played" : "no sound device");
        if (spoken)
            std::printf("keys_speech: %s\n",
                        platform.speech.ready() ? "module loaded" : "no speech module");
        QCoreApplication::processEvents(); // the run's first prompt drawn
    }

    PaintCounter counter;
    for (TPanel* p : window.findChildren<TPanel*>()) {
        p->installEventFilter(&counter);
        counter.shown.insert(p, lookOf(p)); // as the first paint drew them
    }

    std::vector<qint64> down, up;
    down.reserve(kKeyDowns);
    up.reserve(kKeyDowns);
    QElapsedTimer clock;
    auto send = [&](QEvent::Type type, quint32 xkey, Qt::KeyboardModifiers mods) {
        QKeyEvent e(type, 0, mods, xkey, 0, 0);
        clock.start();
        QCoreApplication::sendEvent(&window, &e);
        (type == QEvent::KeyPress ? down : up).push_back(clock.nsecsElapsed());
        QCoreApplication::processEvents(); // paint what changed before the next key
    };

    for (int i = 0; down.size() < std::size_t(kKeyDowns); ++i) {
        const quint32 key = kCharKeys[std::size_t(i) % std::size(kCharKeys)];
        const bool shifted = i % 16 == 15 && down.size() + 2 <= std::size_t(kKeyDowns);
        const Qt::KeyboardModifiers mods = shifted ? Qt::ShiftModifier : Qt::NoModifier;
        if (shifted) send(QEvent::KeyPress, kShiftL, Qt::NoModifier);
        send(QEvent::KeyPress, key, mods);
        send(QEvent::KeyRelease, key, mods);
        if (shifted) send(QEvent::KeyRelease, kShiftL, Qt::ShiftModifier);
    }

    std::printf("keys_keydown_count: %zu events\n", down.size());
    std::printf("keys_keyup_count: %zu events\n", up.size());
    std::printf("keys_keydown_median: %.3f us\n", percentile(down, 0.5));
    std::printf("keys_keydown_p99: %.3f us\n", percentile(down, 0.99));
    std::printf("keys_keyup_median: %.3f us\n", percentile(up, 0.5));
    std::printf("keys_keyup_p99: %.3f us\n", percentile(up, 0.99));
    if (paced) {
        std::vector<qint64> steps;
        for (int i = 0; i < 10'000; ++i) {
            clock.start();
            window.pace().tick();
            steps.push_back(clock.nsecsElapsed());
            QCoreApplication::processEvents();
        }
        std::printf("keys_pace_running: %d bool\n", window.pace().running() ? 1 : 0);
        std::printf("keys_pace_step_median: %.3f us\n", percentile(steps, 0.5));
    }
    if (spoken) {
        // Whether the server took what was queued: empty when it did.
        QCoreApplication::processEvents();
        const QString problem = platform.speechProblem();
        std::printf("keys_speech_heard: %s\n", problem.isEmpty() ? "yes" : qPrintable(problem));
    }
    std::printf("keys_panel_paints: %d paints\n", counter.paints);
    std::printf("keys_unchanged_panel_paints: %d paints\n", counter.needless);
    Platform::install(nullptr);
    return counter.needless == 0 ? 0 : 1;
}
