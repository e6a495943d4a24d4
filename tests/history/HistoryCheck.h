#pragma once
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

// A second connection to a history file, as sqlite3 on the command line would look at it.
struct RawDb {
    explicit RawDb(const QString& path, const QString& name = QStringLiteral("raw")) : name_(name) {
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        db.open();
    }
    ~RawDb() {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
    }
    // The first column of the first row, or an invalid value.
    QVariant one(const QString& sql) {
        QSqlQuery q(db);
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }
    bool exec(const QString& sql) {
        QSqlQuery q(db);
        return q.exec(sql);
    }
    QSqlDatabase db;

private:
    QString name_;
};
