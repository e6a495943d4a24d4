#pragma once
#include "TestResult.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <optional>

// One row of `runs`.
struct HistoryRun {
    qint64 id = 0;
    QDateTime startedAt; // UTC
    QDateTime endedAt;   // UTC
    QString mode;
    QString source;
    double seconds = 0;
    qint64 keys = 0;
    qint64 misses = 0;
    double speed = 0;
    bool completed = false;
    // How evenly it was typed, 0..100; none for a run without two timed intervals.
    std::optional<double> rhythm = std::nullopt;
};

// One point of the progress chart when there are too many runs to draw one by one:
// the runs of one mode on one local calendar day.
struct HistoryDay {
    QDate day;
    QString mode;
    int runs = 0;
    double speed = 0; // average speed of the day's runs
    qint64 keys = 0;
    qint64 misses = 0;
    std::optional<double> rhythm = std::nullopt; // average over the day's runs that have one
    int rhythmRuns = 0;
};

// One key's figures summed over a span of runs, with the key most often pressed
// while it was awaited (0 when never mistyped). A line end is two characters typed
// with one press of Enter: rates and times go per press.
struct HistoryKey {
    int vk = 0;
    qint64 expected = 0; // characters typed with it
    qint64 missed = 0;   // wrong presses while it was due
    qint64 msTotal = 0;
    int topTyped = 0;
    qint64 topTypedCount = 0;
    int topShift = 0; // for topTyped == vk: 1 Shift left out, 2 Shift held needlessly
    // Presses whose time counts in msTotal (a run's first key and a key after a pause
    // have none); -1 when not told apart: every press.
    qint64 timed = -1;

    // Right presses of the key.
    qint64 presses() const { return vk == 13 ? (expected + 1) / 2 : expected; }
    qint64 timedPresses() const { return timed < 0 ? presses() : timed; }
    // Wrong presses over all presses while the key was due: 0 .. 1.
    double missRate() const {
        const qint64 all = presses() + missed;
        return all > 0 ? double(missed) / double(all) : 0.0;
    }
    double averageMs() const {
        return timedPresses() > 0 ? double(msTotal) / double(timedPresses()) : 0.0;
    }
};

// The guided course reached `unlocked` keys of a track at a time (UTC).
struct CourseStep {
    QDateTime at;
    int unlocked = 0;
};

// One graded test of the history: its run, when it started (UTC) and what it scored.
struct HistoryTest {
    qint64 runId = 0;
    QDateTime at;
    TestResult result;
};

// Which earlier run of a text a pace follows.
enum class PaceRun { Best, Last };

// What the progress page and the adaptive practice read from the history.
class HistoryReader {
public:
    virtual ~HistoryReader() = default;
    virtual qint64 runCount() = 0;
    // The last n runs, oldest first.
    virtual QList<HistoryRun> lastRuns(int n) = 0;
    // Every local calendar day with runs, per mode, oldest first.
    virtual QList<HistoryDay> days() = 0;
    // Per-key figures over the last n runs (all modes), in key order.
    virtual QList<HistoryKey> keyFigures(int lastRuns) = 0;
    // Writes the whole history as CSV (RFC 4180, header row, UTF-8 with a byte-order
    // mark, start times in UTC and local time); false on failure.
    virtual bool exportCsv(const QString& path) = 0;
    // Deletes every run; false on failure.
    virtual bool clear() = 0;
    // The settings the record has no room for; fallback when absent.
    virtual QString setting(const QString& key, const QString& fallback = QString()) = 0;
    virtual void setSetting(const QString& key, const QString& value) = 0;
    // Why the last reading found nothing although a history may be there (held by
    // another program, unreadable); empty when it was read.
    virtual QString cannotRead() { return {}; }
    // Why nothing can be written to the history here (a newer program's file, a folder
    // that takes no writes); empty when it can be.
    virtual QString cannotWrite() { return {}; }
    // The course's steps on a track ("letters", "kana"), oldest first; none before it began.
    virtual QList<CourseStep> courseSteps(const QString& track) {
        Q_UNUSED(track);
        return {};
    }
    // Keeps that the track reached `unlocked` keys; false when it could not be kept.
    virtual bool addCourseStep(const QString& track, int unlocked) {
        Q_UNUSED(track);
        Q_UNUSED(unlocked);
        return false;
    }
    // The keystrokes (see Keystrokes.h) of the fastest completed run or of the last run
    // of mode on source; empty when there is none or it kept none.
    virtual QByteArray paceStrokes(const QString& mode, const QString& source, PaceRun which) {
        Q_UNUSED(mode);
        Q_UNUSED(source);
        Q_UNUSED(which);
        return {};
    }
    // Seconds practised on each local calendar day from `from` to `to`, both included
    // (an invalid date leaves that end open), over runs of every kind, each run counted
    // on the day it began; days without runs are left out.
    virtual QMap<QDate, double> dailySeconds(const QDate& from, const QDate& to) {
        Q_UNUSED(from);
        Q_UNUSED(to);
        return {};
    }
    // Per-key figures of the track's last course runs, one list a run, newest first.
    virtual QList<QList<HistoryKey>> courseRunKeys(const QString& track, int lastRuns) {
        Q_UNUSED(track);
        Q_UNUSED(lastRuns);
        return {};
    }
    // The graded tests of a way ("letters", "romaji", "kana"), oldest first.
    virtual QList<HistoryTest> testResults(const QString& way) {
        Q_UNUSED(way);
        return {};
    }
};
