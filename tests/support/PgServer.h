#pragma once
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A real PostgreSQL 15 server of the test's own, in a temporary folder: initdb and
// postgres run as an unprivileged user (nobody, when the test runs as root, which
// postgres refuses), listening on a Unix socket in that folder and on 127.0.0.1 at a
// free port only, passwords by SCRAM. It can be stopped and started again mid-test;
// the destructor stops it and removes the folder.
//
//   PgServer pg;
//   if (!PgServer::available()) QSKIP("...");
//   QVERIFY2(pg.start(), qPrintable(pg.error()));
//   PGconn* c = PQconnectdb(pg.adminConninfo().toUtf8());
class PgServer {
public:
    struct Options {
        int maxConnections = 40;
        bool durable = false;       // fsync and synchronous commit as a real server has them
        bool logStatements = false; // log_statement = all (to check what reaches the log)
    };
    PgServer();
    explicit PgServer(Options options);
    ~PgServer();
    PgServer(const PgServer&) = delete;
    PgServer& operator=(const PgServer&) = delete;

    // Whether Debian's PostgreSQL 15 server is installed.
    static bool available();
    static QString binDir() { return QStringLiteral("/usr/lib/postgresql/15/bin"); }

    // The first call creates the cluster; later calls start it again on the same port.
    bool start();
    bool stop();
    bool running() const { return running_; }
    QString error() const { return error_; }

    int port() const { return port_; }
    QString socketDir() const { return dir_->path(); }
    QString logFile() const { return dir_->filePath(QStringLiteral("server.log")); }
    static QString adminUser() { return QStringLiteral("postgres"); }
    QString adminPassword() const { return adminPassword_; }
    // The superuser on the Unix socket, database "postgres" unless named.
    QString adminConninfo(const QString& dbname = QStringLiteral("postgres")) const;
    // A role with a password, over TCP to 127.0.0.1 as a learner's machine connects.
    QString tcpConninfo(const QString& user, const QString& password,
                        const QString& dbname = QStringLiteral("postgres"),
                        int connectTimeout = 10) const;

private:
    bool run(const QString& program, const QStringList& args);
    QStringList asServerUser(const QString& program, const QStringList& args) const;

    Options options_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString adminPassword_;
    QString error_;
    int port_ = 0;
    bool created_ = false;
    bool running_ = false;
    int uid_ = -1, gid_ = -1; // the user the server runs as, when we are root
};
