// The teacher's class page against a class of 40 learners with 10,000 runs each (and
// their course steps and grade tests) on a real PostgreSQL of the benchmark's own: the
// time from asking for the page to its table filled, connecting and logging in (SCRAM)
// included, as the teacher opens it. Prints the median and the slowest of 20 loads.
//   bench_classpage [--learners N] [--runs R]      (default 40 learners, 10,000 runs)
#include "ClassAdmin.h"
#include "ClassPanel.h"
#include "ClassSender.h"
#include "HistoryStore.h"
#include "PgServer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>

using namespace classserver;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int learners = 40, runs = 10000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--learners")) learners = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--runs")) runs = std::atoi(argv[i + 1]);
    }
    if (!PgServer::available()) {
        std::fprintf(stderr, "bench_classpage: PostgreSQL 15 is not installed; nothing measured\n");
        return 0;
    }
    PgServer pg;
    if (!pg.start()) return std::fprintf(stderr, "%s\n", qPrintable(pg.error())), 1;
    {
        PgConn root(pg.adminConninfo().toStdString());
        if (!root.run("CREATE DATABASE school"))
            return std::fprintf(stderr, "%s\n", root.error().c_str()), 1;
    }
    PgConn admin(pg.adminConninfo("school").toStdString());
    std::string error;
    if (!init(admin).ok) return std::fprintf(stderr, "init: %s\n", admin.error().c_str()), 1;
    const auto teacher = addClass(admin, "3年2組", &error);
    std::vector<RosterEntry> roster;
    for (int n = 1; n <= learners; ++n)
        roster.push_back({std::to_string(n), "学習者 " + std::to_string(n), n});
    std::vector<std::string> skipped;
    if (!teacher || !addLearners(admin, "3年2組", roster, &skipped, &error))
        return std::fprintf(stderr, "%s\n", error.c_str()), 1;
    // The runs, as the learners' programs would have sent them over a school year.
    const std::string fill =
        "INSERT INTO velotapper.runs(uuid, learner, started_at, ended_at, mode, source, seconds,"
        " keys, misses, speed, completed, rhythm, per_key, confusions)"
        " SELECT gen_random_uuid(), l.role, now() - (g * interval '20 minutes') - interval '1 min',"
        " now() - (g * interval '20 minutes'), 'lesson', 'Lesson1.txt', 60, 200 + g % 50,"
        " g % 9, 3 + (g % 7) * 0.1, true, 80,"
        " '[{\"vk\":65,\"expected\":12,\"missed\":1,\"ms_total\":3400,\"timed\":11}]', '[]'"
        " FROM velotapper.learners l, generate_series(1, " +
        std::to_string(runs) +
        ") g;"
        "INSERT INTO velotapper.course_steps(learner, track, unlocked, at)"
        " SELECT role, 'letters', k, now() FROM velotapper.learners, generate_series(4, 20) k;"
        "INSERT INTO velotapper.test_results(run_uuid, learner, way, grade, passed)"
        " SELECT uuid, learner, 'romaji', (extract(epoch FROM ended_at)::bigint / 1200) % 12, true"
        " FROM velotapper.runs WHERE (extract(epoch FROM ended_at)::bigint / 1200) % 97 = 0;"
        "ANALYZE;";
    if (!admin.run(fill)) return std::fprintf(stderr, "fill: %s\n", admin.error().c_str()), 1;

    // The teacher's machine: a service entry and the password beside it.
    QTemporaryDir dir;
    QFile service(dir.filePath("pg_service.conf")), pass(dir.filePath("pgpass"));
    const QByteArray port = QByteArray::number(pg.port());
    if (!service.open(QIODevice::WriteOnly) || !pass.open(QIODevice::WriteOnly)) return 1;
    service.write("[teacher]\nhost=127.0.0.1\nport=" + port + "\ndbname=school\nuser=" +
                  QByteArray::fromStdString(teacher->role) + "\nsslmode=disable\n");
    pass.write("127.0.0.1:" + port + ":school:" + QByteArray::fromStdString(teacher->role) + ":" +
               QByteArray::fromStdString(teacher->password) + "\n");
    service.close();
    pass.close();
    pass.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    qputenv("PGSERVICEFILE", service.fileName().toUtf8());
    qputenv("PGPASSFILE", pass.fileName().toUtf8());
    QDir::setCurrent(dir.path());

    HistoryStore store;
    ClassSender sender(store, [](const QString&) { return QString(); });
    sender.setModuleFolders({QStringLiteral(VT_LINK_DIR)});
    ClassPanel panel;
    panel.setService(QStringLiteral("teacher"));
    panel.load(); // the module loaded, the server's caches warm
    std::vector<qint64> times;
    for (int i = 0; i < 20; ++i) {
        panel.load();
        times.push_back(panel.lastLoadMs);
    }
    if (panel.table->rowCount() != learners)
        return std::fprintf(stderr, "read %d learners\n", panel.table->rowCount()), 1;
    std::sort(times.begin(), times.end());
    std::printf("learners: %d\nruns_per_learner: %d\n", learners, runs);
    std::printf("class_page_load_median: %lld ms\nclass_page_load_max: %lld ms\n",
                times[times.size() / 2], times.back());
    return 0;
}
