#pragma once

#include <QString>
#include <functional>
#include <memory>

class QTimer;

// The history settings of a run's sounds: "1" on, else off; the volume 0..100; the
// metronome's beats a minute, 0 for none.
inline const QString kSoundClickSetting = QStringLiteral("sound.click");
inline const QString kSoundMissSetting = QStringLiteral("sound.miss");
inline const QString kSoundEndSetting = QStringLiteral("sound.end");
inline const QString kSoundVolumeSetting = QStringLiteral("sound.volume");
inline const QString kMetronomeSetting = QStringLiteral("metronome.bpm");

struct SoundChoice {
    static constexpr int kDefaultVolume = 60;
    static constexpr int kSlowestBeat = 30;
    static constexpr int kFastestBeat = 400;

    bool click = false; // each right key
    bool miss = false;  // each wrong key
    bool end = false;   // the run's end
    int volume = kDefaultVolume;
    int beatsPerMinute = 0;

    bool any() const { return click || miss || end || beatsPerMinute != 0; }
};

// The choice as kept, each value that is none or out of reason at its default; setting
// gives the kept text of a key, empty when none is kept.
SoundChoice soundChoice(const std::function<QString(const QString& key)>& setting);

// The metronome's next beat after lastBeat, elapsedMs into a run: its number (the run's
// start is beat 0) and its time. Each beat's time is reckoned from the start, never from
// the beat before, so a long run does not drift; beats already past are left out.
struct Beat {
    qint64 number = 0;
    qint64 atMs = 0;
};
Beat nextBeat(qint64 elapsedMs, int beatsPerMinute, qint64 lastBeat);

// A run's sounds: at its start the choice is read and the sounds readied, then each key
// and the end sound as chosen, and the metronome beats while the run goes. Sounds go
// through the platform and never hold the run up.
class RunSounds {
public:
    RunSounds();
    ~RunSounds();

    // Where the choice comes from; unset, a run is silent.
    std::function<SoundChoice()> choice;

    void begin();
    void key(bool right);
    // The run ended (once; without a begun run, nothing).
    void end();

private:
    void beat();

    SoundChoice on_;
    bool running_ = false;
    std::unique_ptr<QTimer> metronome_;
    qint64 startMs_ = 0;
    qint64 lastBeat_ = 0; // the beat sounding now
};
