#pragma once
#include "HistoryTypes.h"

#include <QMap>
#include <QStringList>

// A history held in lists, recording what the program asks of it and every setting
// written.
class FakeHistory : public HistoryReader {
public:
    qint64 runCount() override { return total >= 0 ? total : runs.size(); }
    QList<HistoryRun> lastRuns(int n) override {
        ++runQueries;
        return runs.mid(std::max<qsizetype>(0, runs.size() - n));
    }
    QList<HistoryDay> days() override {
        ++dayQueries;
        return dayList;
    }
    QList<HistoryKey> keyFigures(int lastRuns) override {
        keySpans << lastRuns;
        return keys;
    }
    bool exportCsv(const QString& path) override {
        exports << path;
        return exportOk;
    }
    bool clear() override {
        ++clears;
        if (!clearOk) return false;
        runs.clear();
        dayList.clear();
        keys.clear();
        total = -1;
        return true;
    }
    QString setting(const QString& key, const QString& fallback) override {
        return settings.value(key, fallback);
    }
    void setSetting(const QString& key, const QString& value) override {
        settings[key] = value;
        writes << key + QLatin1Char('=') + value;
    }
    QMap<QDate, double> dailySeconds(const QDate& from, const QDate& to) override {
        ++dailyQueries;
        QMap<QDate, double> out;
        for (auto it = daily.cbegin(); it != daily.cend(); ++it)
            if ((!from.isValid() || it.key() >= from) && (!to.isValid() || it.key() <= to))
                out.insert(it.key(), it.value());
        return out;
    }
    QString cannotRead() override { return unread; }
    QString cannotWrite() override { return locked; }
    // A key awaited `expected` times, missed `missed` times, each taking `ms`.
    void addKey(int vk, qint64 expected, qint64 missed, qint64 ms = 300) {
        keys.append(HistoryKey{vk, expected, missed, expected * ms, 0, 0});
    }

    QList<HistoryRun> runs;
    QList<HistoryDay> dayList;
    QList<HistoryKey> keys;
    qint64 total = -1; // the run count when it is not the length of the list
    bool exportOk = true, clearOk = true;
    QStringList exports;
    QList<int> keySpans;
    QMap<QDate, double> daily; // seconds practised per local day
    QMap<QString, QString> settings;
    QStringList writes;
    QString unread, locked; // what stands in the way of reading, of writing
    int runQueries = 0, dayQueries = 0, clears = 0, dailyQueries = 0;
};
