#include "RunSounds.h"

#include "Platform.h"

#include <QTimer>
#include <algorithm>

namespace {

int keptNumber(const QString& kept, int fallback, int low, int high) {
    bool ok = false;
    const int v = kept.toInt(&ok);
    return ok && v >= low && v <= high ? v : fallback;
}

} // namespace

SoundChoice soundChoice(const std::function<QString(const QString& key)>& setting) {
    SoundChoice c;
    c.click = setting(kSoundClickSetting) == QStringLiteral("1");
    c.miss = setting(kSoundMissSetting) == QStringLiteral("1");
    c.end = setting(kSoundEndSetting) == QStringLiteral("1");
    c.volume = keptNumber(setting(kSoundVolumeSetting), SoundChoice::kDefaultVolume, 0, 100);
    c.beatsPerMinute = keptNumber(setting(kMetronomeSetting), 0, SoundChoice::kSlowestBeat,
                                  SoundChoice::kFastestBeat);
    return c;
}

Beat nextBeat(qint64 elapsedMs, int beatsPerMinute, qint64 lastBeat) {
    const qint64 bpm = std::max(1, beatsPerMinute);
    // The first beat whose time (rounded up to the millisecond) is still to come.
    const qint64 due = elapsedMs < 0 ? 0 : elapsedMs * bpm / 60000 + 1;
    Beat b;
    b.number = std::max(lastBeat + 1, due);
    b.atMs = (b.number * 60000 + bpm - 1) / bpm;
    return b;
}

RunSounds::RunSounds() = default;
RunSounds::~RunSounds() = default;

void RunSounds::begin() {
    on_ = choice ? choice() : SoundChoice{};
    running_ = true;
    if (!on_.any()) return;
    Platform& platform = Platform::get();
    platform.prepareSounds(on_.volume);
    if (on_.beatsPerMinute == 0) return;
    if (!metronome_) {
        metronome_ = std::make_unique<QTimer>();
        metronome_->setSingleShot(true);
        metronome_->setTimerType(Qt::PreciseTimer);
        QObject::connect(metronome_.get(), &QTimer::timeout, [this] { beat(); });
    }
    startMs_ = platform.clockMs();
    lastBeat_ = 0; // the start's own beat
    beat();
}

void RunSounds::beat() {
    Platform& platform = Platform::get();
    platform.playSound(Sound::Tick);
    const qint64 elapsed = platform.clockMs() - startMs_;
    const Beat next = nextBeat(elapsed, on_.beatsPerMinute, lastBeat_);
    lastBeat_ = next.number; // the beat the timer will sound
    metronome_->start(int(std::max<qint64>(0, next.atMs - elapsed)));
}

void RunSounds::key(bool right) {
    if (running_ && (right ? on_.click : on_.miss))
        Platform::get().playSound(right ? Sound::Click : Sound::Miss);
}

void RunSounds::end() {
    if (!running_) return;
    running_ = false;
    if (metronome_) metronome_->stop();
    if (on_.end) Platform::get().playSound(Sound::End);
    if (on_.any()) Platform::get().releaseSounds();
}
