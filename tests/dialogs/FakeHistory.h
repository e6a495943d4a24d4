#pragma once
#include "HistoryTypes.h"

#include <QStringList>

// A history held in lists, recording what the page asks of it.
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
    QString setting(const QString&, const QString& fallback) override { return fallback; }
    void setSetting(const QString&, const QString&) override {}

    QList<HistoryRun> runs;
    QList<HistoryDay> dayList;
    QList<HistoryKey> keys;
    qint64 total = -1; // the run count when it is more than the lists hold
    bool exportOk = true, clearOk = true;
    QStringList exports;
    QList<int> keySpans;
    int runQueries = 0, dayQueries = 0, clears = 0;
};
