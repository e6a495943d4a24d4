#include "ClassLink.h"
#include "ServerSchema.h"

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QTimeZone>
#include <QTimer>
#include <libpq-fe.h>
#include <memory>

// The class's server through libpq, without a thread: the connection's socket is watched
// by the event loop (QSocketNotifier on PQsocket), so sending never holds the window.

namespace {

// How long a step of a send (connecting, one statement) may take before the connection
// counts as lost: a network that drops without a word sends no event at all.
constexpr int kStepMs = 20000;

const char* const kKeys[] = {"service", "connect_timeout", "application_name", "keepalives_idle",
                             nullptr};

struct Params {
    QByteArray service, timeout;
    const char* values[5];
    Params(const QString& name, int seconds)
        : service(name.toUtf8()), timeout(QByteArray::number(seconds)) {
        values[0] = service.constData();
        values[1] = timeout.constData();
        values[2] = "velotapper";
        values[3] = "30";
        values[4] = nullptr;
    }
};

QString firstLine(const char* text) {
    return QString::fromUtf8(text).trimmed().section(QLatin1Char('\n'), 0, 0);
}

// Why a connection could not be made, from libpq's words (it gives no code for these).
ClassProblem connectProblem(PGconn* conn) {
    const QString why = QString::fromUtf8(PQerrorMessage(conn));
    if (why.contains(QLatin1String("definition of service")) ||
        why.contains(QLatin1String("service file")))
        return ClassProblem::NoService;
    if (why.contains(QLatin1String("password")) || why.contains(QLatin1String("SCRAM")) ||
        PQconnectionUsedPassword(conn))
        return ClassProblem::Password;
    return ClassProblem::NoServer;
}

ClassProblem statementProblem(const PGresult* r) {
    const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
    const QByteArray s = state ? QByteArray(state) : QByteArray();
    if (s == "42P01" || s == "3F000") return ClassProblem::NoSchema;
    if (s == "42501" || s == "28000") return ClassProblem::Refused;
    return ClassProblem::Other;
}

// The version statement's answer.
ClassProblem versionProblem(const PGresult* r) {
    if (PQresultStatus(r) != PGRES_TUPLES_OK) return statementProblem(r);
    if (PQntuples(r) != 1) return ClassProblem::NoSchema;
    const int v = QByteArray(PQgetvalue(r, 0, 0)).toInt();
    if (v > classserver::kServerVersion) return ClassProblem::Newer;
    if (v < classserver::kServerVersion) return ClassProblem::NoSchema;
    return ClassProblem::None;
}

const char* statementOf(const QString& kind) {
    if (kind == QLatin1String("run"))
        return "INSERT INTO velotapper.runs(uuid, started_at, ended_at, mode, source, seconds,"
               " keys, misses, speed, completed, rhythm, per_key, confusions)"
               " VALUES ($1::uuid, $2::timestamptz, $3::timestamptz, $4, $5, $6, $7, $8, $9,"
               " $10::boolean, $11, $12::jsonb, $13::jsonb) ON CONFLICT (uuid) DO NOTHING";
    if (kind == QLatin1String("test"))
        return "INSERT INTO velotapper.test_results(run_uuid, way, grade, text_id, right_chars,"
               " faults, minutes, net, accuracy, passed)"
               " VALUES ($1::uuid, $2, $3, $4, $5, $6, $7, $8, $9, $10::boolean)"
               " ON CONFLICT (run_uuid) DO NOTHING";
    if (kind == QLatin1String("step"))
        return "INSERT INTO velotapper.course_steps(track, unlocked, at)"
               " VALUES ($1, $2, $3::timestamptz) ON CONFLICT DO NOTHING";
    return nullptr;
}

const char kVersionSql[] = "SELECT version FROM velotapper.meta";

// Bound parameters, kept alive while libpq holds their pointers.
struct Bound {
    std::vector<QByteArray> texts;
    std::vector<const char*> values;
    explicit Bound(const QStringList& params) {
        texts.reserve(params.size());
        for (const QString& p : params) texts.push_back(p.isNull() ? QByteArray() : p.toUtf8());
        for (int i = 0; i < params.size(); ++i)
            values.push_back(params[i].isNull() ? nullptr : texts[i].constData());
    }
};

QStringList paramsOf(const QJsonArray& a) {
    QStringList out;
    for (const QJsonValue& v : a) out << (v.isNull() ? QString() : v.toString());
    return out;
}

class PqLink final : public QObject, public ClassLink {
public:
    ~PqLink() override { drop(); }

    void send(const QString& service, const std::vector<OutboxItem>& items,
              std::function<void(const ClassSendResult&)> done) override {
        if (conn_) return;
        items_ = items;
        next_ = 0;
        result_ = {};
        done_ = std::move(done);
        const Params p(service, kStepMs / 1000);
        conn_ = PQconnectStartParams(kKeys, p.values, 0);
        if (!conn_ || PQstatus(conn_) == CONNECTION_BAD) return fail(connectProblem(conn_));
        stage_ = Stage::Connecting;
        watch(PGRES_POLLING_WRITING);
    }

    bool sending() const override { return conn_ != nullptr; }

    ClassRows read(const QString& service, const std::vector<ClassQuery>& queries,
                   int timeoutSeconds) override {
        ClassRows out;
        const Params p(service, timeoutSeconds);
        std::unique_ptr<PGconn, decltype(&PQfinish)> c(PQconnectdbParams(kKeys, p.values, 0),
                                                       &PQfinish);
        if (PQstatus(c.get()) != CONNECTION_OK) {
            out.problem = connectProblem(c.get());
            out.detail = firstLine(PQerrorMessage(c.get()));
            return out;
        }
        // The week begins on this machine's Monday; no statement waits past the limit.
        const QString zone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
        std::vector<ClassQuery> all{{QStringLiteral("SELECT set_config('TimeZone', $1, false),"
                                                    " set_config('statement_timeout', $2, false)"),
                                     {zone, QString::number(timeoutSeconds * 1000)}},
                                    {QString::fromLatin1(kVersionSql), {}}};
        all.insert(all.end(), queries.begin(), queries.end());
        for (std::size_t i = 0; i < all.size(); ++i) {
            const Bound b(all[i].params);
            std::unique_ptr<PGresult, decltype(&PQclear)> r(
                PQexecParams(c.get(), all[i].sql.toUtf8().constData(), int(b.values.size()),
                             nullptr, b.values.data(), nullptr, nullptr, 0),
                &PQclear);
            if (i == 1) {
                out.problem = versionProblem(r.get());
                if (out.problem != ClassProblem::None) {
                    out.detail = firstLine(PQresultErrorMessage(r.get()));
                    return out;
                }
                continue;
            }
            if (PQresultStatus(r.get()) != PGRES_TUPLES_OK) {
                out.problem = PQstatus(c.get()) == CONNECTION_BAD ? ClassProblem::Dropped
                                                                  : statementProblem(r.get());
                out.detail = firstLine(PQresultErrorMessage(r.get()));
                return out;
            }
            if (i < 2) continue;
            QList<QStringList> rows;
            rows.reserve(PQntuples(r.get()));
            for (int row = 0; row < PQntuples(r.get()); ++row) {
                QStringList cols;
                for (int col = 0; col < PQnfields(r.get()); ++col)
                    cols << (PQgetisnull(r.get(), row, col)
                                 ? QString()
                                 : QString::fromUtf8(PQgetvalue(r.get(), row, col)));
                rows << cols;
            }
            out.results << rows;
        }
        return out;
    }

private:
    enum class Stage { Connecting, Version, Items };

    // Waits for the socket as libpq asks, and at most a step's time.
    void watch(PostgresPollingStatusType want) {
        const int fd = PQsocket(conn_);
        // libpq may move to another socket while connecting (another address, SSL retry).
        if (!read_ || read_->socket() != fd) {
            read_.reset();
            write_.reset();
            if (fd < 0) return fail(ClassProblem::NoServer);
            read_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
            write_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
            QObject::connect(read_.get(), &QSocketNotifier::activated, this, [this] { ready(); });
            QObject::connect(write_.get(), &QSocketNotifier::activated, this, [this] { ready(); });
        }
        read_->setEnabled(want == PGRES_POLLING_READING);
        write_->setEnabled(want == PGRES_POLLING_WRITING);
        if (!deadline_) {
            deadline_ = std::make_unique<QTimer>();
            deadline_->setSingleShot(true);
            QObject::connect(deadline_.get(), &QTimer::timeout, this, [this] {
                fail(stage_ == Stage::Connecting ? ClassProblem::NoServer : ClassProblem::Dropped);
            });
        }
        if (!deadline_->isActive()) deadline_->start(kStepMs);
    }

    void ready() {
        if (!conn_) return;
        if (stage_ == Stage::Connecting) {
            switch (PQconnectPoll(conn_)) {
            case PGRES_POLLING_FAILED:
                return fail(connectProblem(conn_));
            case PGRES_POLLING_OK:
                deadline_->stop();
                PQsetnonblocking(conn_, 1);
                stage_ = Stage::Version;
                return issue(QString::fromLatin1(kVersionSql), {});
            case PGRES_POLLING_WRITING:
                return watch(PGRES_POLLING_WRITING);
            default:
                return watch(PGRES_POLLING_READING);
            }
        }
        // Writes what is left of the statement, then reads its answer as it comes.
        const int flushed = PQflush(conn_);
        if (flushed < 0) return fail(ClassProblem::Dropped);
        if (!PQconsumeInput(conn_)) return fail(ClassProblem::Dropped);
        if (flushed == 1) return watch(PGRES_POLLING_WRITING);
        while (!PQisBusy(conn_)) {
            PGresult* r = PQgetResult(conn_);
            if (!r) return answered();
            if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK)
                stageProblem_ =
                    PQstatus(conn_) == CONNECTION_BAD ? ClassProblem::Dropped : statementProblem(r);
            else if (stage_ == Stage::Version)
                stageProblem_ = versionProblem(r);
            if (stageProblem_ != ClassProblem::None && result_.detail.isEmpty())
                result_.detail = firstLine(PQresultErrorMessage(r));
            PQclear(r);
        }
        if (PQstatus(conn_) == CONNECTION_BAD) return fail(ClassProblem::Dropped);
        watch(PGRES_POLLING_READING);
    }

    void issue(const QString& sql, const QStringList& params) {
        stageProblem_ = ClassProblem::None;
        const Bound b(params);
        if (!PQsendQueryParams(conn_, sql.toUtf8().constData(), int(b.values.size()), nullptr,
                               b.values.data(), nullptr, nullptr, 0))
            return fail(ClassProblem::Dropped);
        deadline_->start(kStepMs);
        ready();
    }

    // The statement's whole answer is in.
    void answered() {
        if (stageProblem_ != ClassProblem::None) return fail(stageProblem_);
        if (stage_ == Stage::Items) result_.sent.push_back(items_[next_++].id);
        stage_ = Stage::Items;
        while (next_ < items_.size() && !statementOf(items_[next_].kind)) ++next_;
        if (next_ >= items_.size()) return finish();
        issue(QString::fromLatin1(statementOf(items_[next_].kind)), paramsOf(items_[next_].params));
    }

    void fail(ClassProblem problem) {
        result_.problem = problem;
        if (result_.detail.isEmpty() && conn_) result_.detail = firstLine(PQerrorMessage(conn_));
        finish();
    }

    void finish() {
        drop();
        // Called from the event loop, never from within send().
        QTimer::singleShot(0, this, [done = std::move(done_), r = result_] { done(r); });
    }

    void drop() {
        read_.reset();
        write_.reset();
        if (deadline_) deadline_->stop();
        if (conn_) PQfinish(conn_);
        conn_ = nullptr;
    }

    PGconn* conn_ = nullptr;
    Stage stage_ = Stage::Connecting;
    ClassProblem stageProblem_ = ClassProblem::None;
    std::unique_ptr<QSocketNotifier> read_, write_;
    std::unique_ptr<QTimer> deadline_;
    std::vector<OutboxItem> items_;
    std::size_t next_ = 0;
    ClassSendResult result_;
    std::function<void(const ClassSendResult&)> done_;
};

} // namespace

extern "C" Q_DECL_EXPORT ClassLink* velotapper_make_class_link() {
    return new PqLink;
}
