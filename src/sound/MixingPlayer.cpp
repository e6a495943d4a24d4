#include "SoundPlayer.h"
#include "Tones.h"

#include <QAudio>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QTimer>
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace {

constexpr std::array kSounds = {Sound::Click, Sound::Miss, Sound::End, Sound::Tick};
// What the stream holds ahead of what the server plays: the most a new sound waits
// behind. Short, so a key's sound is heard with the key; topped up every kFeedMs.
constexpr int kAheadMs = 15;
constexpr int kFeedMs = 5;
// After a run the stream stays open this long, for the end sound to finish.
constexpr int kLingerMs = 1500;

// The sounds playing now, mixed into the stream as it wants more: silence while none
// plays, so the stream runs on and a sound starts without a stream being opened anew.
class Mixer {
public:
    Mixer() {
        for (std::size_t i = 0; i < kSounds.size(); ++i) tones_[i] = toneSamples(kSounds[i]);
    }

    void start(Sound s) {
        const auto* tone = &tones_[std::size_t(s)];
        // The same sound again starts over rather than doubling up.
        std::erase_if(voices_, [tone](const Voice& v) { return v.tone == tone; });
        voices_.push_back({tone, 0});
    }
    void setGain(float gain) { gain_ = gain; }
    bool playing() const { return !voices_.empty(); }

    void mix(qint16* out, std::size_t n) {
        std::fill(out, out + n, qint16(0));
        if (voices_.empty()) return;
        mix_.assign(n, 0.0f);
        for (Voice& v : voices_) {
            const std::size_t take = std::min(n, v.tone->size() - v.at);
            for (std::size_t i = 0; i < take; ++i) mix_[i] += float((*v.tone)[v.at + i]);
            v.at += take;
        }
        std::erase_if(voices_, [](const Voice& v) { return v.at >= v.tone->size(); });
        for (std::size_t i = 0; i < n; ++i)
            out[i] = qint16(std::clamp(mix_[i] * gain_, -32767.0f, 32767.0f));
    }

private:
    struct Voice {
        const std::vector<qint16>* tone;
        std::size_t at;
    };
    std::array<std::vector<qint16>, kSounds.size()> tones_;
    std::vector<Voice> voices_;
    std::vector<float> mix_;
    float gain_ = 1.0f;
};

// One output stream, opened when a run wants sounds and kept open through it, written
// to a few milliseconds ahead of the sound server. A stream opened for each sound would
// wait for the server's start-up and pre-buffering every time, and a stream that reads
// its data in large blocks (as Qt's pulling one does) puts a new sound behind them.
class MixingPlayer final : public SoundPlayer {
public:
    explicit MixingPlayer(const QAudioDevice& device) {
        QAudioFormat format;
        format.setSampleRate(kTonesRate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        sink_ = std::make_unique<QAudioSink>(device, format);
        sink_->setBufferSize(kTonesRate * 2 * kAheadMs / 1000);
        feed_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&feed_, &QTimer::timeout, [this] { topUp(); });
        linger_.setSingleShot(true);
        QObject::connect(&linger_, &QTimer::timeout, [this] { close(); });
    }
    ~MixingPlayer() override { close(); }

    void setVolume(int percent) override {
        mixer_.setGain(float(QAudio::convertVolume(qBound(0, percent, 100) / 100.0,
                                                   QAudio::LogarithmicVolumeScale,
                                                   QAudio::LinearVolumeScale)));
        open();
    }
    void play(Sound sound) override {
        open();
        mixer_.start(sound);
        topUp();
    }
    void release() override { linger_.start(kLingerMs); }

private:
    void open() {
        linger_.stop();
        if (stream_) return;
        stream_ = sink_->start();
        if (stream_) feed_.start(kFeedMs);
    }
    void close() {
        feed_.stop();
        sink_->stop();
        stream_ = nullptr;
    }
    // Fills the stream up to what it holds ahead.
    void topUp() {
        if (!stream_) return;
        const qsizetype room = sink_->bytesFree() / 2;
        if (room <= 0) return;
        block_.resize(std::size_t(room));
        mixer_.mix(block_.data(), block_.size());
        stream_->write(reinterpret_cast<const char*>(block_.data()), room * 2);
    }

    Mixer mixer_;
    std::unique_ptr<QAudioSink> sink_;
    QIODevice* stream_ = nullptr;
    std::vector<qint16> block_;
    QTimer feed_;
    QTimer linger_;
};

} // namespace

extern "C" Q_DECL_EXPORT SoundPlayer* velotapper_make_sound_player() {
    // No device, no sounds: the program goes on silent.
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return nullptr;
    return new MixingPlayer(device);
}
