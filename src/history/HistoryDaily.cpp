// Time practised per day, for the daily goal and its calendar.
#include "HistorySql.h"
#include "HistoryStore.h"

#include <QSqlDriver>
#include <algorithm>
#include <sqlite3.h>

namespace {

// The most one run adds to its day: a clock that jumped mid-run makes no day of weeks.
constexpr double kMostSecondsPerRun = 86'400;

double runSeconds(double s) {
    return s > 0 ? std::min(s, kMostSecondsPerRun) : 0; // NaN too is no time
}

// Local calendar days of UTC start times as the history keeps them
// ("2026-03-01T14:50:00.000Z"). Grouping by the local day in SQL sorts every run and
// works out the local time of each; here the zone's offset is looked up once a UTC day
// (a day whose offset changes is worked out run by run) and the runs, read in the order
// they were made, add up without sorting.
class LocalDays {
public:
    QDate dayOf(const char* utc, int size) {
        const auto digits = [&](int at, int n) {
            int v = 0;
            for (int i = at; i < at + n; ++i) {
                const int c = utc[i] - '0';
                if (c < 0 || c > 9) return -1;
                v = v * 10 + c;
            }
            return v;
        };
        const int h = size >= 19 && utc[10] == 'T' ? digits(11, 2) : -1;
        const int m = h >= 0 ? digits(14, 2) : -1, sec = m >= 0 ? digits(17, 2) : -1;
        const QDate day = sec >= 0 ? QDate(digits(0, 4), digits(5, 2), digits(8, 2)) : QDate();
        if (!day.isValid() || h > 23 || m > 59 || sec > 60)
            return historysql::fromIsoTime(QString::fromUtf8(utc, size)).toLocalTime().date();
        if (day != day_) {
            day_ = day;
            const QDateTime start = day.startOfDay(Qt::UTC);
            startOffset_ = start.toLocalTime().offsetFromUtc();
            steady_ = start.addSecs(86'399).toLocalTime().offsetFromUtc() == startOffset_;
        }
        const int secs = h * 3600 + m * 60 + sec;
        if (!steady_) return day.startOfDay(Qt::UTC).addSecs(secs).toLocalTime().date();
        const int local = secs + startOffset_;
        return day.addDays(local < 0 ? -1 : local / 86'400);
    }

private:
    QDate day_;
    int startOffset_ = 0;
    bool steady_ = true;
};

} // namespace

QMap<QDate, double> HistoryStore::dailySeconds(const QDate& from, const QDate& to) {
    QMap<QDate, double> days;
    const auto within = [&](const QDate& d) {
        return d.isValid() && (!from.isValid() || d >= from) && (!to.isValid() || d <= to);
    };
    read([&](QSqlQuery& q) {
        days.clear();
        // The day as the progress chart has it: the local calendar day, in the time zone
        // of the moment, of the run's start. Start times are UTC text that sorts as time,
        // so the span is narrowed on it first (a day either side covers every zone).
        QByteArray sql = "SELECT started_at, seconds FROM runs WHERE 1";
        if (from.isValid())
            sql += " AND started_at >= '" +
                   historysql::isoTime(from.addDays(-1).startOfDay(Qt::UTC)).toLatin1() + '\'';
        if (to.isValid())
            sql += " AND started_at < '" +
                   historysql::isoTime(to.addDays(2).startOfDay(Qt::UTC)).toLatin1() + '\'';
        // A hundred thousand rows read through the driver's values cost more than all the
        // rest: the statement is stepped directly.
        const QVariant handle = q.driver()->handle();
        sqlite3* db = qstrcmp(handle.typeName(), "sqlite3*") == 0
                          ? *static_cast<sqlite3* const*>(handle.constData())
                          : nullptr;
        sqlite3_stmt* st = nullptr;
        if (!db || sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK) {
            sqlite3_finalize(st);
            return q.exec(QString::fromLatin1(sql)) && false;
        }
        LocalDays local;
        QDate last;
        double sum = 0;
        const auto flush = [&] {
            if (within(last)) days[last] += sum;
        };
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
            const QDate d = text ? local.dayOf(text, sqlite3_column_bytes(st, 0)) : QDate();
            if (d != last) {
                flush();
                last = d;
                sum = 0;
            }
            sum += runSeconds(sqlite3_column_double(st, 1));
        }
        flush();
        sqlite3_finalize(st);
        if (rc == SQLITE_DONE) return true;
        // The driver reads it again to tell why it failed (a damaged page, a lock).
        if (q.exec(QString::fromLatin1(sql)))
            while (q.next()) {
            }
        return false;
    });
    // Runs waiting for the history were practised all the same.
    for (const RunSummary& r : waitingRuns())
        if (const QDate d = r.startedAt.toLocalTime().date(); within(d))
            days[d] += runSeconds(r.seconds);
    return days;
}
