// A class of three on a real PostgreSQL: enrolled by velotapper-class, two learners
// practising on their own histories, the server gone and back, the teacher's page.
#include "ClassPanel.h"
#include "ClassSection.h"
#include "ClassSender.h"
#include "HistoryStore.h"
#include "MoreSettingsDlg.h"
#include "PgServer.h"
#include "ProgressChart.h"
#include "ProgressPage.h"
#include "TestEnv.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>
#include <libpq-fe.h>

namespace {

const QString kHostile = QStringLiteral("O'Brien; DROP TABLE velotapper.runs;--");

// One learner's machine: a history of its own and the sender beside it.
struct Learner {
    QTemporaryDir folder;
    HistoryStore store;
    ClassSender sender{store, [this](const QString& key) { return store.setting(key); }};
    QString role;
    Learner() {
        sender.setModuleFolders({QStringLiteral(VT_LINK_DIR)});
        sender.setFirstRetryMs(20);
    }
    void here() { QDir::setCurrent(folder.path()); }
    // Sends what waits and waits for the outcome.
    ClassProblem send() {
        here();
        QSignalSpy settled(&sender, &ClassSender::settled);
        // A retry under way (from another learner's folder here) ends first.
        if (sender.sending() && !settled.wait(30000)) return ClassProblem::Other;
        settled.clear();
        sender.kick();
        if (settled.isEmpty() && !settled.wait(30000)) return ClassProblem::Other;
        return sender.problem();
    }
    // The next retry's outcome.
    ClassProblem retried() {
        here();
        QSignalSpy settled(&sender, &ClassSender::settled);
        if (!settled.wait(30000)) return ClassProblem::Other;
        return sender.problem();
    }
    void practise(int runs) {
        here();
        for (int i = 0; i < runs; ++i) {
            RunSummary r;
            r.mode = QStringLiteral("lesson");
            r.source = QStringLiteral("Lesson1.txt");
            r.endedAt = QDateTime::currentDateTimeUtc();
            r.startedAt = r.endedAt.addSecs(-60);
            r.seconds = 60;
            r.keys = 100 + i;
            r.misses = 4;
            r.speed = 1.5 + i;
            r.completed = true;
            r.perKey['A'] = {20, 1, 4000, 19};
            r.confusions[{'A', 'S'}] = 1;
            sender.beforeRun();
            QVERIFY(store.append(r));
        }
    }
};

} // namespace

class TstClassSend : public QObject {
    Q_OBJECT
    PgServer pg;
    TestEnv env;
    QTemporaryDir conf;
    Learner l1, l2, l3;
    QString teacherRole;

    QString one(const QString& sql) {
        PGconn* c = PQconnectdb(pg.adminConninfo(QStringLiteral("school")).toUtf8());
        PGresult* r = PQexec(c, sql.toUtf8());
        const QString v = PQntuples(r) ? QString::fromUtf8(PQgetvalue(r, 0, 0)) : QString();
        PQclear(r);
        PQfinish(c);
        return v;
    }
    QByteArray command(const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(VT_CLASS_COMMAND), args + QStringList{pg.adminConninfo("school")});
        p.waitForFinished(60000);
        return p.readAllStandardOutput();
    }
    // The UUIDs of the runs of a learner's local history and of the server, in order.
    QString localUuids(Learner& l) {
        l.store.close();
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "uuids");
        db.setDatabaseName(l.folder.filePath(QStringLiteral("Velotap.db")));
        QStringList out;
        if (db.open()) {
            QSqlQuery q(QStringLiteral("SELECT uuid FROM run_uuids ORDER BY uuid"), db);
            while (q.next()) out << q.value(0).toString();
        }
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("uuids");
        return out.join(' ');
    }
    QString serverUuids(const Learner& l) {
        return one(QStringLiteral("SELECT string_agg(uuid::text, ' ' ORDER BY uuid::text) FROM"
                                  " velotapper.runs WHERE learner = '%1'")
                       .arg(l.role));
    }

private slots:
    void initTestCase();
    void practiceThroughARestart();
    void teacherReadsTheClass();
    void badInputLeavesPracticeGoing_data();
    void badInputLeavesPracticeGoing();
};

void TstClassSend::initTestCase() {
    if (!PgServer::available()) QSKIP("PostgreSQL 15 is not installed");
    QVERIFY2(pg.start(), qPrintable(pg.error()));
    PGconn* root = PQconnectdb(pg.adminConninfo().toUtf8());
    PQclear(PQexec(root, "CREATE DATABASE school"));
    PQfinish(root);
    command({"init"});
    const QList<QByteArray> teacher = command({"add-class", "3年2組"}).split('\n');
    QFile roster(conf.filePath("roster.csv"));
    QVERIFY(roster.open(QIODevice::WriteOnly));
    roster.write("番号,名前\n1,Aiko\n2,\"" + kHostile.toUtf8() + "\"\n3,\"陳 \"\"Chen\"\"\"\n");
    roster.close();
    QList<QByteArray> slips = command({"add-learners", "3年2組", roster.fileName()}).split('\n');
    QCOMPARE(slips.size(), 5); // a header, three learners, the last line end
    // Each machine's service entry and password, as an administrator writes them.
    QByteArray services, pgpass;
    const auto add = [&](const QString& service, const QByteArray& role, const QByteArray& pw) {
        services += "[" + service.toUtf8() +
                    "]\nhost=127.0.0.1\nport=" + QByteArray::number(pg.port()) +
                    "\ndbname=school\nuser=" + role + "\nsslmode=disable\n";
        pgpass +=
            "127.0.0.1:" + QByteArray::number(pg.port()) + ":school:" + role + ":" + pw + "\n";
    };
    // number,name,role,password,service,pgpass: the role and password are the third and
    // fourth fields from the end but two (names may hold commas).
    const auto roleAndPassword = [](const QByteArray& slip) {
        const QList<QByteArray> f = slip.split(',');
        return std::pair{f[f.size() - 4], f[f.size() - 3]};
    };
    Learner* learners[] = {&l1, &l2, &l3};
    for (int i = 0; i < 3; ++i) {
        const auto [role, pw] = roleAndPassword(slips[i + 1]);
        learners[i]->role = QString::fromUtf8(role);
        add(QStringLiteral("l%1").arg(i + 1), role, pw);
    }
    const auto [trole, tpw] = roleAndPassword(teacher.value(1));
    teacherRole = QString::fromUtf8(trole);
    add(QStringLiteral("teacher"), trole, tpw);
    const auto [r3, p3] = roleAndPassword(slips[3]);
    services += "[wrong]\nhost=127.0.0.1\nport=" + QByteArray::number(pg.port()) +
                "\ndbname=school\nuser=" + r3 + "\npassword=" + p3 + "x\nsslmode=disable\n";
    QFile s(conf.filePath("pg_service.conf")), p(conf.filePath("pgpass"));
    QVERIFY(s.open(QIODevice::WriteOnly) && s.write(services) > 0);
    QVERIFY(p.open(QIODevice::WriteOnly) && p.write(pgpass) > 0);
    p.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    s.close();
    p.close();
    qputenv("PGSERVICEFILE", s.fileName().toUtf8());
    qputenv("PGPASSFILE", p.fileName().toUtf8());
    for (int i = 0; i < 3; ++i) {
        learners[i]->here();
        learners[i]->store.setSetting("class.service", QStringLiteral("l%1").arg(i + 1));
    }
}

// The runs go as they are made; with the server stopped in the middle of a send they
// wait in the history, and arrive once it is back: each exactly once, under its UUID.
void TstClassSend::practiceThroughARestart() {
    l1.practise(3);
    QCOMPARE(l1.send(), ClassProblem::None);
    l2.practise(2);
    QCOMPARE(l2.send(), ClassProblem::None);
    l1.here();
    QCOMPARE(l1.store.queuedCount(), 0);
    QCOMPARE(l1.sender.statusLine(), QStringLiteral("成績はすべてクラスのサーバーに送りました。"));

    l1.practise(2);
    l1.sender.kick(); // under way as the server goes
    QVERIFY(l1.sender.sending());
    QVERIFY(pg.stop());
    const ClassProblem lost = l1.retried();
    QVERIFY(lost == ClassProblem::NoServer || lost == ClassProblem::Dropped);
    l2.practise(1);
    QCOMPARE(l2.send(), ClassProblem::NoServer);
    QCOMPARE(l2.sender.statusLine(),
             QStringLiteral("クラスのサーバーにつながりません。1 件は後で送ります。"));
    QCOMPARE(l2.store.runCount(), 3); // the local history has them all
    l1.here();
    QCOMPARE(l1.store.queuedCount(), 2);
    const std::vector<OutboxItem> resent = l1.store.queued(10);

    QVERIFY2(pg.start(), qPrintable(pg.error()));
    // The retries, each learner's own, less often the longer they fail.
    QVERIFY(l1.sender.retryMs() > 0);
    QCOMPARE(l1.retried(), ClassProblem::None); // the retry, less often the longer it fails
    l1.here();
    QCOMPARE(l1.store.queuedCount(), 0);
    QCOMPARE(l2.send(), ClassProblem::None);
    QCOMPARE(l2.store.queuedCount(), 0);
    // An answer lost on the way: sent again, kept once.
    QSignalSpy again(&l1.sender, &ClassSender::settled);
    bool done = false;
    l1.sender.link()->send(QStringLiteral("l1"), resent, [&](const ClassSendResult& r) {
        done = r.problem == ClassProblem::None && r.sent.size() == 2;
    });
    QTRY_VERIFY(done);
    QCOMPARE(serverUuids(l1), localUuids(l1));
    QCOMPARE(serverUuids(l2), localUuids(l2));
    QCOMPARE(one("SELECT count(*) FROM velotapper.runs"), QStringLiteral("8"));
    QCOMPARE(one("SELECT sum(keys) FROM velotapper.runs"),
             QStringLiteral("%1").arg(100 + 101 + 102 + 100 + 101 + 100 + 101 + 100));
}

// The teacher's page reads the whole class, each name as the roster wrote it.
void TstClassSend::teacherReadsTheClass() {
    l3.here();
    l3.store.setSetting("class.teacher", QStringLiteral("teacher"));
    ProgressPage page;
    page.setHistory(&l3.store);
    page.show();
    QVERIFY(page.classBtn->isVisible());
    page.classBtn->click();
    QVERIFY(page.classPanel->isVisible());
    QTableWidget* t = page.classPanel->table;
    QCOMPARE(t->rowCount(), 3);
    QCOMPARE(t->item(1, 1)->text(), kHostile);
    QCOMPARE(t->item(2, 1)->text(), QStringLiteral("陳 \"Chen\""));
    QCOMPARE(t->item(0, 4)->text(), QStringLiteral("2.3")); // (1.5 + 2.5 + 3.5 + 1.5 + 2.5) / 5
    QVERIFY(t->item(2, 2)->text().isEmpty());               // never practised
    // Sorted by speed, fastest first: the learner with none goes last.
    t->horizontalHeader()->setSortIndicator(4, Qt::DescendingOrder);
    QCOMPARE(t->item(0, 0)->text(), QStringLiteral("1"));
    QCOMPARE(t->item(2, 0)->text(), QStringLiteral("3"));
    t->selectRow(1);
    QCOMPARE(page.classPanel->chart->pointCount(), 3);
    QCOMPARE(page.classPanel->status->text(), kHostile);
    env.platform.saveFiles.push_back(env.path("class"));
    page.classPanel->exportBtn->click();
    const QByteArray csv = env.readFile("class.csv");
    QVERIFY(csv.startsWith("\xEF\xBB\xBF"));
    QVERIFY(csv.contains("\r\n2,\"" + kHostile.toUtf8() + "\","));
    QVERIFY(csv.contains("\r\n3,\"陳 \"\"Chen\"\"\","));
    qInfo("The class page of three loaded in %lld ms", page.classPanel->lastLoadMs);

    // Without a teacher's service there is no such view.
    l3.store.setSetting("class.teacher", QString());
    page.refresh();
    QVERIFY(page.classBtn->isHidden());
}

void TstClassSend::badInputLeavesPracticeGoing_data() {
    QTest::addColumn<QString>("service");
    QTest::addColumn<int>("problem");
    QTest::addColumn<QString>("line");
    QTest::newRow("wrong password")
        << "wrong" << int(ClassProblem::Password) << "パスワードが違うか、期限が切れています。";
    QTest::newRow("no such service") << "nosuch" << int(ClassProblem::NoService)
                                     << "接続サービスが pg_service.conf にありません。";
    QTest::newRow("newer server") << "l3" << int(ClassProblem::Newer)
                                  << "サーバーは新しい版のもので、このプログラムからは送れません。";
}

// What is wrong is said in one line of the settings, the same line however often the
// sending fails; the runs stay in the history and wait.
void TstClassSend::badInputLeavesPracticeGoing() {
    QFETCH(QString, service);
    QFETCH(int, problem);
    QFETCH(QString, line);
    Learner l;
    l.here();
    l.store.setSetting("class.service", service);
    if (problem == int(ClassProblem::Newer))
        one("UPDATE velotapper.meta SET version = version + 1 RETURNING version");
    l.practise(2);
    QCOMPARE(int(l.send()), problem);
    l.practise(1);
    QCOMPARE(int(l.retried()), problem);
    if (problem == int(ClassProblem::Newer))
        one("UPDATE velotapper.meta SET version = version - 1 RETURNING version");
    QCOMPARE(l.store.runCount(), 3);
    QCOMPARE(l.store.queuedCount(), 3);
    MoreSettingsDlg dlg;
    dlg.setHistory(&l.store);
    auto* section = static_cast<ClassSection*>(dlg.section(QStringLiteral("ClassSection")));
    QCOMPARE(section->service->text(), service);
    QCOMPARE(section->status->toolTip(), line + QStringLiteral("3 件は後で送ります。"));
    QCOMPARE(env.platform.messages, QStringList());
}

QTEST_MAIN(TstClassSend)
#include "tst_classsend.moc"
