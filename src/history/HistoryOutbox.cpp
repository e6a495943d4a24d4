#include "HistorySql.h"
#include "HistoryStore.h"

#include <QFileInfo>
#include <QScopedValueRollback>
#include <QSqlQuery>

// The outbox of the class's server, in the working folder's history: read and emptied
// by the sender; written with the runs themselves (RunWriter, writeWaiting).

std::vector<OutboxItem> HistoryStore::queued(int max, QString* file) {
    std::vector<OutboxItem> items;
    if (file) *file = currentFile();
    read([&](QSqlQuery& q) {
        items.clear();
        if (version_ < historysql::kOutboxVersion) return true;
        q.prepare(QStringLiteral("SELECT id, kind, params FROM outbox ORDER BY id LIMIT ?"));
        q.addBindValue(max);
        if (!q.exec()) return false;
        while (q.next())
            items.push_back({q.value(0).toLongLong(), q.value(1).toString(),
                             outbox::decode(q.value(2).toString().toUtf8())});
        return true;
    });
    return items;
}

qint64 HistoryStore::queuedCount() {
    qint64 n = 0;
    read([&](QSqlQuery& q) {
        if (version_ < historysql::kOutboxVersion) return true;
        if (!q.exec(QStringLiteral("SELECT count(*) FROM outbox")) || !q.next()) return false;
        n = q.value(0).toLongLong();
        return true;
    });
    return n;
}

bool HistoryStore::unqueue(const QString& file, const std::vector<qint64>& ids) {
    if (ids.empty()) return true;
    close();
    busy_ = false;
    target_ = file;
    const QScopedValueRollback<bool> writing(writing_, true);
    // Never waits for another program: the rows are sent again, and the server keeps one.
    const QScopedValueRollback<int> wait(busyTimeoutMs_, 0);
    bool ok =
        QFileInfo::exists(file) && ready(Use::Write) && exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (ok) {
        QSqlQuery q(db_);
        ok = q.prepare(QStringLiteral("DELETE FROM outbox WHERE id = ?"));
        for (qint64 id : ids) {
            q.bindValue(0, id);
            ok = ok && q.exec();
        }
        ok = ok && exec(QStringLiteral("COMMIT"));
        if (!ok) exec(QStringLiteral("ROLLBACK"));
    }
    target_.clear();
    close();
    return ok;
}
