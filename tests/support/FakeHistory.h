#pragma once
#include "HistoryTypes.h"

#include <QMap>

// A history held in memory: the key figures and settings a test gives it, and every
// setting written.
class FakeHistory : public HistoryReader {
public:
    qint64 runCount() override { return runs; }
    QList<HistoryRun> lastRuns(int) override { return {}; }
    QList<HistoryDay> days() override { return {}; }
    QList<HistoryKey> keyFigures(int lastRuns) override {
        askedRuns = lastRuns;
        return keys;
    }
    bool exportCsv(const QString&) override { return false; }
    bool clear() override { return false; }
    QString setting(const QString& key, const QString& fallback) override {
        return settings.value(key, fallback);
    }
    void setSetting(const QString& key, const QString& value) override {
        settings[key] = value;
        writes << key + QLatin1Char('=') + value;
    }
    // A key awaited `expected` times, missed `missed` times, each taking `ms`.
    void addKey(int vk, qint64 expected, qint64 missed, qint64 ms = 300) {
        keys.append(HistoryKey{vk, expected, missed, expected * ms, 0, 0});
    }

    qint64 runs = 1;
    QList<HistoryKey> keys;
    QMap<QString, QString> settings;
    QStringList writes;
    int askedRuns = 0;
};
