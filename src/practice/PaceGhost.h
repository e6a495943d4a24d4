#pragma once
#include "Keystrokes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <utility>
#include <vector>

// The pace a run may race, kept in the history's settings.
inline const QString kPaceModeSetting = QStringLiteral("pace.mode");     // off|target|best|last
inline const QString kPaceTargetSetting = QStringLiteral("pace.target"); // keys a minute
inline constexpr int kPaceTargetDefault = 200;
inline constexpr int kPaceTargetLow = 10;
inline constexpr int kPaceTargetHigh = 1000;

// A kept target, or the default when the kept text is none or out of reason.
int paceTarget(const QString& kept);

// Where the pace stands in a run at a time since the run began: a steady number of keys a
// minute, or an earlier run replayed at its own times, pausing where it paused. Positions
// count as the run's own judging does: characters of the text, where one key at a line end
// passes both its characters; without a text (Japanese phrases), right keys.
class PaceGhost {
public:
    static PaceGhost steady(int keysPerMinute, QByteArrayView text = {});
    // The right keys of a recorded run; the steady pace stands in for a record that is
    // damaged or holds no right key.
    static PaceGhost replay(QByteArrayView encoded, int fallbackKeysPerMinute,
                            QByteArrayView text = {});
    static PaceGhost replay(const std::vector<Keystroke>& keys, int fallbackKeysPerMinute,
                            QByteArrayView text = {});

    bool replaying() const { return replaying_; }
    // How far it is at ms since the run began.
    int positionAt(qint64 ms) const;
    // When it reached position; past its last key, at its own average speed.
    qint64 msAt(int position) const;
    // How many ms the learner at position by ms is ahead of it (negative: behind).
    qint64 leadMs(int position, qint64 ms) const { return msAt(position) - ms; }
    // Where its last key leaves it.
    int endPosition() const { return steps_.empty() ? 0 : steps_.back().second; }

private:
    // Appends one key's step at ms; false once the text is done.
    bool step(qint64 ms);

    QByteArray text_;
    bool replaying_ = false;
    double msPerKey_ = 0; // steady pace without a text: no steps, only this
    int position_ = 0;
    std::vector<std::pair<qint64, int>> steps_; // (ms, position reached), in time order
};
