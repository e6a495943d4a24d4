// The class server as a school runs it: a real PostgreSQL, the real velotapper-class
// command, learners and teachers connecting over TCP with the passwords of their slips.
// The server guards the rows: every refusal here is the server's.
#include "PgConn.h"
#include "PgServer.h"
#include "Roster.h"
#include "ServerSchema.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using classserver::PgConn;
using classserver::value;

namespace {

struct Login {
    QString number, name, role, password, service, pgpass;
};

// The slips' CSV as the command prints it (our own fields: no line ends inside).
QList<Login> readSlips(const QByteArray& csv) {
    QList<Login> out;
    const QList<QByteArray> lines = csv.split('\n');
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty()) continue;
        QStringList f;
        QString cur;
        bool q = false;
        const QString line = QString::fromUtf8(lines[i]);
        for (int k = 0; k < line.size(); ++k) {
            const QChar c = line[k];
            if (q && c == u'"' && k + 1 < line.size() && line[k + 1] == u'"')
                cur += c, ++k;
            else if (c == u'"')
                q = !q;
            else if (c == u',' && !q)
                f << cur, cur.clear();
            else
                cur += c;
        }
        f << cur;
        if (f.size() == 6) out.append({f[0], f[1], f[2], f[3], f[4], f[5]});
    }
    return out;
}

const char kRun[] =
    "INSERT INTO velotapper.runs(uuid, started_at, ended_at, mode, source, seconds, keys,"
    " misses, speed, completed, rhythm, per_key, confusions) VALUES ($1::uuid,"
    " now() - interval '1 minute', now(), 'lesson', 'Lesson1.txt', 60, $2, 3, 2.5, true,"
    " NULL, '[{\"vk\":65,\"expected\":10,\"missed\":1,\"ms_total\":900,\"timed\":9}]',"
    " '[]') ON CONFLICT (uuid) DO NOTHING";

} // namespace

class tst_ClassServer : public QObject {
    Q_OBJECT
    PgServer pg{PgServer::Options{40, false, true}};
    QList<Login> classA, classB, teachers;
    QByteArray lastErr;

    // Runs the command against the school's database; its stdout, exit code in *code.
    QByteArray command(const QStringList& args, int* code) {
        QProcess p;
        p.start(QStringLiteral(VT_CLASS_COMMAND), args + QStringList{pg.adminConninfo("school")});
        p.waitForFinished(60000);
        lastErr = p.readAllStandardError();
        *code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return p.readAllStandardOutput();
    }
    std::unique_ptr<PgConn> as(const Login& l) {
        auto c =
            std::make_unique<PgConn>(pg.tcpConninfo(l.role, l.password, "school").toStdString());
        if (!c->ok()) qWarning("%s", c->error().c_str());
        return c;
    }
    std::unique_ptr<PgConn> admin() {
        return std::make_unique<PgConn>(pg.adminConninfo("school").toStdString());
    }

private slots:
    void initTestCase();
    void enrolsHostileRoster();
    void learnerAddsAndReadsOwnOnly_data();
    void learnerAddsAndReadsOwnOnly();
    void teacherReadsOwnClassOnly();
    void initAgainAndNewerServer();
    void runsOutliveARestart();
};

void tst_ClassServer::initTestCase() {
    if (!PgServer::available())
        QSKIP("PostgreSQL 15 is not installed (/usr/lib/postgresql/15/bin)");
    QVERIFY2(pg.start(), qPrintable(pg.error()));
    PgConn root(pg.adminConninfo().toStdString());
    QVERIFY2(root.ok() && root.run("CREATE DATABASE school"), root.error().c_str());

    int code = -1;
    QVERIFY(command({"init"}, &code).contains("now at version"));
    QCOMPARE(code, 0);
    for (const char* name : {"3年2組", "3年3組"}) {
        teachers += readSlips(
            command({"add-class", QString::fromUtf8(name), "--host", "db.school.example"}, &code));
        QVERIFY2(code == 0, lastErr.constData());
    }
    QCOMPARE(teachers.size(), 2);
}

// Names are data: quotes, semicolons and SQL arrive as written, and so do the slips.
void tst_ClassServer::enrolsHostileRoster() {
    QTemporaryDir dir;
    const QString roster = dir.filePath("roster.csv");
    const QByteArray csv = "\xef\xbb\xbf番号,名前\r\n"
                           "1,\"Robert'); DROP TABLE velotapper.runs;--\"\r\n"
                           "2,\"O'Brien \"\"Bob\"\", Jr.\"\r\n"
                           "3,\"=1+2; $$ x $$\"\r\n";
    QFile f(roster);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(csv) == csv.size());
    f.close();
    int code = -1;
    classA = readSlips(
        command({"add-learners", "3年2組", roster, "--host", "db.school.example"}, &code));
    QVERIFY2(code == 0, lastErr.constData());
    QCOMPARE(classA.size(), 3);
    QCOMPARE(classA[1].name, QString("O'Brien \"Bob\", Jr."));
    QCOMPARE(classA[2].name, QString("'=1+2; $$ x $$")); // a spreadsheet shows it as text
    QVERIFY(classA[0].service.contains("[velotapper] host=db.school.example port="));
    QVERIFY(classA[0].service.endsWith(" user=" + classA[0].role + " sslmode=verify-full"));
    QVERIFY(classA[0].pgpass.endsWith(":school:" + classA[0].role + ":" + classA[0].password));

    // Enrolling the roster again adds nobody and keeps every password.
    QVERIFY(readSlips(command({"add-learners", "3年2組", roster}, &code)).isEmpty());
    QCOMPARE(code, 0);
    QVERIFY(lastErr.contains("number 3 is enrolled already"));

    QFile b(dir.filePath("b.csv"));
    QVERIFY(b.open(QIODevice::WriteOnly) && b.write("7,\"x\"\"; SELECT pg_sleep(30);--\"\n") > 0);
    b.close();
    classB = readSlips(command({"add-learners", "3年3組", b.fileName()}, &code));
    QCOMPARE(classB.size(), 1);

    auto db = admin();
    auto names = db->exec("SELECT name FROM velotapper.learners ORDER BY id");
    QVERIFY(names && PQntuples(names.get()) == 4);
    QCOMPARE(QString::fromStdString(value(names, 0, 0)),
             QString("Robert'); DROP TABLE velotapper.runs;--"));
    QCOMPARE(QString::fromStdString(value(names, 2, 0)), QString("=1+2; $$ x $$"));
    QCOMPARE(QString::fromStdString(value(names, 3, 0)), QString("x\"; SELECT pg_sleep(30);--"));
    // The server keeps SCRAM verifiers only, and no password reached its log.
    auto kinds = db->exec("SELECT count(*) FROM pg_authid WHERE rolcanlogin AND rolname LIKE 'vt%'"
                          " AND rolpassword LIKE 'SCRAM-SHA-256$%'");
    QCOMPARE(value(kinds, 0, 0), std::string("6"));
    QFile log(pg.logFile());
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray logged = log.readAll();
    QVERIFY(logged.contains("CREATE ROLE")); // the log does record statements
    for (const Login& l : classA + classB + teachers)
        QVERIFY(!logged.contains(l.password.toUtf8()));
}

void tst_ClassServer::learnerAddsAndReadsOwnOnly_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("othersRun"); // $1 is the other learner's run instead of a new one
    QTest::addColumn<QString>("state");  // expected SQLSTATE, empty = accepted
    QTest::newRow("own run") << QString(kRun) << false << "";
    QTest::newRow("sent twice") << QString(kRun) << false << "";
    QTest::newRow("naming another learner")
        << "INSERT INTO velotapper.runs(uuid, learner, started_at, ended_at, mode, seconds, keys, "
           "misses,"
           " speed, completed) VALUES (gen_random_uuid(), '" +
               (classA.size() > 1 ? classA[1].role : "") + "', now(), now(), 'x', 1, 1, 0, 1, true)"
        << false << "42501";
    QTest::newRow("update own") << "UPDATE velotapper.runs SET keys = 9999 WHERE uuid <> $1::uuid"
                                << false << "42501";
    QTest::newRow("delete own") << "DELETE FROM velotapper.runs WHERE uuid <> $1::uuid" << false
                                << "42501";
    QTest::newRow("truncate") << "TRUNCATE velotapper.runs" << false << "42501";
    QTest::newRow("rename self")
        << "UPDATE velotapper.learners SET name = 'x' WHERE $1::uuid IS NOT NULL" << false
        << "42501";
    QTest::newRow("test beside another's run")
        << "INSERT INTO velotapper.test_results(run_uuid, way, grade, passed) VALUES ($1::uuid, "
           "'romaji', 5, true)"
        << true << "42501";
    QTest::newRow("course step")
        << "INSERT INTO velotapper.course_steps(track, unlocked, at)"
           " SELECT 'letters', 4, now() WHERE $1::uuid IS NOT NULL ON CONFLICT DO NOTHING"
        << false << "";
}

// Learner 1 practises; learner 2 has a run of its own that learner 1 must not reach.
void tst_ClassServer::learnerAddsAndReadsOwnOnly() {
    QFETCH(QString, sql);
    QFETCH(bool, othersRun);
    QFETCH(QString, state);
    if (classA.size() < 2) QSKIP("no class");
    static const std::string mine = "7d0c2f1e-0000-4000-8000-000000000001";
    static const std::string theirs = "7d0c2f1e-0000-4000-8000-000000000002";
    auto other = as(classA[1]);
    QVERIFY(other->exec(kRun, {theirs, "50"}));
    auto me = as(classA[0]);
    QVERIFY2(me->ok(), me->error().c_str());
    std::vector<std::optional<std::string>> params;
    if (sql.contains("$1")) params.push_back(othersRun ? theirs : mine);
    if (sql.contains("$2")) params.push_back("120");
    const bool ok = me->exec(sql.toStdString(), params) != nullptr;
    QCOMPARE(QString::fromStdString(me->sqlState()), state);
    QCOMPARE(ok, state.isEmpty());

    // Whatever was tried, learner 1 reads its one run, unchanged, and nothing of learner 2.
    auto runs = me->exec("SELECT uuid, keys FROM velotapper.runs");
    QVERIFY(runs);
    QCOMPARE(PQntuples(runs.get()), 1);
    QCOMPARE(value(runs, 0, 0), mine);
    QCOMPARE(value(runs, 0, 1), std::string("120"));
    QCOMPARE(
        PQntuples(me->exec("SELECT * FROM velotapper.runs WHERE uuid = $1::uuid", {theirs}).get()),
        0);
    QCOMPARE(PQntuples(me->exec("SELECT * FROM velotapper.learners").get()), 1);
    QCOMPARE(PQntuples(me->exec("SELECT * FROM velotapper.class_progress").get()), 1);
}

void tst_ClassServer::teacherReadsOwnClassOnly() {
    if (classB.isEmpty()) QSKIP("no class");
    auto b = as(classB[0]);
    QVERIFY(b->exec(kRun, {"7d0c2f1e-0000-4000-8000-0000000000b1", "80"}));
    QVERIFY(b->exec("INSERT INTO velotapper.test_results(run_uuid, way, grade, passed)"
                    " VALUES ('7d0c2f1e-0000-4000-8000-0000000000b1', 'romaji', 2, true)"));

    auto t = as(teachers[0]);
    auto rows =
        t->exec("SELECT number, name, recent_runs, keys_per_minute, course::text, minutes_this_week"
                " FROM velotapper.class_progress ORDER BY number");
    QVERIFY2(rows, t->error().c_str());
    QCOMPARE(PQntuples(rows.get()), 3);
    QCOMPARE(QString::fromStdString(value(rows, 1, 1)), classA[1].name);
    QCOMPARE(value(rows, 0, 2), std::string("1"));
    QCOMPARE(value(rows, 0, 3), std::string("120"));
    QCOMPARE(value(rows, 0, 4), std::string("{\"letters\": 4}"));
    QCOMPARE(value(rows, 0, 5), std::string("1"));
    QCOMPARE(value(rows, 2, 2), std::string("0"));
    QCOMPARE(PQntuples(t->exec("SELECT * FROM velotapper.runs").get()), 2);
    QCOMPARE(PQntuples(t->exec("SELECT * FROM velotapper.test_results").get()), 0);
    QCOMPARE(PQntuples(t->exec("SELECT * FROM velotapper.classes").get()), 1);
    QVERIFY(!t->exec(kRun, {"7d0c2f1e-0000-4000-8000-0000000000c1", "1"}));
    QCOMPARE(t->sqlState(), std::string("42501"));

    auto t2 = as(teachers[1]);
    auto other = t2->exec("SELECT name, grades::text FROM velotapper.class_progress");
    QVERIFY(other && PQntuples(other.get()) == 1);
    QCOMPARE(value(other, 0, 1), std::string("{\"romaji\": 2}"));
    QCOMPARE(PQntuples(t2->exec("SELECT * FROM velotapper.runs").get()), 1);
}

// Init is safe to run again; a server a newer command set up is told apart, by the
// command and by what a client reads first.
void tst_ClassServer::initAgainAndNewerServer() {
    int code = -1;
    QVERIFY(command({"init"}, &code).contains("at version 1 already"));
    QCOMPARE(code, 0);
    auto db = admin();
    QVERIFY(db->exec("UPDATE velotapper.meta SET version = $1",
                     {std::to_string(classserver::kServerVersion + 1)}));
    command({"init"}, &code);
    QCOMPARE(code, 3);
    QVERIFY(lastErr.contains("newer"));
    command({"add-class", "4年1組"}, &code);
    QCOMPARE(code, 1);
    auto me = as(classA[0]);
    QCOMPARE(std::stoi(value(me->exec("SELECT version FROM velotapper.meta"), 0, 0)),
             classserver::kServerVersion + 1);
    QVERIFY(db->exec("UPDATE velotapper.meta SET version = $1",
                     {std::to_string(classserver::kServerVersion)}));
    QCOMPARE(PQntuples(db->exec("SELECT * FROM velotapper.classes").get()), 2);
}

void tst_ClassServer::runsOutliveARestart() {
    QVERIFY(pg.stop());
    QVERIFY(!as(classA[0])->ok());
    QVERIFY2(pg.start(), qPrintable(pg.error()));
    auto me = as(classA[0]);
    QVERIFY(me->exec(kRun,
                     {"7d0c2f1e-0000-4000-8000-000000000001", "120"})); // resent after the restart
    QCOMPARE(value(me->exec("SELECT count(*) FROM velotapper.runs"), 0, 0), std::string("1"));
}

QTEST_GUILESS_MAIN(tst_ClassServer)
#include "tst_classserver.moc"
