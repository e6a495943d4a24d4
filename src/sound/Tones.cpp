#include "Tones.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// One voice: a sine with its overtones, a quick attack and an exponential decay, laid
// over out from startSec on.
struct Voice {
    double startSec = 0;
    double hz = 440;
    double amplitude = 0.5;
    double attackSec = 0.0005;
    double decaySec = 0.01; // time to fall to 1/e
    double lengthSec = 0.05;
    std::vector<double> overtones = {}; // relative strength of harmonics 2, 3, ...
};

void addVoice(std::vector<double>& out, const Voice& v) {
    const auto first = std::size_t(v.startSec * kTonesRate);
    const auto n = std::size_t(v.lengthSec * kTonesRate);
    if (out.size() < first + n) out.resize(first + n, 0.0);
    // The last 2 ms fade out in a straight line, whatever the decay has left.
    const double fade = 0.002 * kTonesRate;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = double(i) / kTonesRate;
        double env = std::min(1.0, t / v.attackSec) * std::exp(-t / v.decaySec);
        env *= std::min(1.0, double(n - i) / fade);
        double s = std::sin(kTwoPi * v.hz * t);
        for (std::size_t h = 0; h < v.overtones.size(); ++h)
            s += v.overtones[h] * std::sin(kTwoPi * v.hz * double(h + 2) * t);
        out[first + i] += v.amplitude * env * s;
    }
}

std::vector<Voice> voices(Sound sound) {
    switch (sound) {
    case Sound::Click: // a short dry tap
        return {{0, 2600, 0.45, 0.0002, 0.0012, 0.008, {0.4, 0.15}},
                {0, 1300, 0.25, 0.0002, 0.002, 0.008}};
    case Sound::Miss: // a low buzz of two rubbing tones
        return {{0, 185, 0.28, 0.0005, 0.09, 0.13, {0.5, 0.33, 0.25, 0.2}},
                {0, 196, 0.28, 0.0005, 0.09, 0.13, {0.5, 0.33, 0.25, 0.2}}};
    case Sound::End: // three rising bell notes
        return {{0.00, 784, 0.3, 0.001, 0.12, 0.35, {0.2}},
                {0.11, 988, 0.3, 0.001, 0.12, 0.35, {0.2}},
                {0.22, 1175, 0.3, 0.001, 0.18, 0.45, {0.2}}};
    case Sound::Tick: // a wooden knock
        return {{0, 1700, 0.4, 0.0003, 0.004, 0.02}, {0, 850, 0.3, 0.0003, 0.006, 0.02}};
    }
    return {};
}

} // namespace

std::vector<qint16> toneSamples(Sound sound) {
    std::vector<double> mix;
    for (const Voice& v : voices(sound)) addVoice(mix, v);
    std::vector<qint16> out(mix.size());
    std::transform(mix.begin(), mix.end(), out.begin(),
                   [](double s) { return qint16(std::lround(std::clamp(s, -1.0, 1.0) * 32767)); });
    return out;
}
