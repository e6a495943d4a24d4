#include "PgServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>

#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A port nobody listens on now: the kernel's pick for a socket bound to port 0.
int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(fd);
    return port;
}

// A conninfo value: quoted, with backslash and quote escaped.
QString quoted(QString v) {
    v.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

void giveTo(const QString& path, int uid, int gid) {
    if (uid >= 0 && ::chown(QFile::encodeName(path).constData(), uid_t(uid), gid_t(gid)) != 0)
        qWarning("PgServer: cannot give %s to the server's user", qPrintable(path));
}

} // namespace

PgServer::PgServer() : PgServer(Options{}) {}

PgServer::PgServer(Options options)
    : options_(options), dir_(std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/vtpg-XXXXXX"))) {
    if (::geteuid() == 0) {
        if (const passwd* pw = ::getpwnam("nobody")) {
            uid_ = int(pw->pw_uid);
            gid_ = int(pw->pw_gid);
        }
    }
    giveTo(dir_->path(), uid_, gid_);
    adminPassword_ = QString::number(QRandomGenerator::global()->generate64(), 36);
}

PgServer::~PgServer() {
    if (running_) stop();
}

bool PgServer::available() {
    return QFileInfo::exists(binDir() + QStringLiteral("/postgres")) &&
           QFileInfo::exists(binDir() + QStringLiteral("/initdb"));
}

QStringList PgServer::asServerUser(const QString& program, const QStringList& args) const {
    QStringList all;
    if (uid_ >= 0)
        all << QStringLiteral("/usr/bin/setpriv") << QStringLiteral("--reuid=%1").arg(uid_)
            << QStringLiteral("--regid=%1").arg(gid_) << QStringLiteral("--clear-groups")
            << QStringLiteral("--");
    all << binDir() + QLatin1Char('/') + program;
    return all + args;
}

bool PgServer::run(const QString& program, const QStringList& args) {
    QStringList cmd = asServerUser(program, args);
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setWorkingDirectory(dir_->path()); // one the server's user may enter
    p.start(cmd.takeFirst(), cmd);
    // pg_ctl -w returns when the server answers or has stopped; initdb when done.
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        error_ = program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAll());
        QFile log(logFile());
        if (log.open(QIODevice::ReadOnly))
            error_ += QString::fromLocal8Bit(log.readAll().right(2000));
        return false;
    }
    return true;
}

bool PgServer::start() {
    if (running_) return true;
    if (!dir_->isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    const QString data = dir_->filePath(QStringLiteral("data"));
    if (!created_) {
        const QString pwfile = dir_->filePath(QStringLiteral("pw"));
        QFile pw(pwfile);
        if (!pw.open(QIODevice::WriteOnly) || pw.write(adminPassword_.toUtf8() + '\n') < 0)
            return false;
        pw.close();
        giveTo(pwfile, uid_, gid_);
        if (!run(QStringLiteral("initdb"),
                 {QStringLiteral("-D"), data, QStringLiteral("-U"), adminUser(),
                  QStringLiteral("--pwfile=") + pwfile, QStringLiteral("--auth=scram-sha-256"),
                  QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"),
                  QStringLiteral("--no-sync")}))
            return false;
        QFile::remove(pwfile);
        port_ = freePort();
        QFile conf(data + QStringLiteral("/postgresql.conf"));
        if (!conf.open(QIODevice::Append)) return false;
        QString c = QStringLiteral("listen_addresses = '127.0.0.1'\nport = %1\n"
                                   "unix_socket_directories = %2\nmax_connections = %3\n"
                                   "password_encryption = 'scram-sha-256'\n")
                        .arg(port_)
                        .arg(quoted(dir_->path()))
                        .arg(options_.maxConnections);
        if (!options_.durable) c += QStringLiteral("fsync = off\nsynchronous_commit = off\n");
        if (options_.logStatements) c += QStringLiteral("log_statement = 'all'\n");
        conf.write(c.toUtf8());
        created_ = true;
    }
    running_ = run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), data, QStringLiteral("-l"),
                                              logFile(), QStringLiteral("-w"), QStringLiteral("-t"),
                                              QStringLiteral("60"), QStringLiteral("start")});
    return running_;
}

bool PgServer::stop() {
    if (!running_) return true;
    running_ =
        !run(QStringLiteral("pg_ctl"),
             {QStringLiteral("-D"), dir_->filePath(QStringLiteral("data")), QStringLiteral("-m"),
              QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
    return !running_;
}

QString PgServer::adminConninfo(const QString& dbname) const {
    return QStringLiteral("host=%1 port=%2 user=%3 password=%4 dbname=%5")
        .arg(quoted(socketDir()))
        .arg(port_)
        .arg(adminUser(), quoted(adminPassword_), quoted(dbname));
}

QString PgServer::tcpConninfo(const QString& user, const QString& password, const QString& dbname,
                              int connectTimeout) const {
    return QStringLiteral("host=127.0.0.1 port=%1 user=%2 password=%3 dbname=%4 connect_timeout=%5")
        .arg(port_)
        .arg(quoted(user), quoted(password), quoted(dbname))
        .arg(connectTimeout);
}
